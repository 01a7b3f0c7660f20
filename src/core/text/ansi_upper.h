#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>

// Upper-casing of Windows-1252 text the way the Windows ANSI functions do it: one byte in, one
// byte out, so positions in the upper-cased text are positions in the original. The letters a-z,
// the Latin-1 letters from à to þ (but not ÷), ÿ, š, œ and ž have capitals; ß and µ do not.
namespace lexora::ansi {

namespace detail {
constexpr std::array<unsigned char, 256> makeUpperTable()
{
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[std::size_t(c)] = static_cast<unsigned char>(c);
    for (int c = 'a'; c <= 'z'; ++c)
        table[std::size_t(c)] = static_cast<unsigned char>(c - 0x20);
    for (int c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7) // the division sign has no capital
            table[std::size_t(c)] = static_cast<unsigned char>(c - 0x20);
    table[0x9A] = 0x8A; // š -> Š
    table[0x9C] = 0x8C; // œ -> Œ
    table[0x9E] = 0x8E; // ž -> Ž
    table[0xFF] = 0x9F; // ÿ -> Ÿ
    return table;
}
} // namespace detail

// The upper-case byte of every byte value.
inline constexpr std::array<unsigned char, 256> kUpperTable = detail::makeUpperTable();

inline char toUpper(char c)
{
    return char(kUpperTable[static_cast<unsigned char>(c)]);
}

// Writes the upper-cased text to out, which holds at least text.size() bytes.
void toUpper(QByteArrayView text, char *out);
QByteArray toUpper(QByteArrayView text);

} // namespace lexora::ansi
