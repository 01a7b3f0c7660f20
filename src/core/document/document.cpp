// The document's edits of the tree, the items, the tray and the encryption setting.
#include "document/document.h"

#include "database/win1252.h"
#include "sorting/tree_sort.h"
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

Node *Document::appendNode(Node *parent, const Text &title, std::unique_ptr<TTipItem> item)
{
    Node &list = m_db.childrenOf(parent);
    Q_EMIT nodeAboutToBeAdded(parent, list.childCount());
    Node *node = list.appendChild(title);
    node->setItem(std::move(item));
    Q_EMIT nodeAdded(node);
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
    Node *node = appendNode(parent, win1252::fromUnicode(QStringLiteral("Neuer Schlüssel")), nullptr);
    sortChildren(parent);
    return node;
}

Node *Document::newItem(Node *parent)
{
    Node *node = appendNode(parent, win1252::fromUnicode(QStringLiteral("Neuer Eintrag")),
                            newTipItem());
    sortChildren(parent);
    return node;
}

void Document::renameNode(Node *node, const Text &title)
{
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
    for (Node *root : roots) {
        std::vector<Node *> subtree{root};
        for (std::size_t i = 0; i < subtree.size(); ++i)
            for (Node &child : subtree[i]->children())
                subtree.push_back(&child);
        for (Node *node : subtree)
            Q_EMIT nodeAboutToBeRemoved(node);
        const std::size_t trayBefore = m_db.TrayNodes.size();
        Node *parent = root->parent();
        Q_EMIT subtreeAboutToBeRemoved(root);
        m_db.RemoveNode(root);
        Q_EMIT subtreeRemoved(parent);
        if (m_db.TrayNodes.size() != trayBefore)
            Q_EMIT trayChanged();
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
    bool moved = false;
    for (Node *node : nodes) {
        if (node == target || node->isAncestorOf(target))
            continue;
        Node &to = m_db.childrenOf(target);
        // The last child of the target is where it would go already.
        if (node->container() == &to && node->indexInParent() == to.childCount() - 1)
            continue;
        moved = true;
        Q_EMIT nodeAboutToBeMoved(node, target, to.childCount());
        to.insertChild(to.childCount(), node->container()->takeChild(node->indexInParent()));
        Q_EMIT nodeMoved(node);
    }
    if (!moved)
        return false;
    setModified();
    sortChildren(target);
    return true;
}

void Document::sortChildren(Node *parent)
{
    Q_EMIT childrenAboutToBeSorted(parent);
    SortChildren(m_db.childrenOf(parent), m_sortCriteria);
    Q_EMIT childrenSorted(parent);
    sortTray();
}

void Document::sortTree()
{
    Q_EMIT treeAboutToBeSorted();
    SortTree(m_db.topLevel(), m_sortCriteria);
    Q_EMIT treeSorted();
    sortTray();
}

void Document::setItem(Node *itemNode, const TTipItem &values)
{
    *itemNode->item() = values;
    Q_EMIT itemChanged(itemNode);
    setModified();
}

void Document::sortTray()
{
    if (reorderTray())
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
    QList<Node *> added;
    for (Node *node : nodes) {
        if (std::find(m_db.TrayNodes.begin(), m_db.TrayNodes.end(), node) != m_db.TrayNodes.end())
            continue;
        m_db.TrayNodes.push_back(node);
        added.append(node);
    }
    if (added.isEmpty())
        return added;
    reorderTray();
    Q_EMIT trayChanged();
    setModified();
    return added;
}

void Document::removeFromTray(const QList<Node *> &nodes)
{
    const auto removed = std::erase_if(m_db.TrayNodes, [&nodes](Node *node) {
        return nodes.contains(node);
    });
    if (removed == 0)
        return;
    Q_EMIT trayChanged();
    setModified();
}

void Document::clearTray()
{
    if (m_db.TrayNodes.empty())
        return;
    m_db.TrayNodes.clear();
    Q_EMIT trayChanged();
    setModified();
}

void Document::setEncryption(bool on, EncryptionMode mode, const SecretBytes &password)
{
    if (m_db.Encrypted == on && m_db.Encryption == mode && m_db.Password == password)
        return;
    m_db.Encrypted = on;
    m_db.Encryption = mode;
    m_db.Password = password;
    Q_EMIT encryptionChanged();
}

} // namespace lexora
