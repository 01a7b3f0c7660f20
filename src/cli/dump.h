#pragma once

#include "database/model.h"

#include <QJsonArray>
#include <QJsonObject>

namespace lexora::cli {

// The node list of container (the top level or a node) as the dump shows it, in the tree's
// current order: a sorted tree gives a sorted dump.
QJsonArray treeToJson(const Database &db, const Node &container);

// The whole database as the dump shows it; the tray as absolute indexes of the current tree.
QJsonObject databaseToJson(const Database &db);

} // namespace lexora::cli
