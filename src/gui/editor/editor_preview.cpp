#include "editor/editor_preview.h"

#include "browser/browser_view.h"
#include "database/win1252.h"
#include "text/code_field_text.h"

namespace lexora {

EditorPreview::EditorPreview(const Database &db, BrowserView &browser,
                             std::function<Request()> snapshot, QObject *parent)
    : QObject(parent), m_db(db), m_browser(browser), m_snapshot(std::move(snapshot))
{
    m_worker.setMaxThreadCount(1);
    m_typingPause.setSingleShot(true);
    m_typingPause.setInterval(TypingPauseMs);
    connect(&m_typingPause, &QTimer::timeout, this, &EditorPreview::refresh);
}

EditorPreview::~EditorPreview()
{
    finish();
}

void EditorPreview::textChanged()
{
    ++m_revision;
    m_typingPause.start();
}

void EditorPreview::refresh()
{
    m_typingPause.stop();
    Request request = m_snapshot();
    if (!request.node)
        return;
    const quint64 generation = ++m_generation;
    const quint64 revision = m_revision;
    m_worker.start([this, generation, revision, request = std::move(request)] {
        // A newer request is waiting behind this one.
        if (generation != m_generation.load())
            return;
        const Text code = request.code ? *request.code : codeFromField(request.fieldText);
        QString html = win1252::toUnicode(BuildPage(m_db, code, request.templates, *request.node,
                                                    request.item, request.autoFormat));
        QMetaObject::invokeMethod(
            this, [this, generation, revision, html = std::move(html)] {
                deliver(generation, revision, html);
            },
            Qt::QueuedConnection);
    });
}

void EditorPreview::deliver(quint64 generation, quint64 revision, const QString &html)
{
    // Typed on since: the pause that follows asks for the page anew.
    if (generation != m_generation.load() || revision != m_revision)
        return;
    m_browser.writeDocument(html, m_db.IncludedFilesFolder);
    Q_EMIT pageWritten();
}

void EditorPreview::finish()
{
    m_typingPause.stop();
    ++m_generation;
    m_worker.waitForDone();
}

} // namespace lexora
