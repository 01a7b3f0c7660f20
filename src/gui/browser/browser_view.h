#pragma once

#include <QTemporaryDir>
#include <QWebEngineView>

class QMenu;

#include <functional>
#include <memory>

namespace lexora {

// The page display of every window with a browser control. A page is written into it as a whole
// document (the text built for an item or a key); addresses in the page resolve against the
// included-files folder, so "%file%" paths load. Pages of any size are shown whole.
//
// Every page gets a small script that maps window.clipboardData.setData, which the default
// templates call, to the system clipboard. Links to web pages and mail addresses open in the
// user's web browser instead of inside the display. The display keeps no history and never goes
// back, forward or reloads by itself; its context menu offers copying only.
class BrowserView : public QWebEngineView {
    Q_OBJECT

public:
    explicit BrowserView(QWidget *parent = nullptr);
    ~BrowserView() override;

    // Replaces the document with html. baseFolder ends with a path separator.
    void writeDocument(const QString &html, const QString &baseFolder);
    // The empty document ("about:blank").
    void showBlank();

    // Where links to web pages go; the desktop's web browser unless a test sets another.
    void setExternalLinkHandler(std::function<void(const QUrl &)> handler);

    // The context menu: "Kopieren" (with a selection) and "Alles markieren".
    QMenu *createContextMenu();

    // The document's documentElement.innerHTML as the page was written, once a load under way
    // has finished; a null string when the display has no document.
    void readPageHtml(std::function<void(const QString &)> done);

Q_SIGNALS:
    // A page was handed to the display (also one that it shows or loads already).
    void pageWritten();
    // A document has finished loading.
    void documentShown();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void writeLargeDocument(const QByteArray &utf8, const QString &baseFolder);

    QString m_lastHtml;
    QString m_lastBase;
    bool m_loading = false;
    std::unique_ptr<QTemporaryDir> m_largePages;
    int m_largePageCount = 0;
};

} // namespace lexora
