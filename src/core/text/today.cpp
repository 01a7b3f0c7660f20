#include "text/today.h"

#include <QDate>

namespace lexora {

DateTime today()
{
    return DateTime(QDate(1899, 12, 30).daysTo(QDate::currentDate()));
}

} // namespace lexora
