// The document's edits of the tree, the items, the tray and the encryption setting.
#include "document/document.h"

#include "database/node_path.h"
#include "database/win1252.h"
#include "document/undo_parts.h"
#include "sorting/tree_sort.h"
#include "support/progress.h"
#include "text/today.h"

#include <algorithm>
#include <unordered_map>

namespace lexora {

Document::Document(const QString &includedFilesFolder, Text userName, UserPrompt &prompt,
                   Progress &progress, FilesAtEnd filesAtEnd, QObject *parent)
    : QObject(parent),
      m_userName(std::move(userName)),
      m_prompt(prompt),
      m_progress(progress),
      m_filesAtEnd(filesAtEnd),
      m_sortCriteria(DefaultSortCriteria())
{
    m_db.IncludedFilesFolder = includedFilesFolder;
    m_undo.onRelease([this](const Node *root) { Q_EMIT subtreeReleased(root); });
}

Document::~Document()
{
    // The included files' bytes go with the document, before the caller removes their folder.
    if (m_filesAtEnd == FilesAtEnd::Keep)
        m_db.IncludedFilesFolder.clear();
    m_db.FreeDatabaseData();
}

void Document::setSortCriteria(SortCriteria criteria)
{
    m_sortCriteria = std::move(criteria);
}

void Document::setModified(bool modified)
{
    if (m_db.DatabaseModified == modified)
        return;
    m_db.DatabaseModified = modified;
    Q_EMIT modifiedChanged(modified);
}

// --- Steps

Document::Recording::Recording(Document &document, QString name, UndoStep::Scope scope)
    : m_document(document), m_outermost(!document.m_step)
{
    if (m_outermost)
        m_document.m_step = std::make_unique<UndoStep>(std::move(name), scope);
}

Document::Recording::~Recording()
{
    if (!m_outermost)
        return;
    std::unique_ptr<UndoStep> step = std::move(m_document.m_step);
    if (step->isEmpty())
        return;
    m_document.m_undo.push(std::move(step));
    Q_EMIT m_document.undoStateChanged();
}

void Document::record(std::unique_ptr<UndoPart> part)
{
    Q_ASSERT(m_step);
    if (part)
        m_step->add(std::move(part));
}

QString Document::stepName(const QString &single, const QString &many, const Text &name,
                           qsizetype count)
{
    return count == 1 ? single.arg(win1252::toUnicode(name)) : many.arg(count);
}

QString Document::undoName() const
{
    return m_undo.canUndo() ? m_undo.top()->name() : QString();
}

QString Document::redoName() const
{
    return m_undo.canRedo() ? m_undo.following()->name() : QString();
}

void Document::undo()
{
    if (m_undo.canUndo())
        applyStep(true);
}

void Document::redo()
{
    if (m_undo.canRedo())
        applyStep(false);
}

void Document::applyStep(bool undo)
{
    UndoStep &step = undo ? m_undo.nextUndo() : m_undo.nextRedo();
    UndoEffects effects;
    const bool whole = step.scope() == UndoStep::Scope::WholeDatabase;
    if (whole)
        Q_EMIT databaseAboutToBeMerged();
    {
        // A step of many parts (an import of many nodes) shows its progress; a small one would
        // only flash the window.
        constexpr int kPartsShown = 1000;
        NoProgress quiet;
        Progress &progress = step.partCount() >= kPartsShown ? m_progress : quiet;
        ProgressScope scope(progress, undo ? QStringLiteral("Rückgängig") : QStringLiteral("Wiederherstellen"),
                            undo ? QStringLiteral("Die Änderungen werden rückgängig gemacht...")
                                 : QStringLiteral("Die Änderungen werden wiederhergestellt..."),
                            step.partCount());
        if (undo)
            step.undo(*this, m_db, effects, progress);
        else
            step.redo(*this, m_db, effects, progress);
    }
    if (whole)
        Q_EMIT databaseMerged();
    announce(effects, step.scope());
    if (undo)
        m_undo.stepBack();
    else
        m_undo.stepForward();
    setModified(!m_undo.isClean());
    Q_EMIT undoStateChanged();
}

void Document::announce(const UndoEffects &effects, UndoStep::Scope scope)
{
    // Item by item while few changed; many (a template's rename, taken back) are announced as
    // the template change that rewrites item code everywhere, so that views rebuild once.
    constexpr std::size_t kItemsOneByOne = 64;
    std::vector<Node *> items = effects.items;
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
    if (effects.templates || items.size() > kItemsOneByOne)
        Q_EMIT templatesChanged();
    else if (scope == UndoStep::Scope::Nodes)
        for (Node *node : items)
            Q_EMIT itemChanged(node);
    if (effects.files)
        Q_EMIT includedFilesChanged();
    if (effects.tray)
        Q_EMIT trayChanged();
    if (effects.encryption)
        Q_EMIT encryptionChanged();
}

bool Document::continuesTyping(const Node *node) const
{
    const UndoStep *top = m_undo.top();
    return top && top->typingKey == node && !m_undo.canRedo() && !m_undo.isClean();
}

// --- The tree

Node *Document::findNode(const Text &path)
{
    return FindNodeByPath(m_db, path);
}

Node *Document::appendNode(Node *parent, const Text &title, std::unique_ptr<TTipItem> item)
{
    Recording recording(*this, stepName(QStringLiteral("Einfügen von »%1«"), {}, title, 1));
    Node &list = m_db.childrenOf(parent);
    Q_EMIT nodeAboutToBeAdded(parent, list.childCount());
    Node *node = list.appendChild(title);
    node->setItem(std::move(item));
    Q_EMIT nodeAdded(node);
    record(std::make_unique<SubtreePart>(node));
    setModified();
    return node;
}

std::unique_ptr<TTipItem> Document::newTipItem() const
{
    auto item = std::make_unique<TTipItem>();
    item->Created = item->Modified = today();
    item->CreatedBy = item->ModifiedBy = m_userName;
    item->HTMLTemplate = m_db.DefaultHTMLTemplate;
    item->CSSTemplate = m_db.DefaultCSSTemplate;
    item->AutoFormat = true;
    return item;
}

Node *Document::newKey(Node *parent)
{
    Recording recording(*this, QStringLiteral("Neuer Schlüssel"));
    Node *node = appendNode(parent, win1252::fromUnicode(QStringLiteral("Neuer Schlüssel")), nullptr);
    sortChildren(parent);
    return node;
}

Node *Document::newItem(Node *parent)
{
    Recording recording(*this, QStringLiteral("Neuer Eintrag"));
    Node *node = appendNode(parent, win1252::fromUnicode(QStringLiteral("Neuer Eintrag")),
                            newTipItem());
    sortChildren(parent);
    return node;
}

void Document::renameNode(Node *node, const Text &title)
{
    Recording recording(*this, stepName(QStringLiteral("Umbenennen von »%1«"), {}, node->name(), 1));
    if (title != node->name())
        record(std::make_unique<TitlePart>(node, node->name()));
    node->setName(title);
    Q_EMIT nodeRenamed(node);
    setModified();
    sortChildren(node->parent());
}

void Document::removeNodes(const QList<Node *> &nodes)
{
    // A node below another one of the list goes with that one.
    QList<Node *> roots;
    for (Node *node : nodes)
        if (std::none_of(nodes.begin(), nodes.end(),
                         [node](const Node *other) { return other->isAncestorOf(node); }))
            roots.append(node);
    if (roots.isEmpty())
        return;
    Recording recording(*this, stepName(QStringLiteral("Löschen von »%1«"),
                                        QStringLiteral("Löschen von %1 Einträgen"),
                                        roots.front()->name(), roots.size()));
    for (Node *root : roots) {
        Node *container = root->container();
        const int row = root->indexInParent();
        std::unique_ptr<Node> taken = SubtreePart::takeOut(*this, m_db, root);
        // The tray lets go of what went with the subtree.
        std::vector<Node *> tray = m_db.TrayNodes;
        const auto dropped = std::erase_if(m_db.TrayNodes, [&](const Node *node) {
            return node == root || root->isAncestorOf(node);
        });
        record(std::make_unique<SubtreePart>(std::move(taken), container, row));
        if (dropped > 0) {
            record(std::make_unique<TrayPart>(std::move(tray)));
            Q_EMIT trayChanged();
        }
        setModified();
    }
}

bool Document::acceptsDrop(const Node *target)
{
    return !target || !target->isItem();
}

bool Document::moveNodes(const QList<Node *> &nodes, Node *target)
{
    if (!acceptsDrop(target))
        return false;
    Recording recording(*this, stepName(QStringLiteral("Verschieben von »%1«"),
                                        QStringLiteral("Verschieben von %1 Einträgen"),
                                        nodes.isEmpty() ? Text() : nodes.front()->name(),
                                        nodes.size()));
    bool moved = false;
    for (Node *node : nodes) {
        if (node == target || node->isAncestorOf(target))
            continue;
        Node &to = m_db.childrenOf(target);
        // The last child of the target is where it would go already.
        const int last = to.childCount() - 1;
        if (node->container() == &to && node->indexInParent() == last)
            continue;
        moved = true;
        record(std::make_unique<MovePart>(node, node->container(), node->indexInParent()));
        MovePart::move(*this, m_db, node, &to, node->container() == &to ? last : last + 1);
    }
    if (!moved)
        return false;
    setModified();
    sortChildren(target);
    return true;
}

void Document::sortChildren(Node *parent)
{
    Recording recording(*this, QStringLiteral("Sortieren"));
    OrderPart::Before before = OrderPart::capture(m_db.childrenOf(parent), false);
    Q_EMIT childrenAboutToBeSorted(parent);
    SortChildren(m_db.childrenOf(parent), m_sortCriteria);
    Q_EMIT childrenSorted(parent);
    record(OrderPart::since(std::move(before)));
    sortTray();
}

void Document::sortTree()
{
    Recording recording(*this, QStringLiteral("Sortieren"));
    OrderPart::Before before = OrderPart::capture(m_db.topLevel(), true);
    Q_EMIT treeAboutToBeSorted();
    SortTree(m_db.topLevel(), m_sortCriteria);
    Q_EMIT treeSorted();
    record(OrderPart::since(std::move(before)));
    sortTray();
}

void Document::setItem(Node *itemNode, const TTipItem &values, ItemEdit edit)
{
    if (edit == ItemEdit::Typing && continuesTyping(itemNode)) {
        *itemNode->item() = values;
    } else {
        Recording recording(*this, stepName(edit == ItemEdit::Typing
                                                ? QStringLiteral("Eingabe in »%1«")
                                                : QStringLiteral("Bearbeiten von »%1«"),
                                            {}, itemNode->name(), 1));
        if (edit == ItemEdit::Typing)
            recording.step().typingKey = itemNode;
        record(std::make_unique<ItemsPart>(itemNode, *itemNode->item()));
        *itemNode->item() = values;
    }
    Q_EMIT itemChanged(itemNode);
    setModified();
}

void Document::sortTray()
{
    std::vector<Node *> before = m_db.TrayNodes;
    if (!reorderTray())
        return;
    if (m_step)
        record(std::make_unique<TrayPart>(std::move(before)));
    Q_EMIT trayChanged();
}

bool Document::reorderTray()
{
    if (m_db.TrayNodes.size() < 2)
        return false;
    std::unordered_map<const Node *, int> position;
    const std::vector<Node *> all = m_db.preorder();
    for (std::size_t i = 0; i < all.size(); ++i)
        position.emplace(all[i], int(i));
    std::vector<Node *> sorted = m_db.TrayNodes;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](const Node *a, const Node *b) { return position[a] < position[b]; });
    if (sorted == m_db.TrayNodes)
        return false;
    m_db.TrayNodes = std::move(sorted);
    return true;
}

