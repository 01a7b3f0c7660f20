#pragma once

#include "search/search_query.h"

namespace lexora {

// Tests the enabled conditions of the query in their order (creation date, modification date,
// creator, editor, HTML template, CSS template, line-break replacement); false at the first one
// that fails. Conditions concern items only: keys are never tested.
bool PassesItemConditions(const TTipItem &item, const SearchQuery &query);

} // namespace lexora
