#pragma once

#include "support/secret_bytes.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <memory>
#include <ranges>
#include <vector>

namespace lexora {

// Model text: Windows-1252 bytes (see win1252.h for the only conversions).
using Text = QByteArray;

// Dates are days since 1899-12-30, the time of day as fraction.
using DateTime = double;

class StrongKey;

// Which encryption an encrypted database uses: the compatible password cipher, which only keeps
// out a casual look, or the strong container, which keeps out anyone without the password.
enum class EncryptionMode { Compatible, Strong };

struct TTemplate {
    Text Name;
    Text Code;
    Text Description;
};

// Index of a template list where code treats both alike.
enum TemplateList : int { HtmlTemplates = 0, CssTemplates = 1 };

struct TTipItem {
    Text Code;
    DateTime Created = 0;
    DateTime Modified = 0;
    Text CreatedBy;
    Text ModifiedBy;
    // An item only refers to its templates; they are owned and changed by the database's lists.
    const TTemplate *HTMLTemplate = nullptr; // owned by Database::HTMLTemplates
    const TTemplate *CSSTemplate = nullptr;  // owned by Database::CSSTemplates
    bool AutoFormat = true;
};

struct TInclFile {
    Text Name;
    qint32 Size = 0;
};

// A key (no item) or an item of the tree. Nodes are heap objects owned by their parent, so a
// Node* stays valid while the node is in the tree, wherever it moves. Constness is deep: a const
// node hands out only const items and nodes, so that what reads the database through the
// document's const view cannot change it.
class Node {
public:
    Node() = default;
    explicit Node(Text name) : m_name(std::move(name)) {}
    Node(const Node &) = delete;
    Node &operator=(const Node &) = delete;

    const Text &name() const { return m_name; }
    void setName(Text name) { m_name = std::move(name); }

    const TTipItem *item() const { return m_item.get(); }
    TTipItem *item() { return m_item.get(); }
    bool isItem() const { return m_item != nullptr; }
    void setItem(std::unique_ptr<TTipItem> item) { m_item = std::move(item); }

    // The parent node; nullptr for a top-level node (and for the invisible top-level container).
    const Node *parent() const { return m_parent && m_parent->m_parent ? m_parent : nullptr; }
    Node *parent() { return m_parent && m_parent->m_parent ? m_parent : nullptr; }
    // The node whose child list holds this one: the parent or the top-level container.
    const Node *container() const { return m_parent; }
    Node *container() { return m_parent; }
    // 0 for a top-level node.
    int level() const;

    int childCount() const { return int(m_children.size()); }
    const Node *child(int index) const { return m_children[std::size_t(index)].get(); }
    Node *child(int index) { return m_children[std::size_t(index)].get(); }
    // The children in order, as nodes: const ones from a const node.
    auto children() const { return std::views::transform(m_children, deref<const Node>); }
    auto children() { return std::views::transform(m_children, deref<Node>); }
    // Position among the siblings, counted from 0.
    int indexInParent() const;
    bool isAncestorOf(const Node *node) const;

    Node *appendChild(Text name);
    Node *insertChild(int index, std::unique_ptr<Node> node);
    std::unique_ptr<Node> takeChild(int index);

    // The children in order, as pointers.
    std::vector<Node *> childPointers() const;
    // Puts the children at first, first + 1, ... in the order of nodes, which must be exactly
    // those children.
    void arrangeChildren(int first, const std::vector<Node *> &nodes);
    // Turns the children first..last by one place: the first to the end, or the last to the front.
    void rotateChildren(int first, int last, bool firstToEnd);

    // Reorders the children with a stable sort; cmp(a, b) is a < b.
    template <class Less>
    void stableSortChildren(Less less);

private:
    template <class N>
    static N &deref(const std::unique_ptr<Node> &child) { return *child; }

    Text m_name;
    std::unique_ptr<TTipItem> m_item;
    Node *m_parent = nullptr;
    std::vector<std::unique_ptr<Node>> m_children;
};

// The open database. Exactly one is open in a running program; its fields carry the names the
// rest of the program uses for them.
class Database {
public:
    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // The invisible node whose children are the top-level nodes.
    Node &topLevel() { return m_topLevel; }
    const Node &topLevel() const { return m_topLevel; }
    // The child list of parent, or of the top level when parent is nullptr.
    Node &childrenOf(Node *parent) { return parent ? *parent : m_topLevel; }

    std::vector<std::unique_ptr<TTemplate>> HTMLTemplates;
    std::vector<std::unique_ptr<TTemplate>> CSSTemplates;
    TTemplate *DefaultHTMLTemplate = nullptr;
    TTemplate *DefaultCSSTemplate = nullptr;

    std::vector<std::unique_ptr<TInclFile>> IncludedFiles;
    // This instance's folder for the included files' bytes; ends with '/'.
    QString IncludedFilesFolder;

    std::vector<Node *> TrayNodes;

    // The encryption of the next save: none, the compatible cipher or the strong container.
    bool Encrypted = false;
    EncryptionMode Encryption = EncryptionMode::Compatible;
    SecretBytes Password;
    // The strong key of the last strong load or save, reused while password and cost fit.
    std::shared_ptr<const StrongKey> StrongKeyCache;

    QString CurrentFileName;
    bool DatabaseModified = false;

    std::vector<std::unique_ptr<TTemplate>> &templates(int list)
    { return list == HtmlTemplates ? HTMLTemplates : CSSTemplates; }
    const std::vector<std::unique_ptr<TTemplate>> &templates(int list) const
    { return list == HtmlTemplates ? HTMLTemplates : CSSTemplates; }
    TTemplate *&defaultTemplate(int list)
    { return list == HtmlTemplates ? DefaultHTMLTemplate : DefaultCSSTemplate; }
    TTemplate *defaultTemplate(int list) const
    { return list == HtmlTemplates ? DefaultHTMLTemplate : DefaultCSSTemplate; }
    // Position of a template in its list, -1 for none.
    int templateIndex(int list, const TTemplate *tmpl) const;

    // The first child of parent (the top level for nullptr) named exactly name; when there is
    // none and create is set, a new key of that name is appended and returned.
    Node *FindChildNode(Node *parent, const Text &name, bool create);
    TTemplate *FindTemplate(int list, const Text &name) const;
    TInclFile *FindIncludedFile(const Text &name) const;

    // Where the bytes of the included file of that name live.
    QString includedFilePath(const Text &name) const;

    // All nodes in depth-first pre-order; a node's position here is its absolute index.
    std::vector<const Node *> preorder() const;
    std::vector<Node *> preorder();
    // The absolute index of a node, -1 when it is not in the tree.
    int absoluteIndex(const Node *node) const;

    // Frees the items, templates and included files, deleting the included files' bytes.
    void FreeDatabaseData();
    // Empties the whole database: encryption off, tray, data, lists, defaults and tree.
    void ClearDatabase();

private:
    Node m_topLevel;
};

template <class Less>
void Node::stableSortChildren(Less less)
{
    std::stable_sort(m_children.begin(), m_children.end(),
                     [&](const std::unique_ptr<Node> &a, const std::unique_ptr<Node> &b) {
                         return less(*a, *b);
                     });
}

} // namespace lexora
