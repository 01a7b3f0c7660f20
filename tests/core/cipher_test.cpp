#include "database/cipher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>

using namespace lexora;

namespace {

using Key = std::array<std::uint8_t, 16>;

Key keyFor(const QByteArray &password)
{
    TKeyClass cipher;
    cipher.SetPassword(password);
    return cipher.key();
}

bool bitOf(const Key &block, int b) { return (block[std::size_t(b / 8)] >> (b % 8)) & 1; }

} // namespace

TEST(Cipher, PermutationCoversEveryBitOnce)
{
    std::bitset<128> seen;
    for (std::uint8_t b : TKeyClass::KeyPermutation)
        seen.set(b);
    EXPECT_TRUE(seen.all());
}

TEST(Cipher, AllZeroPasswordBytesGiveTheMaskAndAllOnesItsComplement)
{
    EXPECT_EQ(keyFor(QByteArray(1, '\0')), TKeyClass::KeyMask);
    Key complement;
    for (std::size_t i = 0; i < 16; ++i)
        complement[i] = std::uint8_t(~TKeyClass::KeyMask[i]);
    EXPECT_EQ(keyFor(QByteArray(16, '\xFF')), complement);
}

TEST(Cipher, KeyBitTakesThePermutedPasswordBit)
{
    // A password with only bit p set flips exactly the key bit b whose permutation entry is p.
    for (int p : {0, 7, 8, 46, 100, 127}) {
        SCOPED_TRACE(p);
        QByteArray password(16, '\0');
        password[p / 8] = char(1 << (p % 8));
        const Key key = keyFor(password);
        const int b = int(std::find(TKeyClass::KeyPermutation.begin(),
                                    TKeyClass::KeyPermutation.end(), p)
                          - TKeyClass::KeyPermutation.begin());
        for (int bit = 0; bit < 128; ++bit)
            EXPECT_EQ(bitOf(key, bit), bitOf(TKeyClass::KeyMask, bit) != (bit == b)) << bit;
    }
}

TEST(Cipher, ShortPasswordsRepeatAndOnlyTheFirstSixteenBytesCount)
{
    EXPECT_EQ(keyFor("x"), keyFor("xxxxxxxxxxxxxxxx"));
    EXPECT_EQ(keyFor("abc"), keyFor("abcabc"));
    EXPECT_EQ(keyFor("0123456789abcdef"), keyFor("0123456789abcdefGHIJ"));
    EXPECT_NE(keyFor("abc"), keyFor("abd"));
    EXPECT_NE(keyFor("ab"), keyFor("ba"));

    TKeyClass once, twice;
    once.SetPassword("pw");
    twice.SetPassword("pwpw");
    EXPECT_EQ(once.Verifier(), twice.Verifier());
    // Only the stored password check tells them apart.
    EXPECT_NE(once.CryptString("pw"), twice.CryptString("pwpw"));
}

TEST(Cipher, ZeroKeyReturnsItsInput)
{
    TKeyClass cipher;
    EXPECT_TRUE(cipher.isZero());
    const QByteArray text("Gr\xFC\xDF" "e\0x", 7);
    EXPECT_EQ(cipher.CryptString(text), text);
    auto verifier = cipher.Verifier();
    EXPECT_EQ(verifier, TKeyClass::KeyMask);
    EXPECT_TRUE(cipher.CheckVerifier(verifier.data()));
}

TEST(Cipher, CryptStringIsItsOwnInverseAndIndependentOfPlace)
{
    TKeyClass cipher;
    cipher.SetPassword("geheim");
    for (int length : {0, 1, 15, 16, 17, 33, 1000}) {
        SCOPED_TRACE(length);
        QByteArray text(length, Qt::Uninitialized);
        for (int i = 0; i < length; ++i)
            text[i] = char(i * 37 + 11);
        const QByteArray once = cipher.CryptString(text);
        EXPECT_EQ(once.size(), length);
        if (length > 0) {
            EXPECT_NE(once, text);
        }
        EXPECT_EQ(cipher.CryptString(once), text);
        EXPECT_EQ(cipher.CryptString(text), once); // equal strings, equal bytes
    }
}

TEST(Cipher, CryptBufferStartsAtTheGivenKeyByteAndWraps)
{
    TKeyClass cipher;
    cipher.SetPassword("Schl\xFC" "ssel");
    const Key &key = cipher.key();
    for (unsigned start : {0u, 1u, 15u, 16u, 31u, 255u}) {
        SCOPED_TRACE(start);
        std::vector<std::uint8_t> data(40, 0);
        std::vector<std::uint8_t> out(40, 0xAA);
        cipher.CryptBuffer(data.data(), data.size(), start, out.data());
        for (std::size_t n = 0; n < data.size(); ++n)
            EXPECT_EQ(out[n], key[(start + n) % 16]) << n;
        EXPECT_EQ(data, std::vector<std::uint8_t>(40, 0)); // input untouched with an output
        cipher.CryptBuffer(out.data(), out.size(), start); // in place: back to zero
        EXPECT_EQ(out, data);
    }
    std::uint8_t two[2] = {0, 0};
    cipher.CryptBuffer(two, 2, 15);
    EXPECT_EQ(two[0], key[15]);
    EXPECT_EQ(two[1], key[0]);
}

TEST(Cipher, VerifierBelongsToItsKeyOnly)
{
    TKeyClass right, wrong;
    right.SetPassword("richtig");
    wrong.SetPassword("falsch");
    auto stored = right.Verifier();
    EXPECT_NE(stored, TKeyClass::KeyMask);

    auto copy = stored;
    EXPECT_FALSE(wrong.CheckVerifier(copy.data()));
    copy = stored;
    EXPECT_TRUE(right.CheckVerifier(copy.data()));
    EXPECT_EQ(copy, TKeyClass::KeyMask); // deciphered in place
}
