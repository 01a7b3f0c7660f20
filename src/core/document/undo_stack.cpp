#include "document/undo_stack.h"

#include "support/progress.h"

#include <numeric>

namespace lexora {

void UndoStep::undo(Document &document, Database &db, UndoEffects &effects, Progress &progress)
{
    qint64 done = 0;
    for (auto part = m_parts.rbegin(); part != m_parts.rend(); ++part) {
        (*part)->swap(document, db, effects);
        progress.step(++done);
    }
}

void UndoStep::redo(Document &document, Database &db, UndoEffects &effects, Progress &progress)
{
    qint64 done = 0;
    for (auto &part : m_parts) {
        part->swap(document, db, effects);
        progress.step(++done);
    }
}

void UndoStep::addHeldSubtrees(std::vector<const Node *> &roots) const
{
    for (const auto &part : m_parts)
        if (const Node *root = part->heldSubtree())
            roots.push_back(root);
}

qint64 UndoStep::cost() const
{
    return std::accumulate(m_parts.begin(), m_parts.end(), qint64(0),
                           [](qint64 sum, const auto &part) { return sum + part->cost(); });
}

void UndoStack::setLimits(int steps, qint64 bytes)
{
    m_stepLimit = std::max(1, steps);
    m_byteLimit = bytes;
    trim();
}

void UndoStack::push(std::unique_ptr<UndoStep> step)
{
    // A new change ends the way forward: the undone steps cannot come back after it.
    if (m_clean > m_done)
        m_clean = -1;
    drop(std::size_t(m_done), m_steps.size());
    m_steps.push_back(std::move(step));
    ++m_done;
    trim();
}

void UndoStack::clear()
{
    drop(0, m_steps.size());
    m_done = 0;
    m_clean = 0;
}

qint64 UndoStack::cost() const
{
    return std::accumulate(m_steps.begin(), m_steps.end(), qint64(0),
                           [](qint64 sum, const auto &step) { return sum + step->cost(); });
}

void UndoStack::drop(std::size_t first, std::size_t last)
{
    std::vector<const Node *> held;
    for (std::size_t i = first; i < last; ++i)
        m_steps[i]->addHeldSubtrees(held);
    m_steps.erase(m_steps.begin() + qsizetype(first), m_steps.begin() + qsizetype(last));
    if (m_released)
        for (const Node *root : held)
            m_released(root);
}

void UndoStack::trim()
{
    // Steps are dropped from the oldest end, which is always done: what they keep (removed
    // nodes, earlier values) belongs to states no remaining step can reach.
    int oldest = 0;
    qint64 bytes = cost();
    const int count = int(m_steps.size());
    while (count - oldest > 1 && m_done - oldest > 0
           && (count - oldest > m_stepLimit || bytes > m_byteLimit)) {
        bytes -= m_steps[std::size_t(oldest)]->cost();
        ++oldest;
    }
    if (oldest == 0)
        return;
    drop(0, std::size_t(oldest));
    m_done -= oldest;
    m_clean = m_clean >= oldest ? m_clean - oldest : -1;
}

} // namespace lexora
