#include "sorting/node_sort_key.h"

#include "text/collation.h"
#include "text/compare_day.h"

#include <algorithm>

namespace lexora {
namespace {

int sign(int value)
{
    return (value > 0) - (value < 0);
}

int compareBy(int criterion, const NodeSortKey &a, const NodeSortKey &b)
{
    switch (criterion) {
    case SortByType:
        return int(a.isItem) - int(b.isItem);
    case SortByTitle:
        return sign(a.title->compare(*b.title));
    case SortByCreated:
        return a.isItem && b.isItem ? CompareDay(a.created, b.created) : 0;
    case SortByModified:
        return a.isItem && b.isItem ? CompareDay(a.modified, b.modified) : 0;
    default:
        return 0;
    }
}

} // namespace

NodeSortKey MakeNodeSortKey(const Node &node, const SortCriteria &criteria)
{
    NodeSortKey key;
    key.isItem = node.isItem();
    if (const TTipItem *item = node.item()) {
        key.created = item->Created;
        key.modified = item->Modified;
    }
    if (std::any_of(criteria.begin(), criteria.end(),
                    [](const SortCriterion &c) { return c.criterion == SortByTitle; }))
        key.title = TextSortKey(node.name());
    return key;
}

int CompareNodeSortKeys(const NodeSortKey &a, const NodeSortKey &b, const SortCriteria &criteria)
{
    int result = 0;
    for (const SortCriterion &c : criteria) {
        result = compareBy(c.criterion, a, b);
        if (c.mode == 1)
            result = -result;
        if (result != 0)
            break;
    }
    return result;
}

} // namespace lexora
