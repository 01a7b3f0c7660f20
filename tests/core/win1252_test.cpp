#include "database/win1252.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace lexora;

TEST(Win1252, EveryByteRoundTripsThroughUnicodeAndUtf8)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(win1252::fromUnicode(win1252::toUnicode(all)), all);
    EXPECT_EQ(win1252::fromUtf8(win1252::toUtf8(all)), all);
}

TEST(Win1252, MapsTheSpecialBytes)
{
    struct Case { unsigned char byte; char16_t codePoint; };
    const Case cases[] = {
        {0x00, 0x0000}, {0x41, 0x0041}, {0x80, 0x20AC}, {0x81, 0x0081}, {0x8D, 0x008D},
        {0x8F, 0x008F}, {0x90, 0x0090}, {0x96, 0x2013}, {0x9D, 0x009D}, {0x9F, 0x0178},
        {0xA0, 0x00A0}, {0xC4, 0x00C4}, {0xDF, 0x00DF}, {0xFF, 0x00FF},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.byte));
        EXPECT_EQ(win1252::toCodePoint(c.byte), c.codePoint);
        EXPECT_EQ(static_cast<unsigned char>(win1252::fromCodePoint(c.codePoint)), c.byte);
    }
}

TEST(Win1252, Utf8FormOfUmlautsAndControls)
{
    EXPECT_EQ(win1252::toUtf8(QByteArray("\xC4\x81\x80", 3)), QByteArray("\xC3\x84\xC2\x81\xE2\x82\xAC"));
    EXPECT_EQ(win1252::toUtf8(QByteArray("a\0b", 3)), QByteArray("a\0b", 3));
}

TEST(Win1252, UnmappableCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(win1252::fromUnicode(u"a\u4E2Db\U0001F600c"), QByteArray("a?b?c"));
    EXPECT_EQ(win1252::fromUtf8(QByteArray("x\xFFy")), QByteArray("x?y"));
}

TEST(Win1252, FirstUnencodableFindsWhatWouldBecomeAQuestionMark)
{
    const struct {
        const char16_t *text;
        qsizetype at;
    } cases[] = {
        {u"", -1},
        {u"Grüße ?€\u0081", -1}, // the question mark itself and an unassigned byte are kept
        {u"\u03a9", 0},
        {u"ab\u0142c\u03a9", 2},
        {u"Noten \U0001D11E", 6}, // the first half of a character beyond U+FFFF
    };
    for (const auto &c : cases)
        EXPECT_EQ(win1252::firstUnencodable(QStringView(c.text)), c.at) << QString::fromUtf16(c.text).toStdString();
}

TEST(Win1252, Utf16Form)
{
    const char16_t units[] = {u'H', 0x00E4, 0x20AC, 0x0081};
    EXPECT_EQ(win1252::fromUtf16(units, 4), QByteArray("H\xE4\x80\x81"));
}

TEST(Win1252, IsAscii)
{
    EXPECT_TRUE(win1252::isAscii(""));
    EXPECT_TRUE(win1252::isAscii("abc\x7F"));
    EXPECT_FALSE(win1252::isAscii("ab\x80"));
}

TEST(Win1252, FastUtf8DecodingAgreesWithQt)
{
    const QByteArray cases[] = {
        "\xF0\x9F\x98\x80",           // beyond the code page
        "\xE2\x82\xAC\xC5\x92\xC2\x81", // euro, OE, an unassigned control
        "\xEF\xBF\xBE",               // a non-character
        "\xC0\x80",                   // overlong
        "\xE0\x80\xAF",               // overlong
        "\xED\xA0\x80",               // a lone surrogate
        "\xF4\x90\x80\x80",           // above U+10FFFF
        "abc\xE2\x82",                // cut short
        "0123456789abcdef\xC3\xA4" "0123456789", // word-sized ASCII runs around an umlaut
    };
    for (const QByteArray &utf8 : cases) {
        SCOPED_TRACE(utf8.toHex().toStdString());
        EXPECT_EQ(win1252::fromUtf8(utf8), win1252::fromUnicode(QString::fromUtf8(utf8)));
    }
}

namespace {

QByteArray referenceDecode(const QByteArray &utf8)
{
    return win1252::fromUnicode(QString::fromUtf8(utf8));
}

} // namespace

