#include "sorting/sort_criteria.h"

#include "sorting/node_sort_key.h"

namespace lexora {

SortCriteria DefaultSortCriteria()
{
    return {{SortByType, 0}, {SortByTitle, 0}};
}

bool IsValidSortCriteria(const SortCriteria &criteria)
{
    if (criteria.size() > std::size_t(kMaxSortCriteria))
        return false;
    unsigned seen = 0;
    for (const SortCriterion &c : criteria) {
        if (c.criterion < SortByType || c.criterion > SortByModified || c.mode < 0 || c.mode > 1)
            return false;
        if (seen & (1u << c.criterion))
            return false;
        seen |= 1u << c.criterion;
    }
    return true;
}

int TreeView_ItemsCompare(const Node &a, const Node &b, const SortCriteria &criteria)
{
    return CompareNodeSortKeys(MakeNodeSortKey(a, criteria), MakeNodeSortKey(b, criteria),
                               criteria);
}

} // namespace lexora
