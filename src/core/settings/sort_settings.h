#pragma once

#include "settings/settings.h"
#include "sorting/sort_criteria.h"

namespace lexora {

// The sort criteria the settings hold: the levels within the count, leaving out a level that
// names no criterion or one a second time.
SortCriteria sortCriteriaFromSettings(const Settings &settings);

// Puts criteria into the settings, which write them at the program's end; the levels beyond
// the list keep their values.
void storeSortCriteria(Settings &settings, const SortCriteria &criteria);

} // namespace lexora
