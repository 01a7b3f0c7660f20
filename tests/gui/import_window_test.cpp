// The import window ImportWindow in the running program: files added with the open dialog and by
// dropping, the elements to take, the result compared with the core's import of the same files,
// the input checks in the warning balloon, encrypted and damaged sources, and the tree and the
// display afterwards.
#include "browser/browser_view.h"
#include "database/file_format.h"
#include "exchange/import_window.h"
#include "help/balloon_help.h"
#include "help/balloons.h"
#include "mainwindow/tree_model.h"
#include "mainwindow/tree_view.h"
#include "support/database_fixtures.h"
#include "support/gui_main_window.h"
#include "support/gui_modal.h"
#include "support/test_document.h"
#include "support/gui_activation.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QWebEnginePage>

#include <functional>

using namespace lexora;
using namespace lexora::test;

namespace {

const QString kImported = QStringLiteral("Die Datenbanken wurden importiert.");

Node *appendItem(Node &parent, const Text &name, const Text &code)
{
    Node *node = parent.appendChild(name);
    auto item = std::make_unique<TTipItem>();
    item->Code = code;
    node->setItem(std::move(item));
    return node;
}

class ImportWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(sources.isValid());
        // The open database: "Rezepte" with the item "Kuchen".
        startFile = source(QStringLiteral("start.lxd"), [](Database &db) {
            Node *rezepte = db.topLevel().appendChild("Rezepte");
            appendItem(*rezepte, "Kuchen", "alt");
        });
        start(startFile);
    }

    // A database file among the sources, filled by fill; encrypted when a password is given.
    QString source(const QString &name, const std::function<void(Database &)> &fill,
                   const Text &password = {})
    {
        Database db;
        db.IncludedFilesFolder = sources.path() + QStringLiteral("/files-") + name + '/';
        QDir().mkpath(db.IncludedFilesFolder);
        fill(db);
        db.Encrypted = !password.isEmpty();
        db.Password = password;
        NoProgress progress;
        const QString path = sources.path() + QLatin1Char('/') + name;
        SaveDatabase(db, path, false, progress);
        return path;
    }

    // The open database after the core's import of the same files into the same start.
    std::string coreImport(const QStringList &files, LoadParts parts,
                           const QList<QByteArray> &passwords = {})
    {
        TestDocument reference;
        for (const QByteArray &password : passwords)
            reference.prompt.givePassword(password);
        reference->setSortCriteria(doc().sortCriteria());
        EXPECT_EQ(reference->open(startFile), Document::OpenResult::Opened);
        reference->importDatabases(files, parts);
        return describeDatabase(reference->database());
    }

    // The window shown without the menu, active, so that a warning is not hidden by its
    // activation.
    ImportWindow &shown()
    {
        ImportWindow &form = app->importWindow();
        form.show();
        EXPECT_TRUE(activate(&form)); // another window on the display may hold the focus
        return form;
    }

    static QStringList listed(const ImportWindow &form)
    {
        QStringList paths;
        for (int row = 0; row < form.ListView_Files->count(); ++row)
            paths.append(form.ListView_Files->item(row)->text());
        return paths;
    }

    // Drops the files onto the window as the file manager does.
    static void drop(ImportWindow &form, const QStringList &paths)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls.append(QUrl::fromLocalFile(path));
        mime.setUrls(urls);
        const QPoint at = form.rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(&form, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(&form, &dropped);
        QCoreApplication::processEvents(); // the files join once the drop has ended
    }

    static void setChecked(ImportWindow &form, std::initializer_list<int> rows, bool checked)
    {
        for (int row : rows)
            form.CheckListBox_Elements->item(row)->setCheckState(checked ? Qt::Checked
                                                                           : Qt::Unchecked);
    }

    TQZBalloonHelp &warning() { return *app->balloons().BalloonWarning; }

    QTemporaryDir sources;
    QString startFile;
};

} // namespace

