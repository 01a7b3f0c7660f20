#pragma once

#include <QWebEnginePage>

#include <functional>

namespace lexora {

// The page behind a BrowserView: links to the web leave the display for the user's browser,
// and the clipboard calls of the injected script reach the system clipboard.
class BrowserPage : public QWebEnginePage {
    Q_OBJECT

public:
    using LinkHandler = std::function<void(const QUrl &)>;

    BrowserPage(QWebEngineProfile *profile, QObject *parent);

    void setExternalLinkHandler(LinkHandler handler) { m_linkHandler = std::move(handler); }

    // True for addresses that belong in the user's web browser or mail program.
    static bool isExternalLink(const QUrl &url);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message,
                                  int lineNumber, const QString &sourceID) override;

private:
    LinkHandler m_linkHandler;
};

// The script given to every document of a BrowserView.
QString pageSupportScript();

} // namespace lexora
