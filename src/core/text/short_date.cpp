#include "text/short_date.h"

#include <QDate>

#include <cmath>

namespace lexora {

QString shortDate(DateTime date)
{
    // Whole days count toward zero: -1.5 is the day before the epoch at noon.
    constexpr double maxDays = 1e8; // far beyond year 9999, and within qint64
    if (!std::isfinite(date) || std::fabs(date) > maxDays)
        return {};
    const QDate day = QDate(1899, 12, 30).addDays(qint64(std::trunc(date)));
    return day.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace lexora
