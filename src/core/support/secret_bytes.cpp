#include "support/secret_bytes.h"

#include <sodium.h>

#include <cstring>
#include <new>
#include <utility>

namespace lexora {

void ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw std::bad_alloc();
}

SecretBytes::SecretBytes(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    *this = zeroed(bytes.size());
    std::memcpy(m_data, bytes.data(), std::size_t(bytes.size()));
}

SecretBytes SecretBytes::zeroed(qsizetype size)
{
    ensureSodium();
    SecretBytes secret;
    if (size <= 0)
        return secret;
    // Locking the pages may fail under a low memlock limit; the bytes are still guarded and wiped.
    secret.m_data = static_cast<std::uint8_t *>(sodium_malloc(std::size_t(size)));
    if (!secret.m_data)
        throw std::bad_alloc();
    sodium_memzero(secret.m_data, std::size_t(size));
    secret.m_size = size;
    return secret;
}

SecretBytes SecretBytes::taking(QByteArray &&bytes)
{
    SecretBytes secret(QByteArrayView{bytes});
    wipe(bytes);
    bytes.clear();
    return secret;
}

SecretBytes::SecretBytes(SecretBytes &&other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0))
{
}

SecretBytes &SecretBytes::operator=(const SecretBytes &other)
{
    if (this != &other)
        *this = SecretBytes(other);
    return *this;
}

SecretBytes &SecretBytes::operator=(SecretBytes &&other) noexcept
{
    if (this != &other) {
        clear();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

void SecretBytes::clear()
{
    // sodium_free wipes the bytes before it gives the pages back.
    if (m_data)
        sodium_free(m_data);
    m_data = nullptr;
    m_size = 0;
}

bool operator==(const SecretBytes &a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    return a.isEmpty() || sodium_memcmp(a.data(), b.data(), std::size_t(a.size())) == 0;
}

void wipe(QByteArray &bytes)
{
    if (!bytes.isEmpty() && bytes.isDetached())
        sodium_memzero(bytes.data(), std::size_t(bytes.size()));
}

} // namespace lexora
