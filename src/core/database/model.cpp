#include "database/model.h"

#include "database/win1252.h"

#include <QFile>

#include <algorithm>
#include <unordered_map>

#include <fcntl.h>
#include <unistd.h>

namespace lexora {

int Node::level() const
{
    int level = 0;
    for (const Node *p = parent(); p; p = p->parent())
        ++level;
    return level;
}

int Node::indexInParent() const
{
    if (!m_parent)
        return -1;
    const auto &siblings = m_parent->m_children;
    for (std::size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == this)
            return int(i);
    return -1;
}

bool Node::isAncestorOf(const Node *node) const
{
    for (const Node *p = node ? node->m_parent : nullptr; p; p = p->m_parent)
        if (p == this)
            return true;
    return false;
}

Node *Node::appendChild(Text name)
{
    return insertChild(childCount(), std::make_unique<Node>(std::move(name)));
}

Node *Node::insertChild(int index, std::unique_ptr<Node> node)
{
    node->m_parent = this;
    Node *raw = node.get();
    m_children.insert(m_children.begin() + index, std::move(node));
    return raw;
}

std::unique_ptr<Node> Node::takeChild(int index)
{
    std::unique_ptr<Node> node = std::move(m_children[std::size_t(index)]);
    m_children.erase(m_children.begin() + index);
    node->m_parent = nullptr;
    return node;
}

std::vector<Node *> Node::childPointers() const
{
    std::vector<Node *> nodes;
    nodes.reserve(m_children.size());
    for (const auto &child : m_children)
        nodes.push_back(child.get());
    return nodes;
}

void Node::arrangeChildren(int first, const std::vector<Node *> &nodes)
{
    const auto begin = m_children.begin() + first;
    std::unordered_map<const Node *, std::size_t> position;
    position.reserve(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i)
        position.emplace(nodes[i], i);
    std::sort(begin, begin + qsizetype(nodes.size()), [&](const auto &a, const auto &b) {
        return position.at(a.get()) < position.at(b.get());
    });
}

void Node::rotateChildren(int first, int last, bool firstToEnd)
{
    const auto begin = m_children.begin() + first;
    const auto end = m_children.begin() + last + 1;
    if (firstToEnd)
        std::rotate(begin, begin + 1, end);
    else
        std::rotate(begin, end - 1, end);
}

Database::Database() = default;

Database::~Database() = default;

int Database::templateIndex(int list, const TTemplate *tmpl) const
{
    const auto &v = templates(list);
    for (std::size_t i = 0; i < v.size(); ++i)
        if (v[i].get() == tmpl)
            return int(i);
    return -1;
}

Node *Database::FindChildNode(Node *parent, const Text &name, bool create)
{
    Node &container = childrenOf(parent);
    for (Node &child : container.children())
        if (child.name() == name)
            return &child;
    return create ? container.appendChild(name) : nullptr;
}

TTemplate *Database::FindTemplate(int list, const Text &name) const
{
    for (const auto &t : templates(list))
        if (t->Name == name)
            return t.get();
    return nullptr;
}

TInclFile *Database::FindIncludedFile(const Text &name) const
{
    for (const auto &f : IncludedFiles)
        if (f->Name == name)
            return f.get();
    return nullptr;
}

QString Database::includedFilePath(const Text &name) const
{
    return IncludedFilesFolder + win1252::toUnicode(name);
}

namespace {

// The nodes below top in depth-first pre-order, as Node * or as const Node *.
template <class N>
std::vector<N *> nodesBelow(N &top)
{
    std::vector<N *> out;
    std::vector<N *> stack{&top};
    while (!stack.empty()) {
        N *n = stack.back();
        stack.pop_back();
        if (n != &top)
            out.push_back(n);
        for (int i = n->childCount() - 1; i >= 0; --i)
            stack.push_back(n->child(i));
    }
    return out;
}

} // namespace

std::vector<const Node *> Database::preorder() const
{
    return nodesBelow(m_topLevel);
}

std::vector<Node *> Database::preorder()
{
    return nodesBelow(m_topLevel);
}

int Database::absoluteIndex(const Node *node) const
{
    const std::vector<const Node *> all = preorder();
    auto it = std::find(all.begin(), all.end(), node);
    return it == all.end() ? -1 : int(it - all.begin());
}

void Database::FreeDatabaseData()
{
    for (Node *n : preorder())
        n->setItem(nullptr);
    HTMLTemplates.clear();
    CSSTemplates.clear();
    DefaultHTMLTemplate = nullptr;
    DefaultCSSTemplate = nullptr;
    if (!IncludedFilesFolder.isEmpty() && !IncludedFiles.empty()) {
        // Each name relative to the folder, which is looked up once: there may be very many.
        const int folder = ::open(QFile::encodeName(IncludedFilesFolder).constData(),
                                  O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            for (const auto &f : IncludedFiles)
                ::unlinkat(folder, QFile::encodeName(win1252::toUnicode(f->Name)).constData(), 0);
            ::close(folder);
        }
    }
    IncludedFiles.clear();
}

void Database::ClearDatabase()
{
    Encrypted = false;
    Encryption = EncryptionMode::Compatible;
    Password.clear();
    StrongKeyCache.reset();
    TrayNodes.clear();
    FreeDatabaseData();
    while (m_topLevel.childCount() > 0)
        m_topLevel.takeChild(m_topLevel.childCount() - 1);
}

} // namespace lexora
