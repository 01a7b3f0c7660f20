#include "support/chunk_queue.h"

#include "support/secret_bytes.h"

namespace lexora {

ChunkQueue::ChunkQueue(int count, int stages, qsizetype plainBytes, qsizetype sealedBytes)
    : m_stages(std::size_t(stages))
{
    for (int i = 0; i < count; ++i) {
        auto chunk = std::make_unique<Chunk>();
        chunk->plain.resize(plainBytes);
        chunk->sealed.resize(sealedBytes);
        m_stages[0].push_back(chunk.get());
        m_chunks.push_back(std::move(chunk));
    }
}

ChunkQueue::~ChunkQueue()
{
    for (const auto &chunk : m_chunks)
        if (chunk->used)
            wipe(chunk->plain);
}

ChunkQueue::Chunk *ChunkQueue::take(int stage)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_closed || !m_stages[std::size_t(stage)].empty(); });
    if (m_closed)
        return nullptr;
    return takeFront(stage);
}

ChunkQueue::Chunk *ChunkQueue::tryTake(int stage)
{
    const std::lock_guard lock(m_mutex);
    if (m_closed || m_stages[std::size_t(stage)].empty())
        return nullptr;
    return takeFront(stage);
}

ChunkQueue::Chunk *ChunkQueue::takeFront(int stage)
{
    Chunk *chunk = m_stages[std::size_t(stage)].front();
    m_stages[std::size_t(stage)].pop_front();
    chunk->used = true;
    return chunk;
}

void ChunkQueue::put(int stage, Chunk *chunk)
{
    {
        const std::lock_guard lock(m_mutex);
        m_stages[std::size_t(stage)].push_back(chunk);
    }
    m_changed.notify_all();
}

void ChunkQueue::close()
{
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_all();
}

} // namespace lexora
