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

std::optional<DateTime> readShortDate(QStringView text)
{
    const QDate day = QDate::fromString(text.trimmed().toString(), QStringLiteral("d.M.yyyy"));
    if (!day.isValid())
        return std::nullopt;
    return DateTime(QDate(1899, 12, 30).daysTo(day));
}

} // namespace lexora
