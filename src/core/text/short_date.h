#pragma once

#include "database/model.h"

#include <QString>

namespace lexora {

// The day of a date in the German short date format "dd.MM.yyyy"; the time of day is ignored.
// Empty for a value that is no date (not finite or beyond any calendar).
QString shortDate(DateTime date);

} // namespace lexora
