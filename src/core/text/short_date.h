#pragma once

#include "database/model.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace lexora {

// The day of a date in the German short date format "dd.MM.yyyy"; the time of day is ignored.
// Empty for a value that is no date (not finite or beyond any calendar).
QString shortDate(DateTime date);

// The date written in the German short date format, at 00:00: day and month of one or two
// digits, a four-digit year, blanks around it ignored. Nothing for any other text.
std::optional<DateTime> readShortDate(QStringView text);

} // namespace lexora
