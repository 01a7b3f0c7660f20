#include "settings/sort_settings.h"

#include <algorithm>

namespace lexora {

SortCriteria sortCriteriaFromSettings(const Settings &settings)
{
    SortCriteria criteria;
    const int count = std::clamp(settings.CountSortCriteriums, 0, kMaxSortCriteria);
    for (int i = 0; i < count; ++i) {
        const SortCriterium &level = settings.SortCriteriums[std::size_t(i)];
        SortCriteria extended = criteria;
        extended.push_back({level.Criterium, level.Mode == 1 ? 1 : 0});
        if (IsValidSortCriteria(extended))
            criteria = std::move(extended);
    }
    return criteria;
}

} // namespace lexora