QList<Node *> Document::addToTray(const QList<Node *> &nodes)
{
    Recording recording(*this, QStringLiteral("Hinzufügen zur Ablagemappe"));
    std::vector<Node *> before = m_db.TrayNodes;
    QList<Node *> added;
    for (Node *node : nodes) {
        if (std::find(m_db.TrayNodes.begin(), m_db.TrayNodes.end(), node) != m_db.TrayNodes.end())
            continue;
        m_db.TrayNodes.push_back(node);
        added.append(node);
    }
    if (added.isEmpty())
        return added;
    record(std::make_unique<TrayPart>(std::move(before)));
    reorderTray();
    Q_EMIT trayChanged();
    setModified();
    return added;
}

void Document::removeFromTray(const QList<Node *> &nodes)
{
    Recording recording(*this, QStringLiteral("Entfernen aus der Ablagemappe"));
    std::vector<Node *> before = m_db.TrayNodes;
    const auto removed = std::erase_if(m_db.TrayNodes, [&nodes](Node *node) {
        return nodes.contains(node);
    });
    if (removed == 0)
        return;
    record(std::make_unique<TrayPart>(std::move(before)));
    Q_EMIT trayChanged();
    setModified();
}

void Document::clearTray()
{
    if (m_db.TrayNodes.empty())
        return;
    Recording recording(*this, QStringLiteral("Leeren der Ablagemappe"));
    record(std::make_unique<TrayPart>(std::move(m_db.TrayNodes)));
    m_db.TrayNodes.clear();
    Q_EMIT trayChanged();
    setModified();
}

void Document::setEncryption(bool on, EncryptionMode mode, const SecretBytes &password)
{
    if (m_db.Encrypted == on && m_db.Encryption == mode && m_db.Password == password)
        return;
    Recording recording(*this, QStringLiteral("Ändern der Verschlüsselung"));
    record(std::make_unique<EncryptionPart>(m_db));
    m_db.Encrypted = on;
    m_db.Encryption = mode;
    m_db.Password = password;
    Q_EMIT encryptionChanged();
}

} // namespace lexora
