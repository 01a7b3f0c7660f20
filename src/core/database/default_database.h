#pragma once

#include <QByteArray>
#include <QString>

namespace lexora {

// The built-in default database, exactly as the program carries it (2055 bytes): five HTML
// templates with "HTML #1" as default, the CSS template "CSS #1", no nodes, an empty section list.
QByteArray DefaultDatabaseBytes();

// Writes those bytes to fileName as they are; throws Error when that fails.
void WriteDefaultDatabase(const QString &fileName);

} // namespace lexora
