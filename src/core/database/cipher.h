#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <cstdint>

namespace lexora {

// The password cipher of database files: a repeating 16-byte XOR key derived from the password.
// Enciphering and deciphering are the same operation. With the all-zero key of a fresh object
// every operation returns its input, which is how unencrypted files go through the same code.
class TKeyClass {
public:
    static constexpr int KeySize = 16;
    // The XOR mask of the key derivation and the plaintext of the verifier.
    static const std::array<std::uint8_t, KeySize> KeyMask;
    // Key bit b is bit KeyPermutation[b] of the repeated password, XOR KeyMask bit b.
    static const std::array<std::uint8_t, KeySize * 8> KeyPermutation;

    // Derives the key from password (Windows-1252, not empty; only its first 16 bytes count).
    void SetPassword(QByteArrayView password);

    // XORs count bytes with the key into output (which may be data itself), starting at key
    // byte startPosition mod 16.
    void CryptBuffer(const std::uint8_t *data, std::size_t count, unsigned startPosition,
                     std::uint8_t *output) const;
    // The same in place.
    void CryptBuffer(std::uint8_t *data, std::size_t count, unsigned startPosition) const
    { CryptBuffer(data, count, startPosition, data); }
    void CryptBuffer(char *data, std::size_t count, unsigned startPosition) const
    { CryptBuffer(reinterpret_cast<std::uint8_t *>(data), count, startPosition); }
    // The string XORed with the key from key byte 0.
    QByteArray CryptString(const QByteArray &text) const;

    // The 16 bytes a file stores so that a reader can tell a wrong password.
    std::array<std::uint8_t, KeySize> Verifier() const;
    // Deciphers verifier in place and tells whether it belongs to the current key.
    bool CheckVerifier(std::uint8_t *verifier) const;

    bool isZero() const { return m_zero; }
    const std::array<std::uint8_t, KeySize> &key() const { return m_key; }

private:
    void MixKey();

    std::array<std::uint8_t, KeySize> m_key{};
    bool m_zero = true;
};

} // namespace lexora
