#pragma once

#include "database/model.h"

#include <QDateTime>

namespace lexora {

// A moment in local time as a date value: days since 1899-12-30, the time of day as fraction.
DateTime dateValue(const QDateTime &moment);

// Today at 00:00, as the program compares days.
DateTime today();

} // namespace lexora