// The 64-byte blocks must agree with Qt for every character form at every place in a block,
// the look-ahead past a block's end and the hand-over to the byte-wise loop included.
TEST(Win1252, BlockDecodingAgreesWithQtAtEveryPosition)
{
    QByteArray forms;
    std::vector<QByteArray> sequences;
    for (int byte = 0; byte < 256; ++byte)
        sequences.push_back(win1252::toUtf8(QByteArray(1, char(byte))));
    for (const char *other : {"\xC4\x80", "\xDF\xBF", "\xE1\x80\x80", "\xE2\x80\x80", "\xE2\x82\xAD",
                              "\xEF\xBF\xBF", "\xEE\x80\x80", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF",
                              "\xE0\xA0\x80", "\xED\x9F\xBF", "\xC2\x80", "\xC2\x9F",
                              // malformed: overlong, surrogate, beyond U+10FFFF, stray, cut short
                              "\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80",
                              "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",
                              "\xFF", "\x80", "\xBF\xBF", "\xC3", "\xE2\x82", "\xC3\xA4\xA4"})
        sequences.push_back(other);
    // Every continuation after the lead bytes whose characters the code page has.
    for (int continuation = 0x80; continuation < 0xC0; ++continuation) {
        for (const char *lead : {"\xC2", "\xC5", "\xC6", "\xCB", "\xE2\x80", "\xE2\x82", "\xE2\x84"})
            sequences.push_back(QByteArray(lead) + char(continuation));
    }
    for (const QByteArray &sequence : sequences) {
        for (int offset = 0; offset < 140; ++offset) {
            for (int after : {0, 1, 2, 3, 70}) {
                const QByteArray utf8 = QByteArray(offset, 'a') + sequence + QByteArray(after, 'b');
                ASSERT_EQ(win1252::fromUtf8(utf8), referenceDecode(utf8))
                    << utf8.toHex().toStdString();
            }
        }
    }
}

TEST(Win1252, EncodingAgreesWithQtAndWritesOnlyItsBytes)
{
    // Runs of ASCII, of bytes above 0x7F and mixtures, at lengths around the encoder's steps
    // of 21 and 64 bytes; the UTF-8 form goes into a buffer of its own size plus the three
    // bytes of slack, and what lies behind must stay untouched.
    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round) {
        QByteArray text(int(random() % 300), Qt::Uninitialized);
        const int kind = round % 4;
        for (char &c : text) {
            const unsigned r = random();
            c = char(kind == 0 ? r % 0x80 : kind == 1 ? 0x80 + r % 0x80 : kind == 2 ? r : (r % 16 ? 'a' : r));
        }
        const QByteArray expected = win1252::toUnicode(text).toUtf8();
        ASSERT_EQ(win1252::toUtf8(text), expected) << text.toHex().toStdString();

        QByteArray room(expected.size() + 3 + 64, '\x5A');
        const char *end = win1252::writeUtf8(text, room.data());
        ASSERT_EQ(end - room.constData(), expected.size());
        ASSERT_EQ(room.left(expected.size()), expected);
        ASSERT_EQ(room.mid(expected.size() + 3), QByteArray(64, '\x5A'));
    }
}

TEST(Win1252, DecodedTextKeepsNoUnusedMemory)
{
    // Encrypted strings are mostly two- and three-byte forms: their text is far shorter than
    // the UTF-8 it came from, and a database keeps it for as long as it is open.
    QByteArray text(30'000, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = char(0x80 + i % 128);
    const QByteArray decoded = win1252::fromUtf8(win1252::toUtf8(text));
    EXPECT_EQ(decoded, text);
    EXPECT_LE(decoded.capacity(), decoded.size() + 64);
}

TEST(Win1252, BlockDecodingAgreesWithQtOnDamagedText)
{
    // Cut, doubled, dropped and stray bytes in text that is mostly above 0x7F, as encrypted
    // strings are: every change must give Qt's result, never read or write past the ends.
    std::mt19937 random(7);
    const char strays[] = {'\x80', '\xBF', '\xC0', '\xC1', '\xC2', '\xC3', '\xE0', '\xE2', '\xED',
                           '\xF0', '\xF4', '\xF5', '\xFF', 'x'};
    for (int round = 0; round < 3000; ++round) {
        QByteArray text(int(random() % 200), Qt::Uninitialized);
        for (char &c : text)
            c = char(random());
        QByteArray utf8 = win1252::toUtf8(text);
        if (round % 4 != 0 && !utf8.isEmpty()) {
            const qsizetype at = qsizetype(random() % quint32(utf8.size()));
            switch (random() % 4) {
            case 0: utf8.truncate(at); break;
            case 1: utf8.remove(at, 1); break;
            case 2: utf8.insert(at, utf8.mid(at, 2)); break;
            default: utf8[at] = strays[random() % sizeof strays]; break;
            }
        }
        ASSERT_EQ(win1252::fromUtf8(utf8), round % 4 == 0 ? text : referenceDecode(utf8))
            << utf8.toHex().toStdString();
    }
}
