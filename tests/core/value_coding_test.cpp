#include "database/value_reader.h"
#include "database/value_writer.h"
#include "support/error.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace lexora;

namespace {

QByteArray written(const std::function<void(ValueWriter &)> &write)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ValueWriter writer(buffer);
    write(writer);
    writer.flush();
    return buffer.data();
}

// Runs read over bytes and checks that it consumed all of them.
template <class Read>
auto readAll(const QByteArray &bytes, Read read)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    ValueReader reader(buffer, QStringLiteral("test.lxd"));
    auto value = read(reader);
    EXPECT_EQ(reader.remaining(), 0);
    return value;
}

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

} // namespace

TEST(ValueCoding, IntegersTakeTheSmallestTag)
{
    struct Case { qint32 value; QByteArray bytes; };
    const Case cases[] = {
        {0, bytesOf({0x02, 0x00})},
        {-1, bytesOf({0x02, 0xFF})},
        {127, bytesOf({0x02, 0x7F})},
        {-128, bytesOf({0x02, 0x80})},
        {128, bytesOf({0x03, 0x80, 0x00})},
        {-129, bytesOf({0x03, 0x7F, 0xFF})},
        {32767, bytesOf({0x03, 0xFF, 0x7F})},
        {-32768, bytesOf({0x03, 0x00, 0x80})},
        {32768, bytesOf({0x04, 0x00, 0x80, 0x00, 0x00})},
        {-32769, bytesOf({0x04, 0xFF, 0x7F, 0xFF, 0xFF})},
        {std::numeric_limits<qint32>::min(), bytesOf({0x04, 0x00, 0x00, 0x00, 0x80})},
        {std::numeric_limits<qint32>::max(), bytesOf({0x04, 0xFF, 0xFF, 0xFF, 0x7F})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        const QByteArray bytes = written([&](ValueWriter &w) { w.writeInteger(c.value); });
        EXPECT_EQ(bytes.toHex(' '), c.bytes.toHex(' '));
        EXPECT_EQ(readAll(bytes, [](ValueReader &r) { return r.readInteger(); }), c.value);
    }
}

TEST(ValueCoding, StringsTakeTheirFormByLengthAndContent)
{
    struct Case { const char *what; QByteArray text; QByteArray head; qsizetype bodySize; };
    const Case cases[] = {
        {"empty", "", bytesOf({0x06, 0x00}), 0},
        {"255 ASCII", QByteArray(255, 'x'), bytesOf({0x06, 0xFF}), 255},
        {"256 ASCII", QByteArray(256, 'x'), bytesOf({0x0C, 0x00, 0x01, 0x00, 0x00}), 256},
        {"one umlaut", "\xE4", bytesOf({0x14, 0x02, 0x00, 0x00, 0x00}), 2},
        {"short with umlaut", "Gr\xFC\xDF" "e", bytesOf({0x14, 0x07, 0x00, 0x00, 0x00}), 7},
        {"unassigned 0x81", "\x81", bytesOf({0x14, 0x02, 0x00, 0x00, 0x00}), 2},
        {"euro", "\x80", bytesOf({0x14, 0x03, 0x00, 0x00, 0x00}), 3},
        {"NUL kept", QByteArray("a\0b", 3), bytesOf({0x06, 0x03}), 3},
        {"300 with umlaut", QByteArray(299, 'y') + "\xF6", bytesOf({0x14, 0x2D, 0x01, 0x00, 0x00}), 301},
        {"30000 with umlaut", QByteArray(29999, 'z') + "\xE4", bytesOf({0x14, 0x31, 0x75, 0x00, 0x00}), 30001},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray bytes = written([&](ValueWriter &w) { w.writeString(c.text); });
        EXPECT_EQ(bytes.left(c.head.size()).toHex(' '), c.head.toHex(' '));
        EXPECT_EQ(bytes.size(), c.head.size() + c.bodySize);
        EXPECT_EQ(readAll(bytes, [](ValueReader &r) { return r.readString(); }), c.text);
    }
}

TEST(ValueCoding, EveryByteValueRoundTripsAsAString)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QByteArray bytes = written([&](ValueWriter &w) { w.writeString(all); });
    EXPECT_EQ(quint8(bytes[0]), vaUTF8String);
    EXPECT_EQ(readAll(bytes, [](ValueReader &r) { return r.readString(); }), all);

    // Many of them, so that some meet the end of the writer's buffer.
    const QByteArray many = written([&](ValueWriter &w) {
        for (int i = 0; i < 300; ++i)
            w.writeString(all.mid(i % 7));
    });
    readAll(many, [&](ValueReader &r) {
        for (int i = 0; i < 300; ++i)
            EXPECT_EQ(r.readString(), all.mid(i % 7)) << i;
        return 0;
    });
}

