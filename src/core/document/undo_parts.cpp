#include "document/undo_parts.h"

#include "database/win1252.h"
#include "document/document.h"
#include "support/user_prompt.h"

#include <QFile>
#include <QSaveFile>

#include <unordered_map>

namespace lexora {

namespace {

// The node a signal names for a child list: nullptr for the top level.
Node *ownerOf(Database &db, Node *container)
{
    return container == &db.topLevel() ? nullptr : container;
}

qint64 itemBytes(const TTipItem &item)
{
    return qint64(sizeof item) + item.Code.size() + item.CreatedBy.size() + item.ModifiedBy.size();
}

qint64 subtreeBytes(const Node &root)
{
    qint64 bytes = qint64(sizeof root) + root.name().size();
    if (const TTipItem *item = root.item())
        bytes += itemBytes(*item);
    for (const Node &child : root.children())
        bytes += subtreeBytes(child);
    return bytes;
}

// Puts the entries named by order into live, in that order, taking them from live and held;
// whatever live had besides goes to held. order then names what live had.
template <class T>
void exchangeList(std::vector<std::unique_ptr<T>> &live, std::vector<T *> &order,
                  std::vector<std::unique_ptr<T>> &held)
{
    std::vector<T *> current;
    current.reserve(live.size());
    std::unordered_map<T *, std::unique_ptr<T>> pool;
    for (auto &entry : live) {
        current.push_back(entry.get());
        pool.emplace(entry.get(), std::move(entry));
    }
    for (auto &entry : held)
        pool.emplace(entry.get(), std::move(entry));
    live.clear();
    held.clear();
    for (T *entry : order)
        live.push_back(std::move(pool.at(entry)));
    for (auto &[entry, owned] : pool)
        if (owned)
            held.push_back(std::move(owned));
    order = std::move(current);
}

template <class T>
std::vector<T *> pointersOf(const std::vector<std::unique_ptr<T>> &list)
{
    std::vector<T *> pointers;
    pointers.reserve(list.size());
    for (const auto &entry : list)
        pointers.push_back(entry.get());
    return pointers;
}

template <class T>
qint64 heldBytes(const std::vector<T *> &order, const std::vector<std::unique_ptr<T>> &held)
{
    return qint64(order.size() * sizeof(T *) + held.size() * sizeof(T));
}

void reportFileProblem(Document &document, const QString &message)
{
    document.prompt().message(UserPrompt::Icon::Warning, QStringLiteral("Eingebundene Dateien"),
                              message);
}

} // namespace

// --- TitlePart

void TitlePart::swap(Document &document, Database &, UndoEffects &)
{
    Text current = m_node->name();
    m_node->setName(std::move(m_title));
    m_title = std::move(current);
    Q_EMIT document.nodeRenamed(m_node);
}

// --- SubtreePart

SubtreePart::SubtreePart(Node *added) : m_root(added), m_container(nullptr), m_row(-1), m_bytes(0) {}

SubtreePart::SubtreePart(std::unique_ptr<Node> removed, Node *container, int row)
    : m_root(removed.get()),
      m_container(container),
      m_row(row),
      m_held(std::move(removed)),
      m_bytes(subtreeBytes(*m_root))
{
}

qint64 SubtreePart::cost() const
{
    return qint64(sizeof *this) + (m_held ? m_bytes : 0);
}

std::unique_ptr<Node> SubtreePart::takeOut(Document &document, Database &, Node *root)
{
    std::vector<Node *> subtree{root};
    for (std::size_t i = 0; i < subtree.size(); ++i)
        for (Node &child : subtree[i]->children())
            subtree.push_back(&child);
    for (Node *node : subtree)
        Q_EMIT document.nodeAboutToBeRemoved(node);
    Node *parent = root->parent();
    Node *container = root->container();
    Q_EMIT document.subtreeAboutToBeRemoved(root);
    std::unique_ptr<Node> taken = container->takeChild(root->indexInParent());
    Q_EMIT document.subtreeRemoved(parent);
    return taken;
}

void SubtreePart::swap(Document &document, Database &db, UndoEffects &)
{
    if (m_held) {
        Q_EMIT document.nodeAboutToBeAdded(ownerOf(db, m_container), m_row);
        m_container->insertChild(m_row, std::move(m_held));
        Q_EMIT document.nodeAdded(m_root);
        return;
    }
    m_container = m_root->container();
    m_row = m_root->indexInParent();
    m_held = takeOut(document, db, m_root);
    // A node added by an import grew below after it was noted: counted as it is now.
    m_bytes = subtreeBytes(*m_root);
}

// --- MovePart

void MovePart::move(Document &document, Database &db, Node *node, Node *container, int row)
{
    const int from = node->indexInParent();
    // A view counts the target row before the node leaves: one more when it moves down its list.
    const int viewRow = node->container() == container && row > from ? row + 1 : row;
    Q_EMIT document.nodeAboutToBeMoved(node, ownerOf(db, container), viewRow);
    container->insertChild(row, node->container()->takeChild(from));
    Q_EMIT document.nodeMoved(node);
}

void MovePart::swap(Document &document, Database &db, UndoEffects &)
{
    Node *container = m_node->container();
    const int row = m_node->indexInParent();
    move(document, db, m_node, m_container, m_row);
    m_container = container;
    m_row = row;
}

// --- OrderPart

OrderPart::Before OrderPart::capture(Node &container, bool wholeTree)
{
    Before before{&container, wholeTree, {}};
    std::vector<Node *> pending{&container};
    while (!pending.empty()) {
        Node *node = pending.back();
        pending.pop_back();
        if (node->childCount() > 1)
            before.orders.emplace_back(node, node->childPointers());
        if (wholeTree)
            for (Node &child : node->children())
                if (child.childCount() > 0)
                    pending.push_back(&child);
    }
    return before;
}

std::unique_ptr<OrderPart> OrderPart::since(Before before)
{
    std::vector<Range> ranges;
    for (auto &[container, old] : before.orders) {
        const std::vector<Node *> now = container->childPointers();
        int first = 0;
        int last = int(old.size()) - 1;
        while (first <= last && old[std::size_t(first)] == now[std::size_t(first)])
            ++first;
        if (first > last)
            continue;
        while (old[std::size_t(last)] == now[std::size_t(last)])
            --last;
        const auto at = [](const std::vector<Node *> &v, int i) { return v[std::size_t(i)]; };
        const auto sameShifted = [&](int oldFrom, int nowFrom, int count) {
            for (int i = 0; i < count; ++i)
                if (at(old, oldFrom + i) != at(now, nowFrom + i))
                    return false;
            return true;
        };
        const int count = last - first;
        Range range{container, first, last, Range::Kind::Nodes, {}};
        if (at(old, first) == at(now, last) && sameShifted(first + 1, first, count))
            range.kind = Range::Kind::LastToFront; // the node moved down: it goes back up
        else if (at(old, last) == at(now, first) && sameShifted(first, first + 1, count))
            range.kind = Range::Kind::FirstToEnd;
        else
            range.nodes.assign(old.begin() + first, old.begin() + last + 1);
        ranges.push_back(std::move(range));
    }
    if (ranges.empty())
        return nullptr;
    return std::unique_ptr<OrderPart>(new OrderPart(before.top, before.wholeTree, std::move(ranges)));
}

void OrderPart::swap(Document &document, Database &db, UndoEffects &)
{
    if (m_wholeTree)
        Q_EMIT document.treeAboutToBeSorted();
    else
        Q_EMIT document.childrenAboutToBeSorted(ownerOf(db, m_top));
    for (Range &range : m_ranges) {
        switch (range.kind) {
        case Range::Kind::Nodes: {
            std::vector<Node *> current = range.container->childPointers();
            range.container->arrangeChildren(range.first, range.nodes);
            range.nodes.assign(current.begin() + range.first, current.begin() + range.last + 1);
            break;
        }
        case Range::Kind::FirstToEnd:
            range.container->rotateChildren(range.first, range.last, true);
            range.kind = Range::Kind::LastToFront;
            break;
        case Range::Kind::LastToFront:
            range.container->rotateChildren(range.first, range.last, false);
            range.kind = Range::Kind::FirstToEnd;
            break;
        }
    }
    if (m_wholeTree)
        Q_EMIT document.treeSorted();
    else
        Q_EMIT document.childrenSorted(ownerOf(db, m_top));
}

qint64 OrderPart::cost() const
{
    qint64 bytes = qint64(sizeof *this);
    for (const Range &range : m_ranges)
        bytes += qint64(sizeof range + range.nodes.size() * sizeof(Node *));
    return bytes;
}

// --- ItemsPart

ItemsPart::ItemsPart(Values values) : m_values(std::move(values)), m_bytes(qint64(sizeof *this))
{
    for (const auto &[node, value] : m_values)
        m_bytes += qint64(sizeof(Node *)) + itemBytes(value);
}

ItemsPart::ItemsPart(Node *node, TTipItem value)
    : ItemsPart([&] {
          Values values;
          values.emplace_back(node, std::move(value));
          return values;
      }())
{
}

void ItemsPart::swap(Document &, Database &, UndoEffects &effects)
{
    for (auto &[node, value] : m_values) {
        std::swap(*node->item(), value);
        effects.items.push_back(node);
    }
}

// --- TemplateFieldsPart

void TemplateFieldsPart::swap(Document &, Database &, UndoEffects &effects)
{
    for (auto &[tmpl, fields] : m_fields) {
        std::swap(tmpl->Name, fields.Name);
        std::swap(tmpl->Description, fields.Description);
        std::swap(tmpl->Code, fields.Code);
    }
    effects.templates = true;
}

qint64 TemplateFieldsPart::cost() const
{
    qint64 bytes = qint64(sizeof *this);
    for (const auto &[tmpl, fields] : m_fields)
        bytes += qint64(sizeof(TTemplate *) + sizeof fields) + fields.Name.size()
                 + fields.Description.size() + fields.Code.size();
    return bytes;
}

// --- TemplateListPart

TemplateListPart::TemplateListPart(const Database &db, int list)
    : m_list(list), m_order(pointersOf(db.templates(list))), m_default(db.defaultTemplate(list))
{
}

bool TemplateListPart::matches(const Database &db) const
{
    return m_order == pointersOf(db.templates(m_list)) && m_default == db.defaultTemplate(m_list);
}

void TemplateListPart::swap(Document &, Database &db, UndoEffects &effects)
{
    exchangeList(db.templates(m_list), m_order, m_held);
    std::swap(db.defaultTemplate(m_list), m_default);
    effects.templates = true;
}

qint64 TemplateListPart::cost() const
{
    qint64 bytes = qint64(sizeof *this) + heldBytes(m_order, m_held);
    for (const auto &tmpl : m_held)
        bytes += tmpl->Name.size() + tmpl->Description.size() + tmpl->Code.size();
    return bytes;
}

// --- FileListPart

FileListPart::FileListPart(const Database &db) : m_order(pointersOf(db.IncludedFiles)) {}

bool FileListPart::matches(const Database &db) const
{
    return m_order == pointersOf(db.IncludedFiles);
}

void FileListPart::swap(Document &, Database &db, UndoEffects &effects)
{
    exchangeList(db.IncludedFiles, m_order, m_held);
    effects.files = true;
}

qint64 FileListPart::cost() const
{
    return qint64(sizeof *this) + heldBytes(m_order, m_held);
}

// --- FileBytesPart

std::optional<QByteArray> FileBytesPart::read(const Database &db, const TInclFile &file)
{
    QFile stored(db.includedFilePath(file.Name));
    if (!stored.open(QIODevice::ReadOnly))
        return std::nullopt;
    return stored.readAll();
}

void FileBytesPart::swap(Document &document, Database &db, UndoEffects &effects)
{
    effects.files = true;
    const QString path = db.includedFilePath(m_file->Name);
    std::optional<QByteArray> current;
    if (QFile::exists(path)) {
        current = read(db, *m_file);
        if (!current) {
            reportFileProblem(document, QStringLiteral("Die Datei \"%1\" konnte nicht gelesen werden.")
                                            .arg(win1252::toUnicode(m_file->Name)));
            return;
        }
    }
    if (m_bytes) {
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(*m_bytes) != m_bytes->size() || !out.commit()) {
            reportFileProblem(document, QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden.")
                                            .arg(win1252::toUnicode(m_file->Name)));
            return;
        }
        m_file->Size = qint32(m_bytes->size());
    } else if (current && !QFile::remove(path)) {
        reportFileProblem(document, QStringLiteral("Die Datei \"%1\" konnte nicht gelöscht werden.")
                                        .arg(win1252::toUnicode(m_file->Name)));
        return;
    }
    m_bytes = std::move(current);
}

// --- FileNamePart

void FileNamePart::swap(Document &document, Database &db, UndoEffects &effects)
{
    effects.files = true;
    if (!QFile::rename(db.includedFilePath(m_file->Name), db.includedFilePath(m_name))) {
        reportFileProblem(document, QStringLiteral("Die Datei \"%1\" konnte nicht umbenannt werden.")
                                        .arg(win1252::toUnicode(m_file->Name)));
        return;
    }
    std::swap(m_file->Name, m_name);
}

// --- TrayPart

void TrayPart::swap(Document &, Database &db, UndoEffects &effects)
{
    std::swap(db.TrayNodes, m_nodes);
    effects.tray = true;
}

// --- EncryptionPart

EncryptionPart::EncryptionPart(const Database &db)
    : m_encrypted(db.Encrypted), m_mode(db.Encryption), m_password(db.Password), m_key(db.StrongKeyCache)
{
}

void EncryptionPart::swap(Document &, Database &db, UndoEffects &effects)
{
    std::swap(db.Encrypted, m_encrypted);
    std::swap(db.Encryption, m_mode);
    std::swap(db.Password, m_password);
    std::swap(db.StrongKeyCache, m_key);
    effects.encryption = true;
}

} // namespace lexora
