#pragma once

#include <QString>

namespace lexora {

// A byte count in the largest unit up to TB that keeps it at least 1: one more significant digit
// than the rounded value has places, trailing zeros dropped, a decimal comma: 500 gives
// "500 Byte", 1536 "1,5 KB", 1048576 "1 MB".
QString downloadSize(qint64 bytes);

// The texts of the download display for received of total bytes (total above 0).
QString downloadPercent(qint64 received, qint64 total); // "37 %"
QString downloadStatus(qint64 received, qint64 total);  // "1,5 MB von 4 MB gedownloadet"
// "verbleibende Zeit: HH:mm:ss" at the pace so far; hours go on beyond 24. Empty while nothing
// has arrived, since no pace is known then.
QString downloadTimeLeft(qint64 received, qint64 total, qint64 elapsedMsecs);

} // namespace lexora
