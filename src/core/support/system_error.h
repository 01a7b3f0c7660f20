#pragma once

#include <QString>

class QFileDevice;

namespace lexora {

// The German text of a system error number (errno): "Der Dateiname ist zu lang".
QString systemErrorText(int error);

// A text that Qt or the C library gave for a failed file operation, in German. Both give the
// common system errors in English ("No such file or directory", "Unknown error"); those become
// the German text, anything else is returned as it was.
QString germanErrorText(const QString &text);

// Why the last operation of a file failed, in German.
QString fileErrorText(const QFileDevice &file);

} // namespace lexora
