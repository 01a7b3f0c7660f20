#pragma once

#include <QByteArray>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace lexora {

// A fixed set of byte buffers handed between two threads in order: one side fills empty chunks
// and hands them over, the other takes them filled and gives them back. It lets the cipher run
// on one processor while the database is parsed or written on the other; the fixed count bounds
// the memory it takes. The buffers are wiped when the queue goes, since they may hold plain
// bytes of an encrypted database.
class ChunkQueue {
public:
    struct Chunk {
        QByteArray bytes; // room for one chunk
        qint64 size = 0;  // bytes in use, or -1 for a failure the producer reports in order
        bool last = false;
    };

    ChunkQueue(int count, qsizetype chunkBytes);
    ~ChunkQueue();
    ChunkQueue(const ChunkQueue &) = delete;
    ChunkQueue &operator=(const ChunkQueue &) = delete;

    // The producer's side. Both take calls wait until a chunk is there and give nullptr once the
    // queue is closed.
    Chunk *takeEmpty();
    void handOver(Chunk *chunk);
    // The consumer's side.
    Chunk *takeFilled();
    void giveBack(Chunk *chunk);
    // Wakes both sides for good: a side that stops early closes the queue so that the other
    // does not wait for it.
    void close();

private:
    Chunk *take(std::deque<Chunk *> &from);
    void put(std::deque<Chunk *> &to, Chunk *chunk);

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::unique_ptr<Chunk>> m_chunks;
    std::deque<Chunk *> m_empty;
    std::deque<Chunk *> m_filled;
    bool m_closed = false;
};

} // namespace lexora
