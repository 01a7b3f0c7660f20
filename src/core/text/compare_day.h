#pragma once

#include "database/model.h"

namespace lexora {

// Compares two dates by their day alone: 0 when the whole days (truncated toward zero) are equal,
// otherwise +1 when a >= b and -1 when a < b.
int CompareDay(DateTime a, DateTime b);

} // namespace lexora
