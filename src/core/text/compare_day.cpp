#include "text/compare_day.h"

#include <cmath>

namespace lexora {

int CompareDay(DateTime a, DateTime b)
{
    if (std::trunc(a) == std::trunc(b))
        return 0;
    return a >= b ? 1 : -1;
}

} // namespace lexora
