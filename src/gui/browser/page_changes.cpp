#include "browser/page_changes.h"

#include "document/document.h"

namespace lexora {

PageChanges::PageChanges(const Document &document, std::function<const Node *()> shown,
                         QObject *parent)
    : QObject(parent), m_shown(std::move(shown))
{
    connect(&document, &Document::itemChanged, this, [this](const Node *node) {
        if (node == m_shown())
            Q_EMIT pageChanged();
    });
    // A page shows the node's title, the titles above it and its level.
    for (auto moved : {&Document::nodeRenamed, &Document::nodeMoved})
        connect(&document, moved, this, [this](const Node *node) {
            if (shows(node))
                Q_EMIT pageChanged();
        });
    for (auto everyPage : {&Document::templatesChanged, &Document::includedFilesChanged,
                           &Document::databaseMerged})
        connect(&document, everyPage, this, [this] {
            if (m_shown())
                Q_EMIT pageChanged();
        });
    connect(&document, &Document::fileNameChanged, this, [this] {
        if (m_shown())
            Q_EMIT pageChanged();
    });
}

bool PageChanges::shows(const Node *node) const
{
    const Node *shown = m_shown();
    return shown && (node == shown || node->isAncestorOf(shown));
}

} // namespace lexora
