#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace lexora {

class Database;
class Document;
class Node;
class Progress;

// What an undo or redo changed besides the tree's shape: announced once at its end, so that a
// step of many items rebuilds a page once.
struct UndoEffects {
    std::vector<Node *> items;
    bool templates = false;
    bool files = false;
    bool tray = false;
    bool encryption = false;
};

// One piece of an undoable change. A part holds the other side of what it changed and
// exchanges it with the database: the same exchange takes the change back and does it again,
// so undo and redo run one code path, the one that announces the change to the windows.
class UndoPart {
public:
    virtual ~UndoPart() = default;
    // Announces changes of the tree's shape at once (views must follow them in order) and
    // notes the rest in effects.
    virtual void swap(Document &document, Database &db, UndoEffects &effects) = 0;
    // The bytes this part keeps alive beyond the database.
    virtual qint64 cost() const = 0;
    // The root of a subtree this part holds out of the tree; nullptr for none.
    virtual const Node *heldSubtree() const { return nullptr; }
};

// One change as the user sees it ("Löschen von »Rezepte«"): its parts in the order they were
// made. Undo exchanges them from the last to the first, redo from the first to the last.
class UndoStep {
public:
    // Whether windows see the step as one merge of many nodes rather than node by node.
    enum class Scope { Nodes, WholeDatabase };

    UndoStep(QString name, Scope scope) : m_name(std::move(name)), m_scope(scope) {}

    const QString &name() const { return m_name; }
    void setName(QString name) { m_name = std::move(name); }
    Scope scope() const { return m_scope; }
    bool isEmpty() const { return m_parts.empty(); }
    void add(std::unique_ptr<UndoPart> part) { m_parts.push_back(std::move(part)); }
    // progress counts the parts.
    void undo(Document &document, Database &db, UndoEffects &effects, Progress &progress);
    void redo(Document &document, Database &db, UndoEffects &effects, Progress &progress);
    // Drops the parts from count on: what they changed was taken back otherwise.
    int partCount() const { return int(m_parts.size()); }
    void truncate(int count) { m_parts.resize(std::size_t(count)); }
    // The roots of the subtrees its parts hold out of the tree.
    void addHeldSubtrees(std::vector<const Node *> &roots) const;
    qint64 cost() const;

    // Typing in one item's code comes in many small edits that make one step: key names the
    // item being typed into (nullptr for any other step).
    const void *typingKey = nullptr;

private:
    QString m_name;
    Scope m_scope;
    std::vector<std::unique_ptr<UndoPart>> m_parts;
};

// The steps of the open database, oldest first, and how far they are done. Bounded by a number
// of steps and by the bytes they keep: the oldest go first, the newest always stays.
class UndoStack {
public:
    static constexpr int DefaultStepLimit = 100;
    static constexpr qint64 DefaultByteLimit = qint64(256) << 20;

    // Told of each subtree whose last holder goes: no step can bring its nodes back.
    void onRelease(std::function<void(const Node *)> released) { m_released = std::move(released); }
    void setLimits(int steps, qint64 bytes);
    // Drops the steps that were undone, then appends step and trims to the limits.
    void push(std::unique_ptr<UndoStep> step);
    void clear();

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < int(m_steps.size()); }
    UndoStep &nextUndo() { return *m_steps[std::size_t(m_done - 1)]; }
    UndoStep &nextRedo() { return *m_steps[std::size_t(m_done)]; }
    // The step undo would take back and the one redo would do again; nullptr for none.
    const UndoStep *top() const { return canUndo() ? m_steps[std::size_t(m_done - 1)].get() : nullptr; }
    const UndoStep *following() const { return canRedo() ? m_steps[std::size_t(m_done)].get() : nullptr; }
    void stepBack() { --m_done; }
    void stepForward() { ++m_done; }

    // The point where the database is as in its file (after open, new and save); false when
    // that point was dropped, so that no undo or redo reaches it any more.
    void markClean() { m_clean = m_done; }
    void forgetCleanPoint() { m_clean = -1; }
    bool isClean() const { return m_clean == m_done; }

    int size() const { return int(m_steps.size()); }
    qint64 cost() const;

private:
    void trim();
    // Destroys the steps first..last-1, telling of the subtrees they held.
    void drop(std::size_t first, std::size_t last);

    std::vector<std::unique_ptr<UndoStep>> m_steps;
    int m_done = 0;
    int m_clean = 0; // -1: unreachable
    int m_stepLimit = DefaultStepLimit;
    qint64 m_byteLimit = DefaultByteLimit;
    std::function<void(const Node *)> m_released;
};

} // namespace lexora
