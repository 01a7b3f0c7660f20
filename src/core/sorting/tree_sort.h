#pragma once

#include "sorting/sort_criteria.h"

namespace lexora {

// Stable sorts by TreeView_ItemsCompare: ties keep their order.

// The children of parent (for the top level: Database::topLevel()).
void SortChildren(Node &parent, const SortCriteria &criteria);
// The children of root and, recursively, the children of every node below it.
void SortTree(Node &root, const SortCriteria &criteria);

} // namespace lexora