TEST_F(ImportWindowTest, FilesAddedAndDroppedAreImportedAsTheCoreImportsThem)
{
    const Node *rezepte = db().topLevel().child(0);
    const Node *kuchen = rezepte->child(0);
    select({kuchen});
    ASSERT_TRUE(window->treeView()->isExpanded(window->treeModel()->indexOf(rezepte)));

    const QString a = source(QStringLiteral("a.lxd"), [](Database &db) {
        Node *key = db.topLevel().appendChild("Rezepte");
        appendItem(*key, "Kuchen", "neu");
        appendItem(*key, "Brot", "Sauerteig");
    });
    const QString b = source(QStringLiteral("B.lxd"), [](Database &db) {
        appendItem(*db.topLevel().appendChild("Zeug"), "Z", "z");
        auto file = std::make_unique<TInclFile>(TInclFile{"bild.png", 3});
        writeFileBytes(db.includedFilePath("bild.png"), "PNG");
        db.IncludedFiles.push_back(std::move(file));
    });
    const QString c = source(QStringLiteral("c.lxd"), [](Database &db) {
        db.HTMLTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"Rahmen", "R", "%text%"}));
        db.CSSTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"Farbe", "", "p{}"}));
    });
    const LoadParts parts = lpHTMLTemplates | lpNewEntries | lpExistingEntries | lpIncludedFiles;
    const std::string expected = coreImport({a, b, c}, parts);

    dialogs.openMany.enqueue(QStringList{b, a});
    bool seen = false;
    whenModal([&](QWidget *modal) {
        auto *form = qobject_cast<ImportWindow *>(modal);
        ASSERT_NE(form, nullptr);
        seen = true;
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Datenbank importieren"));
        EXPECT_EQ(form->PageControl->currentWidget(), form->TabSheet1);
        EXPECT_EQ(form->PageControl->tabText(0), QStringLiteral("Dateien"));
        EXPECT_EQ(form->PageControl->tabText(1), QStringLiteral("Elemente"));
        EXPECT_EQ(form->Label1->text(),
                  QStringLiteral("Geben Sie die Datenbanken an, die importiert werden sollen."));
        EXPECT_EQ(form->Button_Add->text(), QStringLiteral("Hinzufügen"));
        EXPECT_EQ(form->Button_Del->text(), QStringLiteral("Entfernen"));
        EXPECT_EQ(form->Button_Next->text(), QStringLiteral("Weiter >"));
        EXPECT_EQ(form->Button_Cancel->text(), QStringLiteral("Abbrechen"));
        EXPECT_EQ(form->ListView_Files->count(), 0);
        EXPECT_FALSE(form->Button_Del->isEnabled());

        QTest::mouseClick(form->Button_Add, Qt::LeftButton);
        drop(*form, {c});
        // Sorted by path without regard to case.
        EXPECT_EQ(listed(*form), (QStringList{a, b, c}));

        QTest::mouseClick(form->Button_Next, Qt::LeftButton);
        EXPECT_EQ(form->PageControl->currentWidget(), form->TabSheet2);
        EXPECT_EQ(form->Label2->text(), QStringLiteral("Markieren Sie die zu importierenden Elemente."));
        EXPECT_EQ(form->Button_Back->text(), QStringLiteral("< Zurück"));
        EXPECT_EQ(form->Button_Import->text(), QStringLiteral("Importieren"));
        QStringList rows;
        for (int row = 0; row < form->CheckListBox_Elements->count(); ++row) {
            const QListWidgetItem *item = form->CheckListBox_Elements->item(row);
            const bool header = row == 0 || row == 3 || row == 6;
            rows.append(item->text());
            SCOPED_TRACE(item->text().toStdString());
            EXPECT_EQ(item->font().bold(), header);
            EXPECT_EQ(bool(item->flags() & Qt::ItemIsUserCheckable), !header);
            EXPECT_EQ(item->data(Qt::CheckStateRole).isValid(), !header);
            if (!header) {
                EXPECT_EQ(item->checkState(), Qt::Checked);
            }
            EXPECT_EQ(form->CheckListBox_Elements->visualItemRect(item).height() == 24, header);
        }
        EXPECT_EQ(rows, (QStringList{"Vorlagen", "HTML-Vorlagen importieren",
                                     "CSS-Vorlagen importieren", "Einträge",
                                     "Nicht vorhandene Einträge importieren",
                                     "Vorhandene Einträge importieren (bestehende ersetzen)",
                                     "Sonstiges", "Eingebundene Dateien importieren"}));
        setChecked(*form, {2}, false); // no CSS templates

        QTest::mouseClick(form->Button_Import, Qt::LeftButton);
        if (form->isVisible())
            form->reject();
    });
    window->command("MenuItem_Import")->trigger();
    ASSERT_TRUE(seen);

    EXPECT_EQ(prompt.messages(), QStringList{kImported});
    EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("Vorgang abgeschlossen"));
    EXPECT_EQ(describeDatabase(db()), expected);
    EXPECT_TRUE(db().DatabaseModified);
    EXPECT_EQ(childTitles(db(), nullptr), (QStringList{"Rezepte", "Zeug"}));
    EXPECT_EQ(childTitles(db(), rezepte), (QStringList{"Brot", "Kuchen"}));
    // The tree shows the same node open and selected; the display shows its new code.
    EXPECT_TRUE(window->treeView()->isExpanded(window->treeModel()->indexOf(rezepte)));
    EXPECT_EQ(window->selectedNodes(), QList<Node *>{window->treeModel()->nodeOf(window->treeModel()->indexOf(kuchen))});
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return runJavaScript(window->browser()->page(), QStringLiteral("document.body.innerText"))
                   .toString()
                   .contains(QStringLiteral("neu"));
    }, 15000));
}

