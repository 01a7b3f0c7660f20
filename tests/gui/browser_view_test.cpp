// The page display: included files by their paths, pages larger than the engine's 2 MB limit
// for written documents, the clipboard of the default templates, links to the web.
#include "browser/browser_view.h"
#include "setup/instance_folder.h"
#include "support/gui_main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineHistory>

#include <memory>

using namespace lexora;
using namespace lexora::test;

namespace {

class BrowserViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        base = folder.path() + QLatin1Char('/');
        view.resize(640, 480);
        view.show();
    }

    void show(const QString &html)
    {
        QSignalSpy shown(&view, &BrowserView::documentShown);
        view.writeDocument(html, base);
        ASSERT_TRUE(shown.wait(20000));
    }
    QVariant js(const QString &script) { return runJavaScript(view.page(), script); }
    // A click of the mouse, as the user gives it (pages may open windows only then).
    void click(const QString &id)
    {
        const QVariantList r = js("(function(){var r=document.getElementById('" + id
                                  + "').getBoundingClientRect();return [r.left+r.width/2,"
                                    "r.top+r.height/2];})()")
                                   .toList();
        ASSERT_EQ(r.size(), 2);
        QWidget *target = view.focusProxy() ? view.focusProxy() : &view;
        QTest::mouseClick(target, Qt::LeftButton, {},
                          QPoint(int(r[0].toDouble()), int(r[1].toDouble())));
    }

    QTemporaryDir folder;
    QString base;
    BrowserView view;
};

TEST_F(BrowserViewTest, IncludedFilesLoadByTheirPathAndRelativeToTheFolder)
{
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(base + "Bild 1.png"));
    show("<html><body><img id=a src=\"" + base + "Bild 1.png\"><img id=b src=\"Bild 1.png\">"
         "</body></html>");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return js("document.getElementById('a').complete").toBool(); }, 10000));
    EXPECT_EQ(js("document.getElementById('a').naturalWidth").toInt(), 7);
    EXPECT_EQ(js("document.getElementById('b').naturalWidth").toInt(), 7);
}

TEST_F(BrowserViewTest, LargePagesAreShownWhole)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(base + "klein.png"));
    // Characters that percent-encoding triples, so the page is far beyond the limit.
    const QString line = QString("<p>Zeile mit Umlauten äöü und Zeichen <>\"%</p>\n").replace("<>", "&lt;&gt;");
    QString body;
    while (body.size() < 3 * 1024 * 1024)
        body += line;
    show("<!DOCTYPE html><html><body><img id=b src=\"klein.png\">" + body
         + "<p id=last>Ende</p></body></html>");
    EXPECT_EQ(js("document.getElementById('last').innerText").toString(), "Ende");
    EXPECT_EQ(js("document.getElementsByTagName('p').length").toInt(),
              body.count("<p>") + 1);
    EXPECT_EQ(js("document.compatMode").toString(), "CSS1Compat") << "the doctype still counts";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return js("document.getElementById('b').naturalWidth").toInt() == 3; }, 10000));

    // A small page after a large one.
    show("<p id=x>klein</p>");
    EXPECT_EQ(js("document.getElementById('x').innerText").toString(), "klein");
}

TEST_F(BrowserViewTest, LargePagesAreWrittenIntoTheInstancesTemporaryFolder)
{
    QTemporaryDir home;
    QString pages;
    {
        InstanceFolder instance(home.path());
        show("<p id=x>" + QString(3 * 1024 * 1024, QLatin1Char('x')) + "</p>");
        pages = view.url().toLocalFile();
        EXPECT_TRUE(pages.startsWith(instance.temporaryFolder())) << pages.toStdString();
        EXPECT_TRUE(QFileInfo::exists(pages));
    }
    EXPECT_FALSE(QFileInfo::exists(pages));
}

TEST_F(BrowserViewTest, TheCopyLinksOfTheDefaultTemplatesFillTheClipboard)
{
    QGuiApplication::clipboard()->clear();
    // The pieces of ".Clpbrd #1" and ".Code #1" that copy.
    show("<span id=s onClick=\"window.clipboardData.setData('text', this.innerText)\">Kopie 1</span>"
         "<div>\r\n\t<small id=c onClick=\"window.clipboardData.setData('text', "
         "this.nextSibling.innerText); this.nextSibling.style.backgroundColor = '#EDE';\">"
         "In die Zwischenablage kopieren</small>\r\n\t<div id=d><code>int x = 1;</code></div></div>");
    js("document.getElementById('s').click()");
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return QGuiApplication::clipboard()->text() == "Kopie 1"; }, 5000))
        << QGuiApplication::clipboard()->text().toStdString();
    js("document.getElementById('c').click()");
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return QGuiApplication::clipboard()->text() == "int x = 1;"; }, 5000))
        << QGuiApplication::clipboard()->text().toStdString();
    EXPECT_EQ(js("document.getElementById('d').style.backgroundColor").toString(),
              "rgb(238, 221, 238)");
}

