#include "database/strong_container.h"

#include "support/error.h"

#include <sodium.h>

#include <cstring>
#include <limits>
#include <utility>

namespace lexora {
namespace {

using Stream = crypto_secretstream_xchacha20poly1305_state;
constexpr qint64 kAuthBytes = crypto_secretstream_xchacha20poly1305_ABYTES;
constexpr int kStreamHeaderSize = crypto_secretstream_xchacha20poly1305_HEADERBYTES;
constexpr int kKeySize = 32;
constexpr int kCheckSize = 16;
constexpr std::uint8_t kArgon2id13 = 1;
// Subkeys of the derived key: one encrypts the stream, one proves the password.
constexpr char kKdfContext[crypto_kdf_CONTEXTBYTES + 1] = "LexoraDB";
constexpr std::uint64_t kStreamKeyId = 1;
constexpr std::uint64_t kCheckKeyId = 2;

// Where the header's fields lie.
constexpr int kVersionAt = 8;
constexpr int kAlgorithmAt = 10;
constexpr int kReservedAt = 11;
constexpr int kOpsAt = 12;
constexpr int kMemAt = 16;
constexpr int kSaltAt = 20;
constexpr int kChunkAt = 36;
constexpr int kStreamHeaderAt = 40;
constexpr int kKeyCheckAt = kStreamHeaderAt + kStreamHeaderSize;
constexpr int kChecksumAt = kKeyCheckAt + kCheckSize;
static_assert(kChecksumAt + kCheckSize == strong::HeaderSize);
static_assert(crypto_pwhash_SALTBYTES == strong::SaltSize);
static_assert(crypto_kdf_KEYBYTES == kKeySize);
static_assert(crypto_secretstream_xchacha20poly1305_KEYBYTES == kKeySize);

// What a load takes, so that a file cannot make it spend unbounded memory or time.
constexpr quint32 kMaxOps = 32;
constexpr quint32 kMaxMemKiB = 1024 * 1024;
constexpr quint32 kMinChunk = 16;
constexpr quint32 kMaxChunk = 16 * 1024 * 1024;

void putLittleEndian(char *at, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = char(value >> (8 * i));
}

quint32 takeLittleEndian(const char *at, int bytes)
{
    quint32 value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= quint32(std::uint8_t(at[i])) << (8 * i);
    return value;
}

const std::uint8_t *bytesOf(const char *data)
{
    return reinterpret_cast<const std::uint8_t *>(data);
}

// A keyed (key not null) or plain BLAKE2b digest of the header's first length bytes.
void digest(const char *header, int length, const SecretBytes *key, char *out)
{
    crypto_generichash(reinterpret_cast<std::uint8_t *>(out), kCheckSize, bytesOf(header),
                       std::size_t(length), key ? key->data() : nullptr,
                       key ? std::size_t(key->size()) : 0);
}

bool readFully(QIODevice &device, char *data, qint64 size)
{
    while (size > 0) {
        const qint64 n = device.read(data, size);
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

bool strong::isContainer(QByteArrayView firstBytes)
{
    if (firstBytes.isEmpty())
        return false;
    const qsizetype n = std::min<qsizetype>(firstBytes.size(), qsizetype(Magic.size()));
    int differing = 0;
    for (qsizetype i = 0; i < n; ++i)
        differing += std::uint8_t(firstBytes[i]) != Magic[std::size_t(i)];
    return differing == 0 || (n == qsizetype(Magic.size()) && differing == 1);
}

std::shared_ptr<const StrongKey> StrongKey::derive(const SecretBytes &password, const KdfParams &kdf,
                                                   QByteArrayView salt)
{
    ensureSodium();
    auto key = std::make_shared<StrongKey>();
    key->m_kdf = kdf;
    key->m_password = password;
    if (salt.size() == strong::SaltSize)
        std::memcpy(key->m_salt.data(), salt.data(), key->m_salt.size());
    else
        randombytes_buf(key->m_salt.data(), key->m_salt.size());
    SecretBytes master = SecretBytes::zeroed(kKeySize);
    if (crypto_pwhash(master.data(), kKeySize, reinterpret_cast<const char *>(password.data()),
                      std::size_t(password.size()), key->m_salt.data(), kdf.opsLimit,
                      std::size_t(kdf.memLimitKiB) * 1024, crypto_pwhash_ALG_ARGON2ID13)
        != 0)
        throw Error(Error::Kind::IoError, QStringLiteral("Für die Schlüsselableitung der Verschlüsselung reicht der "
                                   "Arbeitsspeicher nicht (%1 MB).")
                        .arg(kdf.memLimitKiB / 1024));
    key->m_streamKey = SecretBytes::zeroed(kKeySize);
    key->m_checkKey = SecretBytes::zeroed(kKeySize);
    crypto_kdf_derive_from_key(key->m_streamKey.data(), kKeySize, kStreamKeyId, kKdfContext,
                               master.data());
    crypto_kdf_derive_from_key(key->m_checkKey.data(), kKeySize, kCheckKeyId, kKdfContext,
                               master.data());
    return key;
}

bool StrongKey::fits(const SecretBytes &password, const KdfParams &kdf) const
{
    return m_kdf == kdf && m_password == password;
}

std::optional<StrongHeader> StrongHeader::read(QIODevice &file)
{
    StrongHeader header;
    char *b = header.bytes.data();
    if (!readFully(file, b, strong::HeaderSize))
        return std::nullopt;
    char sum[kCheckSize];
    digest(b, kChecksumAt, nullptr, sum);
    if (std::memcmp(b, strong::Magic.data(), strong::Magic.size()) != 0
        || std::memcmp(sum, b + kChecksumAt, kCheckSize) != 0
        || takeLittleEndian(b + kVersionAt, 2) != strong::Version
        || std::uint8_t(b[kAlgorithmAt]) != kArgon2id13 || b[kReservedAt] != 0)
        return std::nullopt;
    header.kdf = {takeLittleEndian(b + kOpsAt, 4), takeLittleEndian(b + kMemAt, 4)};
    header.chunkSize = takeLittleEndian(b + kChunkAt, 4);
    std::memcpy(header.salt.data(), b + kSaltAt, header.salt.size());
    if (header.kdf.opsLimit < crypto_pwhash_OPSLIMIT_MIN || header.kdf.opsLimit > kMaxOps
        || header.kdf.memLimitKiB < crypto_pwhash_MEMLIMIT_MIN / 1024
        || header.kdf.memLimitKiB > kMaxMemKiB || header.chunkSize < kMinChunk
        || header.chunkSize > kMaxChunk)
        return std::nullopt;
    return header;
}

bool StrongHeader::admits(const StrongKey &key) const
{
    char check[kCheckSize];
    digest(bytes.data(), kKeyCheckAt, &key.checkKey(), check);
    return sodium_memcmp(check, bytes.data() + kKeyCheckAt, kCheckSize) == 0;
}

// ---------------------------------------------------------------------------------------------

struct StrongWriter::State {
    Stream stream;
    char header[strong::HeaderSize];
};

namespace {

// Enough chunks in flight that neither side waits for the other while both keep pace, but no
// more than about four megabytes of them unless the chunks are larger: a file's header names
// the chunk size.
int chunksInFlight(quint32 chunkSize)
{
    return int(std::clamp<quint32>((4u << 20) / chunkSize, 2, 8));
}

// The stages of a chunk on its way.
constexpr int kFree = 0;
constexpr int kFilled = 1;    // writing: plain bytes to encrypt
constexpr int kSealed = 2;    // writing: encrypted bytes to write
constexpr int kRead = 1;      // reading: sealed bytes to decrypt
constexpr int kDecrypted = 2; // reading: plain bytes to hand out

} // namespace

StrongWriter::StrongWriter(QIODevice &out, std::shared_ptr<const StrongKey> key, quint32 chunkSize)
    : m_out(out), m_key(std::move(key)), m_state(std::make_unique<State>()),
      m_chunkSize(std::clamp(chunkSize, kMinChunk, kMaxChunk)),
      m_queue(chunksInFlight(m_chunkSize), 3, qsizetype(m_chunkSize), qsizetype(m_chunkSize) + kAuthBytes)
{
}

StrongWriter::~StrongWriter()
{
    m_queue.close();
    if (m_worker.joinable())
        m_worker.join();
    sodium_memzero(m_state.get(), sizeof(State));
}

bool StrongWriter::open(OpenMode mode)
{
    char *h = m_state->header;
    std::memset(h, 0, sizeof m_state->header);
    std::memcpy(h, strong::Magic.data(), strong::Magic.size());
    putLittleEndian(h + kVersionAt, strong::Version, 2);
    h[kAlgorithmAt] = char(kArgon2id13);
    putLittleEndian(h + kOpsAt, m_key->kdf().opsLimit, 4);
    putLittleEndian(h + kMemAt, m_key->kdf().memLimitKiB, 4);
    std::memcpy(h + kSaltAt, m_key->salt().data(), m_key->salt().size());
    putLittleEndian(h + kChunkAt, m_chunkSize, 4);
    crypto_secretstream_xchacha20poly1305_init_push(
        &m_state->stream, reinterpret_cast<std::uint8_t *>(h + kStreamHeaderAt), m_key->streamKey().data());
    digest(h, kKeyCheckAt, &m_key->checkKey(), h + kKeyCheckAt);
    digest(h, kChecksumAt, nullptr, h + kChecksumAt);
    if (m_out.write(h, strong::HeaderSize) != strong::HeaderSize) {
        setErrorString(m_out.errorString());
        return false;
    }
    m_pending = m_queue.take(kFree);
    m_pending->plainSize = 0;
    m_worker = std::thread([this] { encrypt(); });
    return QIODevice::open(mode);
}

void StrongWriter::encrypt()
{
    bool first = true;
    while (ChunkQueue::Chunk *chunk = m_queue.take(kFilled)) {
        unsigned long long length = 0;
        // The whole header is authenticated with the first chunk: a header taken from another
        // file does not fit the stream.
        crypto_secretstream_xchacha20poly1305_push(
            &m_state->stream, reinterpret_cast<std::uint8_t *>(chunk->sealed.data()), &length,
            bytesOf(chunk->plain.constData()), std::size_t(chunk->plainSize),
            first ? bytesOf(m_state->header) : nullptr, first ? std::size_t(strong::HeaderSize) : 0,
            chunk->last ? crypto_secretstream_xchacha20poly1305_TAG_FINAL
                        : crypto_secretstream_xchacha20poly1305_TAG_MESSAGE);
        first = false;
        chunk->sealedSize = qint64(length);
        const bool last = chunk->last;
        m_queue.put(kSealed, chunk);
        if (last)
            return;
    }
}

void StrongWriter::writeSealed(ChunkQueue::Chunk *chunk)
{
    m_lastWritten = chunk->last;
    if (!m_failed && m_out.write(chunk->sealed.constData(), chunk->sealedSize) != chunk->sealedSize) {
        m_failed = true;
        setErrorString(m_out.errorString());
    }
    m_queue.put(kFree, chunk);
}

bool StrongWriter::handOver(bool last)
{
    m_pending->last = last;
    m_queue.put(kFilled, std::exchange(m_pending, nullptr));
    // The chunks the worker has encrypted go out in order; when none is free, the oldest
    // one in the worker's hands is waited for.
    while (ChunkQueue::Chunk *sealed = m_queue.tryTake(kSealed))
        writeSealed(sealed);
    if (!last) {
        while (!(m_pending = m_queue.tryTake(kFree)))
            writeSealed(m_queue.take(kSealed));
        m_pending->plainSize = 0;
    }
    return !m_failed;
}

qint64 StrongWriter::writeData(const char *data, qint64 size)
{
    // A full chunk is handed over only once more bytes follow it: the last chunk must carry the
    // final tag, and only finish() knows which one that is.
    const qint64 chunk = m_chunkSize;
    for (qint64 done = 0; done < size;) {
        if (m_pending->plainSize == chunk && !handOver(false))
            return -1;
        const qint64 take = std::min(size - done, chunk - m_pending->plainSize);
        std::memcpy(m_pending->plain.data() + m_pending->plainSize, data + done, std::size_t(take));
        m_pending->plainSize += take;
        done += take;
    }
    return size;
}

bool StrongWriter::finish()
{
    if (!m_pending)
        return false;
    handOver(true);
    while (!m_lastWritten)
        writeSealed(m_queue.take(kSealed));
    m_worker.join();
    return !m_failed;
}

// ---------------------------------------------------------------------------------------------

struct StrongReader::State {
    Stream stream;
};

StrongReader::StrongReader(QIODevice &in, const StrongHeader &header,
                           std::shared_ptr<const StrongKey> key)
    : m_in(in), m_header(header), m_key(std::move(key)), m_state(std::make_unique<State>()),
      m_queue(chunksInFlight(header.chunkSize), 3, qsizetype(header.chunkSize),
              qsizetype(header.chunkSize) + kAuthBytes)
{
    // Every chunk but the last is full, so the container's size gives the plain size.
    const qint64 body = std::max<qint64>(0, m_in.size() - strong::HeaderSize);
    const qint64 full = qint64(m_header.chunkSize) + kAuthBytes;
    const qint64 rest = body % full;
    m_plainSize = body / full * qint64(m_header.chunkSize) + std::max<qint64>(0, rest - kAuthBytes);
}

StrongReader::~StrongReader()
{
    m_queue.close();
    if (m_worker.joinable())
        m_worker.join();
    sodium_memzero(m_state.get(), sizeof(State));
}

bool StrongReader::open(OpenMode mode)
{
    if (crypto_secretstream_xchacha20poly1305_init_pull(
            &m_state->stream, bytesOf(m_header.bytes.data() + kStreamHeaderAt), m_key->streamKey().data())
        != 0)
        fail();
    else
        m_worker = std::thread([this] { decrypt(); });
    return QIODevice::open(mode);
}

void StrongReader::fail()
{
    m_damaged = true;
    setErrorString(QStringLiteral("Die Datei ist beschädigt oder wurde verändert."));
}

void StrongReader::readAhead()
{
    const qint64 full = qint64(m_header.chunkSize) + kAuthBytes;
    while (!m_allRead) {
        ChunkQueue::Chunk *chunk = m_queue.tryTake(kFree);
        if (!chunk)
            return;
        const qint64 length = std::min(m_in.size() - m_in.pos(), full);
        const bool read = length >= kAuthBytes && readFully(m_in, chunk->sealed.data(), length);
        chunk->sealedSize = read ? length : -1;
        chunk->atEnd = read && m_in.pos() == m_in.size();
        m_allRead = !read || chunk->atEnd;
        m_queue.put(kRead, chunk);
    }
}

void StrongReader::decrypt()
{
    bool first = true;
    while (ChunkQueue::Chunk *chunk = m_queue.take(kRead)) {
        bool final = false;
        chunk->plainSize = openChunk(*chunk, first, final);
        first = false;
        const bool last = final || chunk->plainSize < 0;
        chunk->last = last;
        m_queue.put(kDecrypted, chunk);
        if (last)
            return;
    }
}

qint64 StrongReader::openChunk(ChunkQueue::Chunk &chunk, bool first, bool &final)
{
    if (chunk.sealedSize < 0)
        return -1;
    unsigned long long plainLength = 0;
    unsigned char tag = 0;
    if (crypto_secretstream_xchacha20poly1305_pull(
            &m_state->stream, reinterpret_cast<std::uint8_t *>(chunk.plain.data()), &plainLength,
            &tag, bytesOf(chunk.sealed.constData()), std::size_t(chunk.sealedSize),
            first ? bytesOf(m_header.bytes.data()) : nullptr, first ? std::size_t(strong::HeaderSize) : 0)
        != 0)
        return -1;
    // The last chunk carries the final tag and ends the file; every other one is full and
    // followed by more.
    const bool full = chunk.sealedSize == qint64(m_header.chunkSize) + kAuthBytes;
    if (tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL) {
        if (!chunk.atEnd)
            return -1;
        final = true;
    } else if (tag != crypto_secretstream_xchacha20poly1305_TAG_MESSAGE || !full || chunk.atEnd) {
        return -1;
    }
    return qint64(plainLength);
}

qint64 StrongReader::advance(char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        if (m_current && m_plainPos < m_current->plainSize) {
            const qint64 n = std::min(size - done, m_current->plainSize - m_plainPos);
            if (data)
                std::memcpy(data + done, m_current->plain.constData() + m_plainPos, std::size_t(n));
            m_plainPos += n;
            done += n;
            continue;
        }
        if (m_current)
            m_queue.put(kFree, std::exchange(m_current, nullptr));
        if (m_final || m_damaged)
            break;
        if (!m_worker.joinable()) { // never opened
            fail();
            break;
        }
        readAhead();
        m_current = m_queue.take(kDecrypted);
        m_plainPos = 0;
        m_final = m_current->last;
        if (m_current->plainSize < 0) {
            m_current->plainSize = 0;
            fail();
        }
    }
    return done;
}

qint64 StrongReader::readData(char *data, qint64 size)
{
    const qint64 done = advance(data, size);
    return done == 0 && m_damaged ? -1 : done;
}

bool StrongReader::seek(qint64 position)
{
    const qint64 skip = position - pos();
    if (skip < 0 || advance(nullptr, skip) != skip)
        return false;
    return QIODevice::seek(position);
}

bool StrongReader::drain()
{
    advance(nullptr, std::numeric_limits<qint64>::max());
    return !m_damaged;
}

} // namespace lexora
