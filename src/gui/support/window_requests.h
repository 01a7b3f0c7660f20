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
    void showNode(lexora::Node *node);
    // Show the main window's selection and every item window's page again (after a change that
    // the pages show); reloadCode also reloads the items' code into the item windows.
    void refreshDisplays(bool reloadCode);
    // Open the item editor for this item.
    void editItem(lexora::Node *node);
    // Show the main window's selection again if it is this node (an item window changed its code).
    void refreshSelectedNode(lexora::Node *node);
};

} // namespace lexora
