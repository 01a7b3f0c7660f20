#pragma once

#include "database/model.h"

namespace lexora {

// Today as the model keeps dates: days since 1899-12-30, without time of day.
DateTime today();

} // namespace lexora
