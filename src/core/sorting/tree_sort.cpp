#include "sorting/tree_sort.h"

#include "sorting/node_sort_key.h"

#include <unordered_map>

namespace lexora {
namespace {

// Sorts the children of each of the parents; every child's key is made once.
void sortChildrenOf(const std::vector<Node *> &parents, const SortCriteria &criteria)
{
    if (criteria.empty())
        return; // nothing tells nodes apart, and a stable sort would keep every order anyway
    std::size_t count = 0;
    for (const Node *parent : parents)
        count += std::size_t(parent->childCount());
    std::vector<NodeSortKey> keys;
    keys.reserve(count);
    std::unordered_map<const Node *, const NodeSortKey *> keyOf;
    keyOf.reserve(count);
    for (const Node *parent : parents)
        for (const Node &child : parent->children()) {
            keys.push_back(MakeNodeSortKey(child, criteria));
            keyOf.emplace(&child, &keys.back());
        }
    for (Node *parent : parents)
        parent->stableSortChildren([&](const Node &a, const Node &b) {
            return CompareNodeSortKeys(*keyOf.find(&a)->second, *keyOf.find(&b)->second,
                                       criteria) < 0;
        });
}

} // namespace

void SortChildren(Node &parent, const SortCriteria &criteria)
{
    sortChildrenOf({&parent}, criteria);
}

void SortTree(Node &root, const SortCriteria &criteria)
{
    std::vector<Node *> parents;
    std::vector<Node *> stack{&root};
    while (!stack.empty()) {
        Node *node = stack.back();
        stack.pop_back();
        if (node->childCount() == 0)
            continue;
        parents.push_back(node);
        for (Node &child : node->children())
            stack.push_back(&child);
    }
    sortChildrenOf(parents, criteria);
}

} // namespace lexora
