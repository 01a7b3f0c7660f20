#pragma once

#include "database/model.h"

namespace lexora {

// A node's path: the titles from the top level down to the node, joined by "\".
Text NodePath(const Node &node);

// The node a path names, or nullptr. Titles may repeat among siblings and may hold "\"
// themselves: the first node in tree order whose path equals the given one is taken.
Node *FindNodeByPath(const Database &db, const Text &path);

} // namespace lexora
