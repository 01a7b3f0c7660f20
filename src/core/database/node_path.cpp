#include "database/node_path.h"

namespace lexora {
namespace {

constexpr char Separator = '\\';

// Among the children of container, the first node (in tree order) whose path from here is
// path[from, end). A node's own title decides where its children's part begins, so every node is
// looked at once at most.
template <class N>
N *findBelow(N &container, const Text &path, qsizetype from)
{
    const QByteArrayView rest = QByteArrayView(path).sliced(from);
    for (N &child : container.children()) {
        const Text &title = child.name();
        if (!rest.startsWith(title))
            continue;
        if (rest.size() == title.size())
            return &child;
        if (rest[title.size()] != Separator)
            continue;
        if (N *found = findBelow(child, path, from + title.size() + 1))
            return found;
    }
    return nullptr;
}

} // namespace

Text NodePath(const Node &node)
{
    std::vector<const Node *> chain;
    for (const Node *n = &node; n; n = n->parent())
        chain.push_back(n);
    Text path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (it != chain.rbegin())
            path += Separator;
        path += (*it)->name();
    }
    return path;
}

Text KeyPath(const Node &node)
{
    const Node *parent = node.parent();
    return parent ? NodePath(*parent) + Separator : Text();
}

const Node *FindNodeByPath(const Database &db, const Text &path)
{
    return findBelow(db.topLevel(), path, 0);
}

Node *FindNodeByPath(Database &db, const Text &path)
{
    return findBelow(db.topLevel(), path, 0);
}

} // namespace lexora
