#include "browser/browser_view.h"

#include "browser/browser_page.h"
#include "setup/instance_folder.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QMenu>
#include <QRegularExpression>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace lexora {

namespace {

// The engine refuses a written document whose address, "data:" with the percent-encoded page,
// is longer than this; larger pages take the way through a file.
constexpr qsizetype kMaxDataUrl = 2 * 1024 * 1024 - 1024;

bool fitsDataUrl(const QByteArray &utf8)
{
    // Percent-encoding at most triples the size, so most pages need no counting.
    if (utf8.size() * 3 < kMaxDataUrl)
        return true;
    return utf8.size() < kMaxDataUrl && utf8.toPercentEncoding().size() < kMaxDataUrl;
}

// A page read from a file takes its base address from a <base> element: after a leading
// document type declaration (so the page keeps its rendering mode), else at the very start.
QByteArray withBase(const QByteArray &utf8, const QString &baseFolder)
{
    // Marked, so that a reader of the page can tell it from the page's own.
    const QByteArray base = "<base data-lexora-base href=\""
                            + QUrl::fromLocalFile(baseFolder).toEncoded().replace('"', "%22")
                            + "\">";
    static const QRegularExpression doctype(QStringLiteral("^\\s*<!doctype[^>]*>"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromUtf8(utf8.left(512));
    const QRegularExpressionMatch m = doctype.match(head);
    if (!m.hasMatch())
        return base + utf8;
    const qsizetype at = m.captured(0).toUtf8().size();
    return utf8.left(at) + base + utf8.mid(at);
}

} // namespace

BrowserView::BrowserView(QWidget *parent) : QWebEngineView(parent)
{
    auto *page = new BrowserPage(QWebEngineProfile::defaultProfile(), this);
    page->setExternalLinkHandler([](const QUrl &url) { QDesktopServices::openUrl(url); });
    QWebEngineScript script;
    script.setName(QStringLiteral("lexora-page-support"));
    script.setSourceCode(pageSupportScript());
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    page->scripts().insert(script);
    page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    // Pages ask for fonts such as "Tahoma"; where they are missing the desktop's own font reads
    // better than the engine's serif default.
    const QString desktopFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    page->settings()->setFontFamily(QWebEngineSettings::StandardFont, desktopFont);
    page->settings()->setFontFamily(QWebEngineSettings::SansSerifFont, desktopFont);
    setPage(page);
    connect(this, &QWebEngineView::loadFinished, this, [this](bool ok) {
        m_loading = false;
        history()->clear();
        if (ok)
            Q_EMIT documentShown();
    });
    showBlank();
}

BrowserView::~BrowserView() = default;

void BrowserView::setExternalLinkHandler(std::function<void(const QUrl &)> handler)
{
    static_cast<BrowserPage *>(page())->setExternalLinkHandler(std::move(handler));
}

QMenu *BrowserView::createContextMenu()
{
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopupMenu_Browser"));
    QAction *copy = menu->addAction(QStringLiteral("Kopieren"),
                                    [this] { triggerPageAction(QWebEnginePage::Copy); });
    copy->setEnabled(hasSelection());
    menu->addAction(QStringLiteral("Alles markieren"),
                    [this] { triggerPageAction(QWebEnginePage::SelectAll); });
    return menu;
}

void BrowserView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void BrowserView::readPageHtml(std::function<void(const QString &)> done)
{
    if (page()->isLoading()) {
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = connect(this, &QWebEngineView::loadFinished, this, [this, once, done] {
            disconnect(*once);
            readPageHtml(done);
        });
        return;
    }
    // Without the base element the display adds to a page read from a file.
    static const QString script = QStringLiteral(
        "(function() {"
        "  var root = document.documentElement;"
        "  if (!root) return null;"
        "  var base = root.querySelector('base[data-lexora-base]');"
        "  if (!base) return root.innerHTML;"
        "  var copy = root.cloneNode(true);"
        "  copy.querySelector('base[data-lexora-base]').remove();"
        "  return copy.innerHTML;"
        "})()");
    page()->runJavaScript(script, [done = std::move(done)](const QVariant &result) {
        if (result.typeId() != QMetaType::QString)
            done(QString());
        else if (QString html = result.toString(); html.isNull())
            done(QStringLiteral(""));
        else
            done(html);
    });
}

void BrowserView::showBlank()
{
    m_lastHtml.clear();
    m_loading = false;
    setUrl(QUrl(QStringLiteral("about:blank")));
}

void BrowserView::writeDocument(const QString &html, const QString &baseFolder)
{
    Q_EMIT pageWritten();
    // A click in the tree asks for the page it has just selected a second time; writing it again
    // while it still loads would only start the load anew.
    if (m_loading && html == m_lastHtml && baseFolder == m_lastBase)
        return;
    m_lastHtml = html;
    m_lastBase = baseFolder;
    m_loading = true;
    const QByteArray utf8 = html.toUtf8();
    if (fitsDataUrl(utf8))
        setContent(utf8, QStringLiteral("text/html;charset=UTF-8"),
                   QUrl::fromLocalFile(baseFolder));
    else
        writeLargeDocument(utf8, baseFolder);
}

void BrowserView::writeLargeDocument(const QByteArray &utf8, const QString &baseFolder)
{
    // In the instance's own folder: a page may hold decrypted text, and whatever a crash leaves
    // there is cleared at the next start.
    if (!m_largePages)
        m_largePages = std::make_unique<QTemporaryDir>(temporaryFolder() + QStringLiteral("pages-XXXXXX"));
    const auto fileName = [this](int n) {
        return m_largePages->filePath(QStringLiteral("page-%1.html").arg(n));
    };
    // The page before this one may still be loading; older ones are done with.
    QFile::remove(fileName(m_largePageCount - 1));
    const QString path = fileName(++m_largePageCount);
    QFile file(path);
    if (!m_largePages->isValid() || !file.open(QIODevice::WriteOnly)
        || file.write(withBase(utf8, baseFolder)) < 0) {
        setHtml(QStringLiteral("<p>Die Seite konnte nicht angezeigt werden: %1</p>")
                    .arg(file.errorString().toHtmlEscaped()));
        return;
    }
    file.close();
    setUrl(QUrl::fromLocalFile(path));
}

} // namespace lexora
