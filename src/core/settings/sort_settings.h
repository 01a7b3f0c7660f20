#pragma once

#include "settings/settings.h"
#include "sorting/sort_criteria.h"

namespace lexora {

// The sort criteria the settings hold: the levels within the count, leaving out a level that
// names no criterion or one a second time.
SortCriteria sortCriteriaFromSettings(const Settings &settings);

} // namespace lexora
