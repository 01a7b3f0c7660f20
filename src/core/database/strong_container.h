#pragma once

#include "support/chunk_queue.h"
#include "support/secret_bytes.h"

#include <QByteArrayView>
#include <QIODevice>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>

namespace lexora {

// The strongly encrypted database file: a header naming the key derivation (Argon2id, its cost
// and salt) and the plain database bytes as an XChaCha20-Poly1305 secret stream in chunks. The
// layout is described in docs/strong-encryption.md.
namespace strong {

constexpr std::array<std::uint8_t, 8> Magic = {0x89, 'L', 'X', 'S', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr quint16 Version = 1;
constexpr qint64 HeaderSize = 96;
constexpr int SaltSize = 16;

// Whether a file beginning with these bytes is meant as a strong container: it starts with the
// magic, or is a beginning of the magic cut short, or differs from the magic in one byte only.
// The last two are damaged containers, to be reported as such rather than as foreign files.
bool isContainer(QByteArrayView firstBytes);

} // namespace strong

// The cost of deriving the key from a password. A save uses the calibrated cost unless its
// caller passes another; a load uses what the file's header names.
struct KdfParams {
    quint32 opsLimit = 0;
    quint32 memLimitKiB = 0;
    // About half a second on the machine Lexora is developed on (two passes over 128 MiB).
    static KdfParams calibrated() { return {2, 128 * 1024}; }
    bool operator==(const KdfParams &) const = default;
};

struct StrongParams {
    KdfParams kdf = KdfParams::calibrated();
    // Plain bytes per chunk of the stream: large enough that handing chunks between the two
    // threads costs little beside the cipher, small enough that a few of them in flight are a
    // few megabytes.
    quint32 chunkSize = 1024 * 1024;
};

// The keys derived from one password with one salt and cost. The open database keeps the last
// one, so that saving it again costs no new derivation; the keys sit in secure memory.
class StrongKey {
public:
    // Runs Argon2id; an empty salt means a fresh random one.
    static std::shared_ptr<const StrongKey> derive(const SecretBytes &password, const KdfParams &kdf,
                                                   QByteArrayView salt = {});
    // Whether this key was derived from password with this cost.
    bool fits(const SecretBytes &password, const KdfParams &kdf) const;

    const KdfParams &kdf() const { return m_kdf; }
    const std::array<std::uint8_t, strong::SaltSize> &salt() const { return m_salt; }
    const SecretBytes &streamKey() const { return m_streamKey; }
    const SecretBytes &checkKey() const { return m_checkKey; }

private:
    KdfParams m_kdf;
    std::array<std::uint8_t, strong::SaltSize> m_salt{};
    SecretBytes m_password;
    SecretBytes m_streamKey;
    SecretBytes m_checkKey;
};

// A container's header as read from a file.
struct StrongHeader {
    KdfParams kdf;
    std::array<std::uint8_t, strong::SaltSize> salt{};
    quint32 chunkSize = 0;
    std::array<char, strong::HeaderSize> bytes{};

    // The header at the device's start, or nothing when it is cut short, its checksum does not
    // match or it names a version, cost or chunk size this program does not take.
    static std::optional<StrongHeader> read(QIODevice &file);
    // Whether key belongs to the password the header was written with.
    bool admits(const StrongKey &key) const;
};

// Writes the container to out: the header when opened, then the bytes written to it in chunks;
// finish() writes the last chunk. The caller's thread fills the chunks and writes them to out
// while a thread of its own encrypts them. A failed write of out fails this write or a later one,
// or finish().
class StrongWriter : public QIODevice {
public:
    StrongWriter(QIODevice &out, std::shared_ptr<const StrongKey> key, quint32 chunkSize);
    ~StrongWriter() override;
    bool open(OpenMode mode) override;
    // Writes the rest as the last chunk; false when out refused any chunk.
    bool finish();

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    // Hands the chunk being filled to the worker and writes what it has encrypted; false once
    // out has refused a write.
    bool handOver(bool last);
    // Writes an encrypted chunk to out (unless an earlier write failed) and frees it.
    void writeSealed(ChunkQueue::Chunk *chunk);
    // The worker: encrypts the handed chunks in order.
    void encrypt();

    struct State;
    QIODevice &m_out;
    std::shared_ptr<const StrongKey> m_key;
    std::unique_ptr<State> m_state;
    quint32 m_chunkSize;
    ChunkQueue m_queue; // stages: free, filled, sealed
    ChunkQueue::Chunk *m_pending = nullptr; // the chunk the caller's bytes go into
    std::thread m_worker;
    bool m_lastWritten = false;
    bool m_failed = false;
};

// Reads the plain bytes of a container from in, whose header has been read and admits key.
// The caller's thread reads the encrypted chunks ahead while a thread of its own authenticates
// and decrypts them; no chunk's bytes are handed out before it is authenticated. A chunk that
// fails, a missing last chunk or bytes after it make the read fail and damaged() true. Seeks go
// forward only.
class StrongReader : public QIODevice {
public:
    StrongReader(QIODevice &in, const StrongHeader &header, std::shared_ptr<const StrongKey> key);
    ~StrongReader() override;
    bool open(OpenMode mode) override;
    // The plain size, as the container's size gives it (a damaged one shows when read).
    qint64 size() const override { return m_plainSize; }
    bool seek(qint64 position) override;

    // Authenticates the rest of the stream; true when the whole container is intact.
    bool drain();
    bool damaged() const { return m_damaged; }

protected:
    qint64 readData(char *data, qint64 size) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    // Reads the next encrypted chunks from in into every free chunk, for the worker.
    void readAhead();
    // The worker: authenticates and decrypts the chunks in order, a damaged one as a failure
    // that ends the stream.
    void decrypt();
    // Decrypts the chunk's sealed bytes into its plain bytes: their size, or -1 when they are
    // damaged; final tells whether it was the stream's last chunk.
    qint64 openChunk(ChunkQueue::Chunk &chunk, bool first, bool &final);
    // Moves up to size bytes on, copying them into data unless it is null; the bytes moved.
    qint64 advance(char *data, qint64 size);
    void fail();

    struct State;
    QIODevice &m_in;
    const StrongHeader &m_header;
    std::shared_ptr<const StrongKey> m_key;
    std::unique_ptr<State> m_state;
    ChunkQueue m_queue; // stages: free, read, decrypted
    std::thread m_worker;
    ChunkQueue::Chunk *m_current = nullptr; // the chunk being read out
    qint64 m_plainPos = 0;
    qint64 m_plainSize = -1;
    bool m_allRead = false; // in's end or a failed read is behind the chunks read ahead
    bool m_final = false;
    bool m_damaged = false;
};

} // namespace lexora
