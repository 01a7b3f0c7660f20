#include "database/cipher.h"

#include <cstring>

namespace lexora {

const std::array<std::uint8_t, TKeyClass::KeySize> TKeyClass::KeyMask = {
    0x5E, 0x27, 0xB1, 0xC4, 0x09, 0x3A, 0xF2, 0x6D, 0x84, 0xE0, 0x1B, 0x93, 0x77, 0xC8, 0xA5, 0x3F,
};

const std::array<std::uint8_t, TKeyClass::KeySize * 8> TKeyClass::KeyPermutation = {
    108, 5,   86,  6,   112, 74,  117, 120, 7,   52,  67,  18,  10,  69,  14,  1,
    35,  38,  13,  20,  110, 3,   64,  58,  11,  113, 78,  72,  71,  15,  89,  27,
    115, 2,   51,  93,  121, 91,  79,  92,  101, 42,  29,  59,  57,  87,  0,   16,
    9,   100, 12,  102, 127, 53,  54,  61,  124, 94,  99,  33,  21,  43,  66,  122,
    103, 123, 23,  24,  107, 49,  47,  98,  73,  46,  22,  75,  63,  32,  4,   84,
    125, 81,  76,  45,  30,  19,  88,  68,  90,  60,  80,  96,  82,  77,  48,  95,
    8,   17,  116, 55,  39,  97,  85,  34,  70,  111, 106, 104, 25,  44,  118, 50,
    26,  62,  41,  83,  40,  126, 36,  56,  109, 65,  119, 37,  28,  114, 31,  105,
};

void TKeyClass::SetPassword(QByteArrayView password)
{
    Q_ASSERT(!password.isEmpty());
    if (password.isEmpty())
        return;
    for (int i = 0; i < KeySize; ++i)
        m_key[std::size_t(i)] = std::uint8_t(password[i % password.size()]);
    MixKey();
}

void TKeyClass::MixKey()
{
    const std::array<std::uint8_t, KeySize> t = m_key;
    m_key.fill(0);
    for (int b = 0; b < KeySize * 8; ++b) {
        const int source = KeyPermutation[std::size_t(b)];
        const int bit = ((t[std::size_t(source / 8)] >> (source % 8))
                         ^ (KeyMask[std::size_t(b / 8)] >> (b % 8))) & 1;
        m_key[std::size_t(b / 8)] |= std::uint8_t(bit << (b % 8));
    }
    m_zero = true;
    for (std::uint8_t k : m_key)
        m_zero = m_zero && k == 0;
}

void TKeyClass::CryptBuffer(const std::uint8_t *data, std::size_t count, unsigned startPosition,
                            std::uint8_t *out) const
{
    if (m_zero) {
        if (out != data && count > 0)
            std::memmove(out, data, count);
        return;
    }
    // The key rotated to the start position, twice, so that any 16-byte window of it lines up
    // with 16 data bytes: the bulk goes through in 8-byte words.
    std::uint8_t rotated[KeySize * 2];
    for (int i = 0; i < KeySize * 2; ++i)
        rotated[i] = m_key[(startPosition + unsigned(i)) % KeySize];
    std::uint64_t k0, k1;
    std::memcpy(&k0, rotated, 8);
    std::memcpy(&k1, rotated + 8, 8);
    std::size_t n = 0;
    for (; n + KeySize <= count; n += KeySize) {
        std::uint64_t w0, w1;
        std::memcpy(&w0, data + n, 8);
        std::memcpy(&w1, data + n + 8, 8);
        w0 ^= k0;
        w1 ^= k1;
        std::memcpy(out + n, &w0, 8);
        std::memcpy(out + n + 8, &w1, 8);
    }
    for (; n < count; ++n)
        out[n] = data[n] ^ rotated[n % KeySize];
}

QByteArray TKeyClass::CryptString(const QByteArray &text) const
{
    if (m_zero || text.isEmpty())
        return text;
    QByteArray out(text.size(), Qt::Uninitialized);
    CryptBuffer(reinterpret_cast<const std::uint8_t *>(text.constData()), std::size_t(text.size()),
                0, reinterpret_cast<std::uint8_t *>(out.data()));
    return out;
}

std::array<std::uint8_t, TKeyClass::KeySize> TKeyClass::Verifier() const
{
    std::array<std::uint8_t, KeySize> verifier = KeyMask;
    CryptBuffer(verifier.data(), verifier.size(), 0);
    return verifier;
}

bool TKeyClass::CheckVerifier(std::uint8_t *verifier) const
{
    CryptBuffer(verifier, KeySize, 0);
    return std::memcmp(verifier, KeyMask.data(), KeySize) == 0;
}

} // namespace lexora