TEST_F(ImportWindowTest, InputErrorsPointAtTheirListOnItsPage)
{
    const QString a = source(QStringLiteral("a.lxd"), [](Database &db) {
        db.topLevel().appendChild("Neu");
    });
    const std::string before = describeDatabase(db());
    const QString filesMessage = QStringLiteral(
        "Sie müssen die Datenbanken, die importiert werden sollen, zur Liste hinzufügen.");
    const QString elementsMessage =
        QStringLiteral("Sie müssen mindestens ein Element angeben, das importiert werden soll.");
    const struct {
        bool withFile;
        bool anyChecked;
        bool atFiles; // the warning's list and page
        QString message;
    } cases[] = {
        {false, true, true, filesMessage},
        {false, false, true, filesMessage}, // the first failing check wins
        {true, false, false, elementsMessage},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        ImportWindow &form = shown();
        if (c.withFile)
            form.AddImportFiles({a});
        if (!c.anyChecked)
            setChecked(form, {1, 2, 4, 5, 7}, false);
        QTest::mouseClick(form.Button_Next, Qt::LeftButton);
        QTest::mouseClick(form.Button_Import, Qt::LeftButton);

        QWidget *control = c.atFiles ? static_cast<QWidget *>(form.ListView_Files)
                                     : form.CheckListBox_Elements;
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.PageControl->currentWidget(), c.atFiles ? form.TabSheet1 : form.TabSheet2);
        EXPECT_TRUE(warning().isVisible());
        EXPECT_EQ(warning().tipControl(), control);
        EXPECT_EQ(warning().Text, c.message);
        EXPECT_EQ(form.focusWidget(), control);
        EXPECT_EQ(describeDatabase(db()), before);
        EXPECT_FALSE(db().DatabaseModified);

        // Changing the page with its tab hides the balloon.
        const int other = form.PageControl->currentIndex() == 0 ? 1 : 0;
        QTabBar *tabs = form.PageControl->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(other).center());
        EXPECT_EQ(form.PageControl->currentIndex(), other);
        EXPECT_FALSE(warning().isVisible());
        form.reject();
    }
    EXPECT_TRUE(prompt.shown().isEmpty());
}

TEST_F(ImportWindowTest, OtherExtensionsAreAskedAboutOncePerAdding)
{
    ImportWindow &form = shown();
    const QString bak = sources.path() + QStringLiteral("/alt.bak");
    const QString txt = sources.path() + QStringLiteral("/liste.txt");
    prompt.answer(UserPrompt::Answer::No);
    dialogs.openMany.enqueue(QStringList{bak, txt});
    QTest::mouseClick(form.Button_Add, Qt::LeftButton);
    EXPECT_TRUE(listed(form).isEmpty());
    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown()[0].caption, QStringLiteral("Falsche Dateinamenserweiterung"));

    // A drop is an adding of its own: asked again, and the files go in.
    prompt.answer(UserPrompt::Answer::Yes);
    drop(form, {txt, bak, txt});
    EXPECT_EQ(listed(form), (QStringList{bak, txt}));
    EXPECT_EQ(prompt.shown().size(), 2);

    // Removing: the button acts on the selected entries only.
    EXPECT_FALSE(form.Button_Del->isEnabled());
    form.ListView_Files->item(0)->setSelected(true);
    EXPECT_TRUE(form.Button_Del->isEnabled());
    QTest::mouseClick(form.Button_Del, Qt::LeftButton);
    EXPECT_EQ(listed(form), QStringList{txt});
    EXPECT_FALSE(form.Button_Del->isEnabled());

    // Opened again: an empty list, every element checked, the first page.
    setChecked(form, {4}, false);
    QTest::mouseClick(form.Button_Next, Qt::LeftButton);
    form.reject();
    form.show();
    EXPECT_TRUE(listed(form).isEmpty());
    EXPECT_EQ(form.PageControl->currentWidget(), form.TabSheet1);
    EXPECT_EQ(form.CheckListBox_Elements->item(4)->checkState(), Qt::Checked);
    form.reject();
}

