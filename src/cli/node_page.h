#pragma once

#include "database/model.h"

#include <QStringList>

namespace lexora::cli {

// The node a PATH argument names (titles from the top level joined by "\"); throws Error when
// there is none.
const Node &nodeAt(const Database &db, const QString &path);

// For the verbs that print something of one page, with the arguments
// FILE PATH [--files-dir DIR] [--password-file FILE]: opens FILE and builds the page the main
// window shows for the node at PATH. The included files are written to DIR, where they stay,
// or else to a temporary folder.
Text nodePageOf(const QStringList &arguments, const QString &usage);

// Writes model text to stdout as UTF-8, as it is.
void printText(const Text &text);

} // namespace lexora::cli