TEST(ValueCoding, Utf8StringsAroundTheReadBufferSize)
{
    // A UTF-8 form that fits the reader's 64 KB buffer is decoded where it lies, a longer one
    // from a copy; either may start anywhere in the buffer.
    for (const qsizetype utf8Size : {65535, 65536, 65537, 200'000}) {
        for (const int before : {0, 1, 40'000}) {
            SCOPED_TRACE(QStringLiteral("%1 bytes after %2").arg(utf8Size).arg(before).toStdString());
            QByteArray text(utf8Size - 2, Qt::Uninitialized);
            for (qsizetype i = 0; i < text.size(); ++i)
                text[i] = char(0x20 + i % 90);
            text.insert(text.size() / 2, '\xE4');
            const QByteArray bytes = written([&](ValueWriter &w) {
                w.writeString(QByteArray(before, 'p'));
                w.writeString(text);
                w.writeInteger(5);
            });
            readAll(bytes, [&](ValueReader &r) {
                EXPECT_EQ(r.readString().size(), before);
                EXPECT_EQ(r.readString(), text);
                EXPECT_EQ(r.readInteger(), 5);
                return 0;
            });
        }
    }
}

TEST(ValueCoding, WideStringsAreReadAsWindows1252)
{
    // "Ä€x" and the unassigned U+0081 as UTF-16LE units.
    const QByteArray bytes = bytesOf({0x12, 0x04, 0x00, 0x00, 0x00, 0xC4, 0x00, 0xAC, 0x20, 0x78,
                                      0x00, 0x81, 0x00});
    EXPECT_EQ(readAll(bytes, [](ValueReader &r) { return r.readString(); }), QByteArray("\xC4\x80x\x81"));
}

TEST(ValueCoding, DatesBooleansAndLists)
{
    const QByteArray bytes = written([](ValueWriter &w) {
        w.writeDate(45000.25);
        w.writeBoolean(true);
        w.writeBoolean(false);
        w.writeListBegin();
        w.writeListEnd();
    });
    EXPECT_EQ(bytes.toHex(' '), "11 00 00 00 00 08 f9 e5 40 09 08 01 00");
    readAll(bytes, [](ValueReader &r) {
        EXPECT_EQ(r.readDate(), 45000.25);
        EXPECT_TRUE(r.readBoolean());
        EXPECT_FALSE(r.readBoolean());
        r.readListBegin();
        EXPECT_TRUE(r.endOfList());
        return 0;
    });
}

TEST(ValueCoding, IntegerDatesAndOtherBooleanTags)
{
    const QByteArray bytes = bytesOf({0x03, 0x30, 0x75, 0x02, 0x05, 0x04, 0xC8, 0xAF, 0x00, 0x00,
                                      0x01, 0x00});
    readAll(bytes, [](ValueReader &r) {
        EXPECT_EQ(r.readDate(), 30000.0);
        EXPECT_EQ(r.readDate(), 5.0);
        EXPECT_EQ(r.readDate(), 45000.0);
        EXPECT_FALSE(r.readBoolean()); // vaList: every tag but vaTrue is false
        EXPECT_FALSE(r.readBoolean());
        return 0;
    });
}

TEST(ValueCoding, SkipValueReadsPastEveryKindAndWholeLists)
{
    const QByteArray bytes = written([](ValueWriter &w) {
        w.writeInteger(5);
        w.writeInteger(500);
        w.writeInteger(500000);
        w.writeString("kurz");
        w.writeString(QByteArray(400, 'l'));
        w.writeString("\xE4");
        w.writeDate(1.5);
        w.writeBoolean(true);
        w.writeListBegin();
        w.writeListBegin();
        w.writeString("innen");
        w.writeListEnd();
        w.writeListEnd();
        w.writeInteger(42);
    }) + bytesOf({0x12, 0x01, 0x00, 0x00, 0x00, 0x41, 0x00});
    readAll(bytes, [](ValueReader &r) {
        for (int i = 0; i < 9; ++i)
            r.skipValue();
        EXPECT_EQ(r.readInteger(), 42);
        r.skipValue();
        return 0;
    });
}

TEST(ValueCoding, DamagedValuesThrowAClearError)
{
    struct Case { const char *what; QByteArray bytes; std::function<void(ValueReader &)> read; };
    const auto readString = [](ValueReader &r) { r.readString(); };
    const Case cases[] = {
        {"end of file", bytesOf({}), readString},
        {"short string body", bytesOf({0x06, 0x05, 'a', 'b'}), readString},
        {"huge length", bytesOf({0x0C, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}), readString},
        {"negative length", bytesOf({0x14, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}), readString},
        {"huge wide count", bytesOf({0x12, 0x00, 0x00, 0x00, 0x40, 'a', 0}), readString},
        {"unknown tag", bytesOf({0x07, 0x00}), readString},
        {"integer expected", bytesOf({0x06, 0x00}), [](ValueReader &r) { r.readInteger(); }},
        {"list expected", bytesOf({0x02, 0x00}), [](ValueReader &r) { r.readListBegin(); }},
        {"date expected", bytesOf({0x06, 0x00}), [](ValueReader &r) { r.readDate(); }},
        {"date not a number",
         bytesOf({0x11, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x7F}), [](ValueReader &r) { r.readDate(); }},
        {"date out of range",
         bytesOf({0x11, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x7F}), [](ValueReader &r) { r.readDate(); }},
        {"skip past the end", bytesOf({0x01, 0x01, 0x06, 0x01, 'a', 0x00}), [](ValueReader &r) { r.skipValue(); }},
        {"skip a list end", bytesOf({0x00}), [](ValueReader &r) { r.skipValue(); }},
        {"raw past the end", bytesOf({1, 2, 3}), [](ValueReader &r) { char b[4]; r.readRaw(b, 4); }},
        {"skip raw past the end", bytesOf({1, 2, 3}), [](ValueReader &r) { r.skipRaw(4); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QBuffer buffer;
        buffer.setData(c.bytes);
        buffer.open(QIODevice::ReadOnly);
        ValueReader reader(buffer, QStringLiteral("kaputt.lxd"));
        try {
            c.read(reader);
            ADD_FAILURE() << "no error";
        } catch (const Error &e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Die Datei \"kaputt.lxd\" ist beschädigt:")))
                << e.what();
        }
    }
}

TEST(ValueCoding, DeeplyNestedListsAreSkippedWithoutRecursion)
{
    const int depth = 1'000'000;
    const QByteArray bytes = QByteArray(depth, char(vaList)) + QByteArray(depth, char(vaNull));
    readAll(bytes, [](ValueReader &r) { r.skipValue(); return 0; });
}

TEST(ValueCoding, LargeRawBlocksPassThroughTheBuffers)
{
    QByteArray block(300'000, Qt::Uninitialized);
    for (int i = 0; i < block.size(); ++i)
        block[i] = char(i % 251);
    const QByteArray bytes = written([&](ValueWriter &w) {
        w.writeInteger(7);
        w.writeRaw(block.constData(), block.size());
        w.writeInteger(8);
    });
    EXPECT_EQ(bytes.size(), 2 + block.size() + 2);
    readAll(bytes, [&](ValueReader &r) {
        EXPECT_EQ(r.readInteger(), 7);
        QByteArray back(block.size(), Qt::Uninitialized);
        r.readRaw(back.data(), back.size());
        EXPECT_EQ(back, block);
        EXPECT_EQ(r.readInteger(), 8);
        return 0;
    });
}
