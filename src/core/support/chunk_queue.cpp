#include "support/chunk_queue.h"

#include "support/secret_bytes.h"

namespace lexora {

ChunkQueue::ChunkQueue(int count, qsizetype chunkBytes)
{
    for (int i = 0; i < count; ++i) {
        m_chunks.push_back(std::make_unique<Chunk>());
        m_chunks.back()->bytes.resize(chunkBytes);
        m_empty.push_back(m_chunks.back().get());
    }
}

ChunkQueue::~ChunkQueue()
{
    for (const auto &chunk : m_chunks)
        wipe(chunk->bytes);
}

ChunkQueue::Chunk *ChunkQueue::take(std::deque<Chunk *> &from)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_closed || !from.empty(); });
    if (m_closed)
        return nullptr;
    Chunk *chunk = from.front();
    from.pop_front();
    return chunk;
}

void ChunkQueue::put(std::deque<Chunk *> &to, Chunk *chunk)
{
    {
        std::lock_guard lock(m_mutex);
        to.push_back(chunk);
    }
    m_changed.notify_all();
}

ChunkQueue::Chunk *ChunkQueue::takeEmpty()
{
    return take(m_empty);
}

void ChunkQueue::handOver(Chunk *chunk)
{
    put(m_filled, chunk);
}

ChunkQueue::Chunk *ChunkQueue::takeFilled()
{
    return take(m_filled);
}

void ChunkQueue::giveBack(Chunk *chunk)
{
    put(m_empty, chunk);
}

void ChunkQueue::close()
{
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_all();
}

} // namespace lexora
