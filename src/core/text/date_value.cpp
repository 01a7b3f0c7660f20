#include "text/date_value.h"

namespace lexora {

namespace {

const QDate kEpoch(1899, 12, 30);
constexpr double kMsecsPerDay = 24.0 * 60 * 60 * 1000;

} // namespace

DateTime dateValue(const QDateTime &moment)
{
    const QDateTime local = moment.toLocalTime();
    return DateTime(kEpoch.daysTo(local.date()))
           + local.time().msecsSinceStartOfDay() / kMsecsPerDay;
}

DateTime today()
{
    return DateTime(kEpoch.daysTo(QDate::currentDate()));
}

} // namespace lexora
