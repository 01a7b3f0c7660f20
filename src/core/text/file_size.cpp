#include "text/file_size.h"

#include <QLocale>

#include <array>
#include <cmath>

namespace lexora {

QString FormatFileSize(qint64 bytes)
{
    static const std::array<const char *, 5> units{"Byte", "KB", "MB", "GB", "TB"};
    double value = double(bytes);
    std::size_t unit = 0;
    while (value >= 1024 && unit + 1 < units.size()) {
        value /= 1024;
        ++unit;
    }
    const int wholeDigits = int(QString::number(std::llround(value)).size());
    QLocale german(QLocale::German, QLocale::Germany);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    return german.toString(value, 'g', wholeDigits + 1) + u' ' + QLatin1String(units[unit]);
}

} // namespace lexora
