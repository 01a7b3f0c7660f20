#pragma once

#include "sorting/sort_criteria.h"

#include <QCollatorSortKey>

#include <optional>

namespace lexora {

// What the comparison reads of a node, taken once per node so that sorting many nodes does not
// collate their titles again on every comparison.
struct NodeSortKey {
    bool isItem = false;
    std::optional<QCollatorSortKey> title; // only when a criterion compares titles
    DateTime created = 0;
    DateTime modified = 0;
};

NodeSortKey MakeNodeSortKey(const Node &node, const SortCriteria &criteria);

// The one comparison behind TreeView_ItemsCompare and every sort of the tree.
int CompareNodeSortKeys(const NodeSortKey &a, const NodeSortKey &b, const SortCriteria &criteria);

} // namespace lexora
