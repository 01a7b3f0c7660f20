// The main window's start and end: the home folder's content, the settings, the database it
// starts with.
#include "database/default_database.h"
#include "database/file_format.h"
#include "database/win1252.h"
#include "mainwindow/info_area.h"
#include "settings/settings.h"
#include "support/database_fixtures.h"
#include "support/gui_main_window.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

using namespace lexora;
using namespace lexora::test;

namespace {

// A database of two top-level nodes, stored with the item before the key.
QString writeSmallDatabase(const QString &path)
{
    Database db;
    Node *item = db.topLevel().appendChild("Anton");
    item->setItem(std::make_unique<TTipItem>());
    db.topLevel().appendChild("Zeppelin");
    NoProgress progress;
    SaveDatabase(db, path, false, progress);
    return path;
}

class StartTest : public MainWindowTest {};

TEST_F(StartTest, FirstStartWritesTheDefaultDatabaseAndStartsWithItsTemplates)
{
    start();
    EXPECT_EQ(readFileBytes(home + "Templates/Default.lxd"), DefaultDatabaseBytes());
    EXPECT_EQ(app->templatesFolder(), home + "Templates/");
    EXPECT_EQ(db().HTMLTemplates.size(), 5u);
    ASSERT_NE(db().DefaultHTMLTemplate, nullptr);
    EXPECT_EQ(db().DefaultHTMLTemplate->Name, "HTML #1");
    ASSERT_EQ(db().CSSTemplates.size(), 1u);
    EXPECT_EQ(db().DefaultCSSTemplate, db().CSSTemplates[0].get());
    EXPECT_EQ(db().topLevel().childCount(), 0);
    EXPECT_TRUE(db().CurrentFileName.isEmpty());
    EXPECT_FALSE(db().DatabaseModified);
    EXPECT_EQ(window->windowTitle(), "Lexora");
    EXPECT_EQ(app->instanceNumber(), 1);
    EXPECT_EQ(db().IncludedFilesFolder, home + "Included Files/1/");
    EXPECT_TRUE(QFileInfo(db().IncludedFilesFolder).isDir());
    EXPECT_TRUE(prompt.shown().isEmpty());

    // The end removes the instance's folder and writes the settings.
    const QString folder = db().IncludedFilesFolder;
    finish();
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(QFileInfo(home + "Included Files").isDir());
    EXPECT_TRUE(QFileInfo(home + "Settings.ini").isFile());
}

TEST_F(StartTest, AnExistingTemplatesFolderIsLeftAsItIs)
{
    ASSERT_TRUE(QDir().mkpath(home + "Templates"));
    start();
    EXPECT_FALSE(QFileInfo::exists(home + "Templates/Default.lxd"));
    // Without the standard template database the start is an empty database.
    EXPECT_TRUE(db().HTMLTemplates.empty());
}

TEST_F(StartTest, TheLastFileOpensSortedWhenAskedTo)
{
    const QString file = writeSmallDatabase(home + "last.lxd");
    Settings s;
    s.LastFile = file;
    saveSettings(home + "Settings.ini", s);
    start();
    EXPECT_EQ(db().CurrentFileName, file);
    EXPECT_EQ(childTitles(db(), nullptr), (QStringList{"Zeppelin", "Anton"}));
    EXPECT_EQ(window->windowTitle(), "Lexora - [" + file + "]");
    // No standard template database on top of it.
    EXPECT_TRUE(db().HTMLTemplates.empty());
}

TEST_F(StartTest, WithoutOpenLastTheStandardTemplateDatabaseIsLoaded)
{
    Settings s;
    s.LastFile = writeSmallDatabase(home + "last.lxd");
    s.OpenLast = false;
    saveSettings(home + "Settings.ini", s);
    start();
    EXPECT_TRUE(db().CurrentFileName.isEmpty());
    EXPECT_EQ(db().topLevel().childCount(), 0);
    EXPECT_EQ(db().HTMLTemplates.size(), 5u);
    EXPECT_FALSE(window->findChild<QAction *>("MenuItem_OpenLast")->isChecked());
}

TEST_F(StartTest, AMissingLastFileIsForgotten)
{
    Settings s;
    s.LastFile = home + "gone.lxd";
    saveSettings(home + "Settings.ini", s);
    start();
    EXPECT_TRUE(db().CurrentFileName.isEmpty());
    EXPECT_EQ(db().HTMLTemplates.size(), 5u);
    EXPECT_TRUE(prompt.shown().isEmpty());
    finish();
    EXPECT_TRUE(loadSettings(home + "Settings.ini", Settings()).LastFile.isEmpty());
}

TEST_F(StartTest, ADamagedLastFileLeavesTheStandardTemplateDatabaseAlone)
{
    const QString file = writeSmallDatabase(home + "last.lxd");
    QByteArray bytes = readFileBytes(file);
    writeFileBytes(file, bytes.left(bytes.size() - 3));
    Settings s;
    s.LastFile = file;
    saveSettings(home + "Settings.ini", s);
    start();
    EXPECT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(db().CurrentFileName.isEmpty());
    EXPECT_EQ(db().topLevel().childCount(), 0);
    EXPECT_EQ(db().HTMLTemplates.size(), 5u);
    // The damaged file is never overwritten by what was read of it.
    EXPECT_EQ(readFileBytes(file), bytes.left(bytes.size() - 3));
}

TEST_F(StartTest, AFileGivenAtStartOpensInsteadOfTheLastOne)
{
    Settings s;
    s.LastFile = writeSmallDatabase(home + "last.lxd");
    saveSettings(home + "Settings.ini", s);
    Database other;
    other.topLevel().appendChild("Gegeben");
    NoProgress progress;
    SaveDatabase(other, home + "given.lxd", false, progress);

    start(home + "given.lxd");
    EXPECT_EQ(db().CurrentFileName, home + "given.lxd");
    EXPECT_EQ(childTitles(db(), nullptr), QStringList{"Gegeben"});
}

TEST_F(StartTest, AMissingFileGivenAtStartIsReported)
{
    start(home + "nichts.lxd");
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(prompt.messages().first().contains("nichts.lxd"));
    EXPECT_EQ(db().HTMLTemplates.size(), 5u);
}

TEST_F(StartTest, TheSettingsOfTheWindowAreKeptFromOneRunToTheNext)
{
    Settings s;
    s.F1_Info = false;
    s.F1_Width = 700;
    s.F1_Height = 500;
    s.DefTemplate = "";
    s.CountSortCriteriums = 1;
    s.SortCriteriums[0] = {1, 1};
    saveSettings(home + "Settings.ini", s);
    start();
    EXPECT_TRUE(window->infoArea()->isHidden());
    EXPECT_FALSE(window->findChild<QAction *>("MenuItem_ShowInfo")->isChecked());
    EXPECT_EQ(window->size(), QSize(700, 500));
    EXPECT_TRUE(db().HTMLTemplates.empty());
    ASSERT_EQ(doc().sortCriteria().size(), 1u);
    EXPECT_EQ(doc().sortCriteria()[0], (SortCriterion{SortByTitle, 1}));

    window->findChild<QAction *>("MenuItem_ShowInfo")->trigger();
    EXPECT_FALSE(window->infoArea()->isHidden());
    finish();
    const Settings saved = loadSettings(home + "Settings.ini", Settings());
    EXPECT_TRUE(saved.F1_Info);
    EXPECT_EQ(saved.F1_Width, 700);
    EXPECT_EQ(saved.CountSortCriteriums, 1);
    EXPECT_EQ(saved.SortCriteriums[0], (SortCriterium{1, 1}));
    EXPECT_TRUE(saved.DefTemplate.isEmpty());
}

TEST_F(StartTest, ClosingAsksAboutUnsavedChanges)
{
    start();
    doc().setModified(true);
    prompt.answer(UserPrompt::Answer::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_FALSE(QFileInfo::exists(home + "Settings.ini"));

    // Yes saves: with its Save As cancelled nothing is saved, so the window stays with the work.
    prompt.answer(UserPrompt::Answer::Yes);
    dialogs.saves.enqueue(std::nullopt);
    EXPECT_FALSE(window->close());
    EXPECT_FALSE(QFileInfo::exists(home + "Settings.ini"));
    EXPECT_TRUE(doc().isModified());

    // No closes without saving.
    prompt.answer(UserPrompt::Answer::No);
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(QFileInfo::exists(home + "Settings.ini"));
    EXPECT_EQ(prompt.shown().last().text,
              "Wollen Sie die aktuelle Datei vor dem Schließen speichern?");
}

TEST_F(StartTest, TwoWindowsTakeTwoNumbers)
{
    start();
    ScriptedPrompt otherPrompt;
    WindowManager second(home, otherPrompt, dialogs);
    EXPECT_EQ(second.instanceNumber(), 2);
    EXPECT_EQ(second.document().database().IncludedFilesFolder, home + "Included Files/2/");
}

} // namespace
