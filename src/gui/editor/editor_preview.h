#pragma once

#include "render/page_builder.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <functional>
#include <optional>

namespace lexora {

class BrowserView;

// The item editor's preview: the page of the text being edited, built on a worker thread and
// written into the browser on the user-interface thread, so that a key press never waits for
// it. Typing asks for a new page after a short pause; a page that is outdated by then (newer
// text, a newer request) is dropped.
class EditorPreview : public QObject {
    Q_OBJECT

public:
    // What the page is built from, taken on the user-interface thread.
    struct Request {
        std::optional<Text> code; // the code as the model keeps it, when the field is unchanged
        QString fieldText;        // otherwise the field's text, converted on the worker
        PageTemplates templates;
        const Node *node = nullptr;
        const TTipItem *item = nullptr; // the stored record: dates and users as stored
        bool autoFormat = true;
    };

    // The pause after the last key before the page is built again.
    static constexpr int TypingPauseMs = 400;

    EditorPreview(const Database &db, BrowserView &browser, std::function<Request()> snapshot,
                  QObject *parent = nullptr);
    ~EditorPreview() override;

    // Builds the page of the current state now.
    void refresh();
    // The text changed: the page follows after a pause in typing.
    void textChanged();
    // Waits for a running build and forgets every pending one; before the database changes and
    // when the editor closes.
    void finish();

Q_SIGNALS:
    // A page went into the browser.
    void pageWritten();

private:
    void deliver(quint64 generation, quint64 revision, const QString &html);

    const Database &m_db;
    BrowserView &m_browser;
    std::function<Request()> m_snapshot;
    QTimer m_typingPause;
    QThreadPool m_worker;
    std::atomic<quint64> m_generation{0};
    quint64 m_revision = 0; // counts text changes
};

} // namespace lexora
