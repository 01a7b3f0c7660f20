#pragma once

#include "database/model.h"

#include <QObject>

#include <functional>

namespace lexora {

class Document;

// Tells a window that shows the page of one node when a change of the document changes that
// page: the node's item, its title or a title above it, its place in the tree, the templates
// (a renamed one rewrites item code), the included files, the file's name, or an import. Every
// page of the program follows the document this way, once per change, and never another window.
class PageChanges : public QObject {
    Q_OBJECT

public:
    // shown: the node whose page the window shows now; nullptr for none.
    PageChanges(const Document &document, std::function<const Node *()> shown,
                QObject *parent);

Q_SIGNALS:
    void pageChanged();

private:
    // The shown node is node or lies below it.
    bool shows(const Node *node) const;

    std::function<const Node *()> m_shown;
};

} // namespace lexora
