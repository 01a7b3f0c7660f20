#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace lexora {

// Bytes that must not outlive their use: a password or a key. They live in libsodium's guarded,
// locked memory (never swapped out, fenced by guard pages) and are wiped when the object is
// cleared, assigned over or destroyed. Copies are secret too; only exposed() hands out an
// ordinary copy, for the compatible cipher that stores the password in the file anyway.
class SecretBytes {
public:
    SecretBytes() = default;
    explicit SecretBytes(QByteArrayView bytes);
    explicit SecretBytes(const char *bytes) : SecretBytes(QByteArrayView(bytes)) {}
    explicit SecretBytes(const QByteArray &bytes) : SecretBytes(QByteArrayView(bytes)) {}
    // size bytes, all zero: room for a key to be written into.
    static SecretBytes zeroed(qsizetype size);
    // Takes the bytes and wipes the ordinary array they came in (when no one else shares it).
    static SecretBytes taking(QByteArray &&bytes);

    SecretBytes(const SecretBytes &other) : SecretBytes(other.view()) {}
    SecretBytes(SecretBytes &&other) noexcept;
    SecretBytes &operator=(const SecretBytes &other);
    SecretBytes &operator=(SecretBytes &&other) noexcept;
    SecretBytes &operator=(QByteArrayView bytes) { return *this = SecretBytes(bytes); }
    SecretBytes &operator=(const QByteArray &bytes) { return *this = SecretBytes(QByteArrayView(bytes)); }
    SecretBytes &operator=(const char *bytes) { return *this = SecretBytes(bytes); }
    ~SecretBytes() { clear(); }

    bool isEmpty() const { return m_size == 0; }
    qsizetype size() const { return m_size; }
    const std::uint8_t *data() const { return m_data; }
    std::uint8_t *data() { return m_data; }
    QByteArrayView view() const { return {m_data, m_size}; }
    // An ordinary, unprotected copy.
    QByteArray exposed() const { return view().toByteArray(); }
    void clear();

    // In constant time for equal sizes.
    friend bool operator==(const SecretBytes &a, QByteArrayView b);
    friend bool operator==(const SecretBytes &a, const SecretBytes &b) { return a == b.view(); }
    friend bool operator==(const SecretBytes &a, const QByteArray &b) { return a == QByteArrayView(b); }
    friend bool operator==(const SecretBytes &a, const char *b) { return a == QByteArrayView(b); }

private:
    std::uint8_t *m_data = nullptr;
    qsizetype m_size = 0;
};

// Overwrites an ordinary array's bytes with zeros, unless it shares them with another array.
void wipe(QByteArray &bytes);

// libsodium, initialised once; every user of it calls this first.
void ensureSodium();

} // namespace lexora
