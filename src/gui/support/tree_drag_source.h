#pragma once

#include "database/model.h"

#include <QList>

#include <functional>

class QObject;

namespace lexora {

// Where nodes are dragged from: a drag that starts in source (the main window's tree) carries
// the nodes selection() gives, in the order in which they were selected.
struct TreeDragSource {
    const QObject *source = nullptr;
    std::function<QList<Node *>()> selection;
};

} // namespace lexora
