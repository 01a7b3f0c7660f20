#include "browser/browser_page.h"

#include <QClipboard>
#include <QGuiApplication>

namespace lexora {

namespace {

// Marks the console messages through which the page script hands text to the clipboard.
const QString kClipboardPrefix = QStringLiteral("\x01lexora-clipboard\x01");

// Takes the first navigation of a window that a page opens (a link with a target, window.open)
// and hands it to the link handler; the window itself is never shown.
class NewWindowCatcher : public QWebEnginePage {
public:
    NewWindowCatcher(QWebEngineProfile *profile, QObject *parent, BrowserPage::LinkHandler handler)
        : QWebEnginePage(profile, parent), m_handler(std::move(handler)) {}

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType, bool) override
    {
        if (BrowserPage::isExternalLink(url) && m_handler)
            m_handler(url);
        deleteLater();
        return false;
    }

private:
    BrowserPage::LinkHandler m_handler;
};

} // namespace

BrowserPage::BrowserPage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{
}

bool BrowserPage::isExternalLink(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https")
           || scheme == QLatin1String("mailto") || scheme == QLatin1String("ftp")
           || scheme == QLatin1String("news");
}

bool BrowserPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    // The display shows what the program writes into it; going back or forward would show
    // another node's page beside the tree's selection, and a reload nothing new.
    if (type == NavigationTypeBackForward || type == NavigationTypeReload)
        return false;
    if (type == NavigationTypeLinkClicked && isExternalLink(url)) {
        if (m_linkHandler)
            m_linkHandler(url);
        return false;
    }
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

QWebEnginePage *BrowserPage::createWindow(WebWindowType)
{
    return new NewWindowCatcher(profile(), this, m_linkHandler);
}

void BrowserPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &message,
                                           int, const QString &)
{
    if (message.startsWith(kClipboardPrefix))
        QGuiApplication::clipboard()->setText(message.mid(kClipboardPrefix.size()));
}

QString pageSupportScript()
{
    // clipboardData is the clipboard object the default templates use. The second part serves
    // pages written for browsers that left whitespace between tags out of the document: there,
    // nextSibling of an element is the next element, so a whitespace text node passes innerText
    // and style on to the element after it (text nodes have neither property of their own).
    return QStringLiteral(R"JS(
(function () {
  if (window.clipboardData)
    return;
  var prefix = "%1";
  window.clipboardData = {
    setData: function (format, data) {
      console.log(prefix + (data === undefined || data === null ? "" : String(data)));
      return true;
    },
    getData: function () { return ""; },
    clearData: function () { return true; }
  };
  function blankForward(name) {
    if (name in Text.prototype)
      return;
    Object.defineProperty(Text.prototype, name, {
      configurable: true,
      get: function () {
        if (/\S/.test(this.data) || !this.nextElementSibling)
          return undefined;
        return this.nextElementSibling[name];
      }
    });
  }
  blankForward("innerText");
  blankForward("style");
  // A rule line takes its text colour as its line colour ("hr.head {color:red}" in the default
  // templates), where the engine would keep it grey; a line without a colour stays grey.
  // Without specificity, so that any rule of the page wins, and not for lines that a color
  // attribute paints.
  if (window.CSSStyleSheet && "adoptedStyleSheets" in document) {
    var lines = new CSSStyleSheet();
    lines.replaceSync(":where(hr:not([color])) { color: gray; border-color: currentColor; }");
    document.adoptedStyleSheets = document.adoptedStyleSheets.concat([lines]);
  }
})();
)JS")
        .arg(QStringLiteral("\\u0001lexora-clipboard\\u0001"));
}

} // namespace lexora
