#pragma once

#include "database/model.h"

namespace lexora {

// A node's path: the titles from the top level down to the node, joined by "\".
Text NodePath(const Node &node);

// The keys above a node as the tray shows them: each ancestor's title followed by "\", from the
// top level down ("A\B\" for a node in B in A, empty on the top level).
Text KeyPath(const Node &node);

// The node a path names, or nullptr. Titles may repeat among siblings and may hold "\"
// themselves: the first node in tree order whose path equals the given one is taken.
const Node *FindNodeByPath(const Database &db, const Text &path);
Node *FindNodeByPath(Database &db, const Text &path);

} // namespace lexora
