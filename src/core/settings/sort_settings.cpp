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

void storeSortCriteria(Settings &settings, const SortCriteria &criteria)
{
    const std::size_t count = std::min<std::size_t>(criteria.size(), kMaxSortCriteria);
    settings.CountSortCriteriums = int(count);
    for (std::size_t i = 0; i < count; ++i)
        settings.SortCriteriums[i] = {quint8(criteria[i].criterion), quint8(criteria[i].mode)};
}

} // namespace lexora
