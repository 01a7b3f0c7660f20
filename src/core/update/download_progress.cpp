#include "update/download_progress.h"

#include <QLocale>

#include <cmath>

namespace lexora {

QString downloadSize(qint64 bytes)
{
    static const char *const units[] = {"Byte", "KB", "MB", "GB", "TB"};
    double v = double(bytes);
    int k = 0;
    while (v >= 1024 && k < 5) {
        v /= 1024;
        ++k;
    }
    if (k == 5) {
        v *= 1024;
        k = 4;
    }
    const int places = int(QString::number(std::llround(v)).size());
    QLocale german(QLocale::German, QLocale::Germany);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    return german.toString(v, 'g', places + 1) + u' ' + QLatin1String(units[k]);
}

QString downloadPercent(qint64 received, qint64 total)
{
    return QString::number(std::llround(double(received) / double(total) * 100))
           + QStringLiteral(" %");
}

QString downloadStatus(qint64 received, qint64 total)
{
    return downloadSize(received) + QStringLiteral(" von ") + downloadSize(total)
           + QStringLiteral(" gedownloadet");
}

QString downloadTimeLeft(qint64 received, qint64 total, qint64 elapsedMsecs)
{
    if (received <= 0)
        return {};
    const double remaining = (double(total) / double(received) - 1) * double(elapsedMsecs) / 1000;
    const qint64 seconds = std::max<qint64>(0, std::llround(remaining));
    return QStringLiteral("verbleibende Zeit: %1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace lexora
