#pragma once

#include "database/model.h"

#include <QObject>

namespace lexora {

// What one window asks of the others, without knowing them: a window emits a request, and the
// window manager, the one place that knows every window, routes it to the window that does it.
// Windows hear about changes of the database from the Document, not from here.
class WindowRequests : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

Q_SIGNALS:
    // Select this node in the main window's tree and show it.
    void showNode(const lexora::Node *node);
    // Open the item editor for this item.
    void editItem(lexora::Node *node);
};

} // namespace lexora
