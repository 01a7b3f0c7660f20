#include "database/win1252.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace lexora::win1252 {
namespace {

// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char16_t codePointOf(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char16_t(byte);
}

// The UTF-8 form of every byte, packed little-endian into 32 bits, and its length: encrypted
// strings are long and mostly above 0x7F, so each byte is one lookup.
struct Utf8Table {
    std::array<std::uint32_t, 256> packed{};
    std::array<std::uint8_t, 256> length{};
};

constexpr Utf8Table makeUtf8Table()
{
    Utf8Table table;
    for (int b = 0; b < 256; ++b) {
        const std::uint32_t cp = codePointOf(static_cast<unsigned char>(b));
        if (cp < 0x80) {
            table.packed[b] = cp;
            table.length[b] = 1;
        } else if (cp < 0x800) {
            table.packed[b] = (0xC0 | (cp >> 6)) | (0x80 | (cp & 0x3F)) << 8;
            table.length[b] = 2;
        } else {
            table.packed[b] = (0xE0 | (cp >> 12)) | (0x80 | ((cp >> 6) & 0x3F)) << 8
                              | (0x80 | (cp & 0x3F)) << 16;
            table.length[b] = 3;
        }
    }
    return table;
}

constexpr Utf8Table kUtf8 = makeUtf8Table();

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// True when the 8 bytes at p are all below 0x80.
bool asciiWord(const void *p)
{
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    return (word & kHighBits) == 0;
}


} // namespace

char16_t toCodePoint(unsigned char byte)
{
    return codePointOf(byte);
}

QString toUnicode(QByteArrayView text)
{
    QString out(text.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        dst[i] = QChar(toCodePoint(static_cast<unsigned char>(text[i])));
    return out;
}

bool isAscii(QByteArrayView text)
{
    qsizetype i = 0;
    for (; i + 8 <= text.size(); i += 8)
        if (!asciiWord(text.data() + i))
            return false;
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    return true;
}

char *writeUtf8(QByteArrayView text, char *out)
{
    const char *end = text.data() + text.size();
    for (const char *in = text.data(); in < end;) {
        if (end - in >= 8 && asciiWord(in)) {
            std::memcpy(out, in, 8);
            out += 8;
            in += 8;
            continue;
        }
        // Each byte's form is stored as four bytes, of which the length counts.
        const auto b = static_cast<unsigned char>(*in++);
        std::memcpy(out, &kUtf8.packed[b], 4);
        out += kUtf8.length[b];
    }
    return out;
}

QByteArray toUtf8(QByteArrayView text)
{
    // The exact length first, so that a long result holds no unused memory.
    qsizetype length = 0;
    const char *end = text.data() + text.size();
    for (const char *in = text.data(); in < end;) {
        if (end - in >= 8 && asciiWord(in)) {
            length += 8;
            in += 8;
        } else {
            length += kUtf8.length[static_cast<unsigned char>(*in++)];
        }
    }
    QByteArray out(length + 3, Qt::Uninitialized);
    writeUtf8(text, out.data());
    out.resize(length);
    return out;
}

} // namespace lexora::win1252
