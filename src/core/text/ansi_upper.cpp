#include "text/ansi_upper.h"

namespace lexora::ansi {

namespace {

// Searches upper-case every text they look at, so this is the hot loop of a search. Blocks of
// ASCII, by far the most common case, take a branch-free path the compiler vectorises; blocks
// with other bytes go through the table.
constexpr std::size_t kBlock = 32;

void upperAsciiBlock(const unsigned char *in, unsigned char *out)
{
    for (std::size_t i = 0; i < kBlock; ++i)
        out[i] = static_cast<unsigned char>(
            in[i] - (static_cast<unsigned char>(in[i] - 'a') < 26 ? 0x20 : 0));
}

bool isAsciiBlock(const unsigned char *in)
{
    unsigned char any = 0;
    for (std::size_t i = 0; i < kBlock; ++i)
        any |= in[i];
    return any < 0x80;
}

void upperByTable(const unsigned char *in, unsigned char *out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = kUpperTable[in[i]];
}

} // namespace

void toUpper(QByteArrayView text, char *out)
{
    const auto *in = reinterpret_cast<const unsigned char *>(text.data());
    auto *to = reinterpret_cast<unsigned char *>(out);
    const auto n = std::size_t(text.size());
    std::size_t i = 0;
    for (; i + kBlock <= n; i += kBlock) {
        if (isAsciiBlock(in + i))
            upperAsciiBlock(in + i, to + i);
        else
            upperByTable(in + i, to + i, kBlock);
    }
    upperByTable(in + i, to + i, n - i);
}

QByteArray toUpper(QByteArrayView text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    toUpper(text, out.data());
    return out;
}

} // namespace lexora::ansi
