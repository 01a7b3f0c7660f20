// A change made in one window reaches every open window through the document alone: the main
// display, the information area and an item window each rebuild their page exactly once per
// change, whichever window or command made it.
#include "app/item_windows.h"
#include "browser/browser_view.h"
#include "codefield/code_field.h"
#include "database/file_format.h"
#include "itemwindow/item_window.h"
#include "mainwindow/info_area.h"
#include "support/gui_main_window.h"
#include "support/gui_modal.h"
#include "support/progress.h"
#include "templates/template_manager.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QWebEnginePage>

#include <functional>

using namespace lexora;
using namespace lexora::test;

namespace {

class ChangeChannelTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(sources.isValid());
        start();
        item = addItem(nullptr, "Notiz", "vorher");
        other = addItem(nullptr, "Andere", "fremd");
        select({item});
        window->ShowSelected();
        // The item window shows the same item's page on "Anzeige".
        window->command("ToolButton_NewWindow")->trigger();
        itemWindow = app->itemWindows().FindItemWindow(item);
        ASSERT_NE(itemWindow, nullptr);
        ASSERT_TRUE(shows(window->browser(), QStringLiteral("vorher")));
        ASSERT_TRUE(shows(itemWindow->WebBrowser, QStringLiteral("vorher")));
    }

    static QString pageText(BrowserView *browser)
    {
        return runJavaScript(browser->page(),
                             QStringLiteral("document.body ? document.body.innerText : ''"))
            .toString();
    }
    static bool shows(BrowserView *browser, const QString &text)
    {
        return QTest::qWaitFor([&] { return pageText(browser).contains(text); }, 15000);
    }

    // Runs change and checks that both pages show text afterwards, each written exactly once.
    void expectEveryPageOnce(const std::function<void()> &change, const QString &text)
    {
        QSignalSpy mainWrites(window->browser(), &BrowserView::pageWritten);
        QSignalSpy itemWrites(itemWindow->WebBrowser, &BrowserView::pageWritten);
        change();
        EXPECT_TRUE(shows(window->browser(), text)) << "main display";
        EXPECT_TRUE(shows(itemWindow->WebBrowser, text)) << "item window";
        EXPECT_EQ(mainWrites.size(), 1) << "the main display's page is built once";
        EXPECT_EQ(itemWrites.size(), 1) << "the item window's page is built once";
    }

    // A database file holding an item of the same name with other code.
    QString sourceWith(const Text &code)
    {
        Database source;
        source.IncludedFilesFolder = sources.path() + QStringLiteral("/files/");
        QDir().mkpath(source.IncludedFilesFolder);
        Node *node = source.topLevel().appendChild("Notiz");
        auto newItem = std::make_unique<TTipItem>();
        newItem->Code = code;
        node->setItem(std::move(newItem));
        const QString path = sources.path() + QStringLiteral("/quelle.lxd");
        NoProgress progress;
        SaveDatabase(source, path, false, progress);
        return path;
    }

    QTemporaryDir sources;
    Node *item = nullptr;
    Node *other = nullptr;
    ItemWindow *itemWindow = nullptr;
};

} // namespace

TEST_F(ChangeChannelTest, TypingInAnItemWindowReachesTheMainDisplay)
{
    itemWindow->PageControl->setCurrentWidget(itemWindow->TabSheet2);
    QSignalSpy mainWrites(window->browser(), &BrowserView::pageWritten);
    itemWindow->Memo_Content->moveCursor(QTextCursor::End);
    QTest::keyClicks(itemWindow->Memo_Content, QStringLiteral("!"));
    EXPECT_TRUE(shows(window->browser(), QStringLiteral("vorher!")));
    EXPECT_EQ(mainWrites.size(), 1) << "one key, one page";
    EXPECT_EQ(itemWindow->Memo_Content->toPlainText(), QStringLiteral("vorher!"))
        << "the window's own change leaves its code field as typed";
}

TEST_F(ChangeChannelTest, TheEditorsOkReachesEveryWindow)
{
    expectEveryPageOnce(
        [&] {
            whenModal([](QWidget *editor) {
                auto *field = editor->findChild<CodeField *>(QStringLiteral("Memo_Content"));
                field->selectAll();
                field->insertPlainText(QStringLiteral("nachher"));
                editor->findChild<QPushButton *>(QStringLiteral("Button_OK"))->click();
            });
            Q_EMIT app->requests().editItem(item);
        },
        QStringLiteral("nachher"));
    EXPECT_EQ(itemWindow->Memo_Content->toPlainText(), QStringLiteral("nachher"));
}

TEST_F(ChangeChannelTest, ATemplateSavedInTheTemplateManagerReachesEveryWindow)
{
    // The item's HTML template, changed and saved in the window, shows on both pages at once,
    // while the template manager is still open.
    TemplateManager &form = app->templateManager();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const Text used = item->item()->HTMLTemplate->Name;
    const QModelIndexList rows = form.ListView_Templates->model()->match(
        form.ListView_Templates->model()->index(0, 0), Qt::DisplayRole,
        QString::fromLatin1(used), 1, Qt::MatchExactly);
    ASSERT_EQ(rows.size(), 1);
    QTest::mouseClick(form.ListView_Templates->viewport(), Qt::LeftButton, {},
                      form.ListView_Templates->visualRect(rows.first()).center());
    ASSERT_EQ(form.Edit_Name->text(), QString::fromLatin1(used));
    expectEveryPageOnce(
        [&] {
            form.Memo_Content->setCode("<p>Vorlage neu</p>%text%");
            QTest::mouseClick(form.Button_Save, Qt::LeftButton);
        },
        QStringLiteral("Vorlage neu"));
    form.close();
}

TEST_F(ChangeChannelTest, AnImportReachesEveryWindowAndTheInformationArea)
{
    const QString file = sourceWith("importiert");
    expectEveryPageOnce(
        [&] {
            const ImportResult result = doc().importDatabases({file}, lpExistingEntries);
            EXPECT_FALSE(result.inputError);
            EXPECT_TRUE(result.refused.isEmpty());
        },
        QStringLiteral("importiert"));
    EXPECT_EQ(itemWindow->Memo_Content->toPlainText(), QStringLiteral("importiert"));
}

TEST_F(ChangeChannelTest, AChangeOfAnotherNodeLeavesThePagesAlone)
{
    QSignalSpy mainWrites(window->browser(), &BrowserView::pageWritten);
    QSignalSpy itemWrites(itemWindow->WebBrowser, &BrowserView::pageWritten);
    TTipItem values = *other->item();
    values.Code = "anders";
    doc().setItem(other, values);
    doc().renameNode(other, "Umbenannt");
    QCoreApplication::processEvents();
    EXPECT_EQ(mainWrites.size(), 0);
    EXPECT_EQ(itemWrites.size(), 0);
}

TEST_F(ChangeChannelTest, RenamingTheShownNodeReachesThePagesAndTheInformationArea)
{
    doc().setItem(item, [&] {
        TTipItem values = *item->item();
        values.Code = "%headline%";
        return values;
    }());
    ASSERT_TRUE(shows(window->browser(), QStringLiteral("Notiz")));
    expectEveryPageOnce([&] { doc().renameNode(item, "Neuer Titel"); },
                        QStringLiteral("Neuer Titel"));
    EXPECT_EQ(window->infoArea()->content().title, QStringLiteral("Neuer Titel"));
    EXPECT_EQ(itemWindow->windowTitle(), QStringLiteral("Neuer Titel"));
}