TEST_F(ImportWindowTest, AnEncryptedSourceAsksForItsPasswordAsWhenOpening)
{
    const QString plain = source(QStringLiteral("offen.lxd"), [](Database &db) {
        db.topLevel().appendChild("Offen");
    });
    const QString secret = source(QStringLiteral("geheim.lxd"), [](Database &db) {
        db.topLevel().appendChild("Geheim");
    }, "Passwort");
    const struct {
        QStringList files; // in the list's order
        QByteArray password; // empty: the question is cancelled
        QStringList topLevel;
        bool imported; // anything imported: the window closes
    } cases[] = {
        {{secret, plain}, "Passwort", {"Geheim", "Offen", "Rezepte"}, true},
        {{secret, plain}, "falsch", {"Offen", "Rezepte"}, true},
        {{secret}, "", {"Rezepte"}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.password.toStdString());
        ASSERT_EQ(doc().open(startFile), Document::OpenResult::Opened);
        const std::string expected = coreImport(c.files, lpNewEntries, {c.password});
        prompt.givePassword(c.password);
        const int shownBefore = int(prompt.shown().size());
        ImportWindow &form = shown();
        form.AddImportFiles(c.files);
        QTest::mouseClick(form.Button_Next, Qt::LeftButton);
        setChecked(form, {1, 2, 5, 7}, false);
        QTest::mouseClick(form.Button_Import, Qt::LeftButton);

        EXPECT_EQ(form.isVisible(), !c.imported);
        ASSERT_GT(prompt.shown().size(), shownBefore);
        const ScriptedPrompt::Shown &asked = prompt.shown()[shownBefore];
        EXPECT_EQ(asked.kind, QStringLiteral("password"));
        EXPECT_EQ(asked.caption, QStringLiteral("Passwort"));
        EXPECT_EQ(asked.text, "Die Datei \"" + secret
                                  + "\" ist passwortgeschützt. Geben Sie das Passwort ein.");
        // A refused source is named in the closing message.
        EXPECT_EQ(prompt.shown().last().text.contains(secret), c.password != "Passwort");
        EXPECT_EQ(childTitles(db(), nullptr), c.topLevel);
        EXPECT_EQ(describeDatabase(db()), expected);
        EXPECT_EQ(db().DatabaseModified, c.imported);
        // The open database keeps its own protection.
        EXPECT_FALSE(db().Encrypted);
        form.reject();
    }
}

TEST_F(ImportWindowTest, ADamagedSourceIsNamedAndLeavesAConsistentDatabase)
{
    const QString good = source(QStringLiteral("a.lxd"), [](Database &db) {
        appendItem(*db.topLevel().appendChild("Gut"), "Eins", "1");
    });
    const QString damaged = source(QStringLiteral("b.lxd"), [](Database &db) {
        Node *key = db.topLevel().appendChild("Kaputt");
        for (int i = 0; i < 50; ++i)
            appendItem(*key, "Eintrag " + QByteArray::number(i), QByteArray(200, 'x'));
    });
    QByteArray bytes = readFileBytes(damaged);
    writeFileBytes(damaged, bytes.left(bytes.size() / 2));

    ImportWindow &form = shown();
    form.AddImportFiles({good, damaged});
    QTest::mouseClick(form.Button_Next, Qt::LeftButton);
    QTest::mouseClick(form.Button_Import, Qt::LeftButton);

    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown()[0].icon, UserPrompt::Icon::Error);
    EXPECT_TRUE(prompt.shown()[0].text.contains(damaged)) << prompt.shown()[0].text.toStdString();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(db().DatabaseModified);
    // The file before the damaged one is in; the import stopped before its final sort.
    EXPECT_EQ(childTitles(db(), nullptr).mid(0, 2), (QStringList{"Rezepte", "Gut"}));
    form.reject();

    // What the import left is a whole database: it saves and reads back the same (opening
    // sorts the tree, so the open one is sorted for the comparison).
    const QString saved = sources.path() + QStringLiteral("/danach.lxd");
    doc().saveAs(saved);
    TestDocument reread;
    ASSERT_EQ(reread->open(saved), Document::OpenResult::Opened);
    doc().sortTree();
    EXPECT_EQ(describeDatabase(reread->database()), describeDatabase(db()));
}