TEST_F(BrowserViewTest, LinksToTheWebLeaveTheDisplay)
{
    QList<QUrl> opened;
    view.setExternalLinkHandler([&](const QUrl &url) { opened.append(url); });
    // One link per line.
    show("<style>a{display:block}</style><a id=w href=\"https://example.org/seite\">Web</a>"
         "<a id=m href=\"mailto:jemand@example.org\">Post</a>"
         "<a id=t target=_blank href=\"http://example.org/neu\">Neu</a>"
         "<a id=i href=\"#unten\">Unten</a><p id=unten>x</p>");
    for (const char *id : {"w", "m", "t", "i"})
        click(id);
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened.size() >= 3; }, 5000));
    QTest::qWait(100);
    EXPECT_EQ(opened, (QList<QUrl>{QUrl("https://example.org/seite"),
                                   QUrl("mailto:jemand@example.org"),
                                   QUrl("http://example.org/neu")}));
    // The page itself stays.
    EXPECT_EQ(js("document.getElementById('unten').innerText").toString(), "x");
}

TEST_F(BrowserViewTest, RuleLinesTakeTheirTextColour)
{
    show("<html><head><style>hr.head {color:red} hr.own {color:red; border-color:green}</style>"
         "</head><body><hr id=a class=head><hr id=b><hr id=c color=blue><hr id=d class=own>"
         "</body></html>");
    const auto border = [this](const char *id) {
        return js(QString("getComputedStyle(document.getElementById('%1')).borderTopColor").arg(id))
            .toString();
    };
    EXPECT_EQ(border("a"), "rgb(255, 0, 0)");  // the default templates' red rule
    EXPECT_EQ(border("b"), "rgb(128, 128, 128)"); // a plain rule stays grey
    EXPECT_EQ(border("c"), "rgb(0, 0, 255)");  // the color attribute paints its own
    EXPECT_EQ(border("d"), "rgb(0, 128, 0)");  // the page's own border colour wins
    // The page itself is as written.
    EXPECT_EQ(js("document.querySelectorAll('style').length").toInt(), 1);
}

TEST_F(BrowserViewTest, TheDisplayNeverGoesBackForwardOrReloadsByItself)
{
    show("<p id=p>erste Seite</p>");
    show("<p id=p>zweite Seite</p>");
    js("window.marker = 7");
    EXPECT_FALSE(view.history()->canGoBack());
    for (const QWebEnginePage::WebAction action :
         {QWebEnginePage::Back, QWebEnginePage::Forward, QWebEnginePage::Reload})
        view.page()->triggerAction(action);
    js("history.back()");
    QTest::qWait(300);
    EXPECT_EQ(js("document.getElementById('p').innerText").toString(), "zweite Seite");
    EXPECT_EQ(js("window.marker").toInt(), 7);
}

TEST_F(BrowserViewTest, TheContextMenuIsAShortGermanOne)
{
    show("<p id=p>Text zum Kopieren</p>");
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), view.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&view, &event);
    QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
    auto *shown = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QStringList texts;
    for (QAction *a : shown->actions())
        texts << a->text();
    EXPECT_EQ(texts, QStringList({"Kopieren", "Alles markieren"}));
    EXPECT_FALSE(shown->actions()[0]->isEnabled()); // nothing is selected yet
    shown->close();

    std::unique_ptr<QMenu> menu(view.createContextMenu());
    menu->actions()[1]->trigger();
    QTRY_VERIFY(view.hasSelection());
    menu.reset(view.createContextMenu());
    ASSERT_TRUE(menu->actions()[0]->isEnabled());
    QGuiApplication::clipboard()->clear();
    menu->actions()[0]->trigger();
    QTRY_COMPARE(QGuiApplication::clipboard()->text().trimmed(), QString("Text zum Kopieren"));
}

} // namespace
