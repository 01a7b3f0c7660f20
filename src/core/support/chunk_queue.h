#pragma once

#include <QByteArray>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace lexora {

// A fixed set of chunk buffers passed between threads through numbered stages, in order: every
// chunk starts at stage 0, and each side takes the oldest chunk at its stage, works on it and
// puts it at the next. It lets the cipher run on one processor while the database is parsed or
// written on the other; the fixed count bounds the memory it takes. The buffers are wiped when
// the queue goes, since they hold plain bytes of an encrypted database; buffers never taken are
// left alone, so that a small file does not pay for touching them.
class ChunkQueue {
public:
    struct Chunk {
        QByteArray plain;       // room for the plain bytes of one chunk
        QByteArray sealed;      // room for its encrypted form
        qint64 plainSize = 0;   // bytes in use, or -1 for a failure handed on in order
        qint64 sealedSize = 0;
        bool atEnd = false;     // the sealed bytes end where the file ends
        bool last = false;
        bool used = false;      // taken once, so its buffers may hold plain bytes
    };

    ChunkQueue(int count, int stages, qsizetype plainBytes, qsizetype sealedBytes);
    ~ChunkQueue();
    ChunkQueue(const ChunkQueue &) = delete;
    ChunkQueue &operator=(const ChunkQueue &) = delete;

    // Waits for the oldest chunk at stage; nullptr once the queue is closed.
    Chunk *take(int stage);
    // The oldest chunk at stage, or nullptr when none is there now.
    Chunk *tryTake(int stage);
    void put(int stage, Chunk *chunk);
    // Wakes every side for good: a side that stops early closes the queue so that no other
    // waits for it.
    void close();

private:
    // The oldest chunk at stage, which holds one; with the mutex held.
    Chunk *takeFront(int stage);

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::unique_ptr<Chunk>> m_chunks;
    std::vector<std::deque<Chunk *>> m_stages;
    bool m_closed = false;
};

} // namespace lexora
