#include "database/win1252.h"
#include "text/ansi_upper.h"

#include <gtest/gtest.h>

#include <QChar>

namespace lexora {
namespace {

// A byte has a capital when the Unicode capital of its character exists in Windows-1252.
TEST(AnsiUpper, EveryByteMapsToItsWindows1252Capital)
{
    for (int b = 0; b < 256; ++b) {
        const char16_t cp = win1252::toCodePoint(static_cast<unsigned char>(b));
        const char32_t upperCp = QChar::toUpper(char32_t(cp));
        const char mapped = win1252::fromCodePoint(upperCp);
        const bool representable = upperCp == '?' || mapped != '?';
        const char expected = representable ? mapped : char(b);
        EXPECT_EQ(ansi::toUpper(char(b)), expected) << "byte " << b;
    }
}

TEST(AnsiUpper, KnownLettersAndNonLetters)
{
    struct Case {
        unsigned char in, out;
    } cases[] = {
        {'a', 'A'}, {'z', 'Z'}, {'A', 'A'}, {'1', '1'}, {'_', '_'},
        {0xE4, 0xC4}, // ä
        {0xF6, 0xD6}, // ö
        {0xFC, 0xDC}, // ü
        {0xDF, 0xDF}, // ß stays
        {0xB5, 0xB5}, // µ stays
        {0xF7, 0xF7}, // ÷ is no letter
        {0xFF, 0x9F}, // ÿ
        {0x9A, 0x8A}, // š
        {0x9C, 0x8C}, // œ
        {0x9E, 0x8E}, // ž
        {0xFE, 0xDE}, // þ
        {0x83, 0x83}, // ƒ has no capital in the code page
    };
    for (const Case &c : cases)
        EXPECT_EQ(static_cast<unsigned char>(ansi::toUpper(char(c.in))), c.out) << int(c.in);
}

TEST(AnsiUpper, KeepsLengthAndPositions)
{
    const QByteArray text("stra\xDF" "e \xE4nderung\0x", 16);
    const QByteArray upper = ansi::toUpper(text);
    ASSERT_EQ(upper.size(), text.size());
    EXPECT_EQ(upper, QByteArray("STRA\xDF" "E \xC4NDERUNG\0X", 16));
}

TEST(AnsiUpper, LongTextsAsEveryByteAlone)
{
    // Long runs of plain ASCII and runs with other bytes, at every offset, so that every way
    // through a long text is taken.
    QByteArray text;
    for (int round = 0; round < 3; ++round) {
        text += QByteArray("Ein l\xE4ngerer Text: abc xyz ABC XYZ `{@[ 0123456789 ").repeated(round + 1);
        for (int b = 0; b < 256; ++b)
            text += char(b);
        text += QByteArray(61 + round, 'q');
    }
    for (qsizetype offset = 0; offset < 40; ++offset) {
        const QByteArray part = text.mid(offset);
        const QByteArray upper = ansi::toUpper(part);
        ASSERT_EQ(upper.size(), part.size());
        for (qsizetype i = 0; i < part.size(); ++i)
            ASSERT_EQ(upper[i], ansi::toUpper(part[i])) << "offset " << offset << " at " << i;
    }
}

} // namespace
} // namespace lexora
