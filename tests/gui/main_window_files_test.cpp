// The file commands of the main window: new, open, save, save as, save as template, the
// standard template database, the caption and dropped files.
#include "database/file_format.h"
#include "database/win1252.h"
#include "dialogs/template_choice_window.h"
#include "support/database_fixtures.h"
#include "support/gui_child.h"
#include "support/gui_main_window.h"
#include "support/gui_modal.h"
#include "support/open_save_cases.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <functional>

using namespace lexora;
using namespace lexora::test;

namespace {

class FilesTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        start();
    }

    void trigger(const char *name) { child<QAction>(window, name)->trigger(); }

    // Answers the template-database window with the entry of that text (nothing: cancel).
    void chooseTemplate(std::optional<QString> entry)
    {
        whenModal([entry](QWidget *modal) {
            auto *form = qobject_cast<TemplateChoiceWindow *>(modal);
            if (!form) {
                ADD_FAILURE() << "expected the template-database window";
                modal->close();
                return;
            }
            if (!entry) {
                form->reject();
                return;
            }
            const int index = form->ComboBox_Template->findText(*entry);
            EXPECT_GE(index, 0) << entry->toStdString();
            form->ComboBox_Template->setCurrentIndex(index);
            form->accept();
        });
    }

    QString saveSample(const QString &name, const char *title = "Gespeichert")
    {
        Database sample;
        sample.topLevel().appendChild("Zweiter");
        Node *item = sample.topLevel().appendChild(title);
        item->setItem(std::make_unique<TTipItem>());
        NoProgress progress;
        SaveDatabase(sample, home + name, false, progress);
        return home + name;
    }
};

TEST_F(FilesTest, SaveOfAnUnnamedDatabaseAsksForTheName)
{
    addKey(nullptr, "Neu");
    doc().setModified(true);
    const QString file = home + "eins.lxd";
    dialogs.saves.enqueue(file);
    trigger("MenuItem_Save");
    EXPECT_TRUE(QFileInfo(file).isFile());
    EXPECT_EQ(db().CurrentFileName, file);
    EXPECT_FALSE(db().DatabaseModified);
    EXPECT_EQ(window->windowTitle(), "Lexora - [" + file + "]");

    // A named database saves without asking.
    addKey(nullptr, "Mehr");
    doc().setModified(true);
    trigger("MenuItem_Save");
    EXPECT_FALSE(db().DatabaseModified);
    Database reread;
    ScriptedPrompt quiet;
    NoProgress progress;
    ASSERT_EQ(LoadDatabase(reread, file, lpAll, quiet, progress), LoadResult::Read);
    EXPECT_EQ(childTitles(reread, nullptr), (QStringList{"Neu", "Mehr"}));
}

TEST_F(FilesTest, CancelledSaveAsChangesNothing)
{
    doc().setModified(true);
    dialogs.saves.enqueue(std::nullopt);
    trigger("MenuItem_SaveAs");
    EXPECT_TRUE(db().CurrentFileName.isEmpty());
    EXPECT_TRUE(db().DatabaseModified);
    EXPECT_EQ(window->windowTitle(), "Lexora");
}

TEST_F(FilesTest, OpenLoadsAndSortsTheFile)
{
    const QString file = saveSample("zwei.lxd");
    dialogs.opens.enqueue(file);
    trigger("MenuItem_Open");
    EXPECT_EQ(db().CurrentFileName, file);
    EXPECT_EQ(childTitles(db(), nullptr), (QStringList{"Zweiter", "Gespeichert"}));
    EXPECT_EQ(window->windowTitle(), "Lexora - [" + file + "]");
    EXPECT_FALSE(db().DatabaseModified);
    // The templates of the start are gone with the old database.
    EXPECT_TRUE(db().HTMLTemplates.empty());
}

TEST_F(FilesTest, OpenAsksAboutUnsavedChangesFirst)
{
    doc().setModified(true);
    prompt.answer(UserPrompt::Answer::Cancel);
    trigger("MenuItem_Open");
    EXPECT_EQ(db().HTMLTemplates.size(), 5u);

    const QString file = saveSample("zwei.lxd");
    prompt.answer(UserPrompt::Answer::No);
    dialogs.opens.enqueue(file);
    trigger("MenuItem_Open");
    EXPECT_EQ(db().CurrentFileName, file);
}

TEST_F(FilesTest, ARefusedFileEndsInNew)
{
    writeFileBytes(home + "kaputt.lxd", "Das ist keine Datenbank.");
    dialogs.opens.enqueue(home + "kaputt.lxd");
    chooseTemplate(QString("Default.lxd"));
    trigger("MenuItem_Open");
    EXPECT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(db().CurrentFileName.isEmpty());
    EXPECT_EQ(db().HTMLTemplates.size(), 5u);
    EXPECT_EQ(window->windowTitle(), "Lexora");
}

TEST_F(FilesTest, ADamagedFileIsNeverSavedOverByWhatWasRead)
{
    const QString file = saveSample("drei.lxd");
    const QByteArray bytes = readFileBytes(file);
    writeFileBytes(file, bytes.left(bytes.size() - 2));
    dialogs.opens.enqueue(file);
    trigger("MenuItem_Open");
    EXPECT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(db().CurrentFileName.isEmpty());
    EXPECT_EQ(window->windowTitle(), "Lexora");

    doc().setModified(true);
    dialogs.saves.enqueue(std::nullopt);
    trigger("MenuItem_Save");
    EXPECT_EQ(readFileBytes(file), bytes.left(bytes.size() - 2));
}

TEST_F(FilesTest, NewWithoutTemplateGivesAnEmptyDatabase)
{
    const QString file = saveSample("vier.lxd");
    dialogs.opens.enqueue(file);
    trigger("MenuItem_Open");
    chooseTemplate(QString("Keine Vorlage verwenden"));
    trigger("MenuItem_New");
    EXPECT_EQ(db().topLevel().childCount(), 0);
    EXPECT_TRUE(db().HTMLTemplates.empty());
    EXPECT_TRUE(db().CSSTemplates.empty());
    EXPECT_TRUE(db().CurrentFileName.isEmpty());
    EXPECT_FALSE(db().DatabaseModified);
    EXPECT_EQ(window->windowTitle(), "Lexora");
}

TEST_F(FilesTest, NewFromATemplateDatabaseCopiesIt)
{
    saveSample("Templates/Meine.lxd", "Aus der Vorlage");
    chooseTemplate(QString("Meine.lxd"));
    trigger("MenuItem_New");
    EXPECT_EQ(childTitles(db(), nullptr), (QStringList{"Zweiter", "Aus der Vorlage"}))
        << "not sorted after New";
    EXPECT_TRUE(db().CurrentFileName.isEmpty());
}

TEST_F(FilesTest, CancelledNewKeepsTheDatabase)
{
    addKey(nullptr, "Bleibt");
    chooseTemplate(std::nullopt);
    trigger("MenuItem_New");
    EXPECT_EQ(childTitles(db(), nullptr), QStringList{"Bleibt"});
}

TEST_F(FilesTest, YesThenACancelledSaveAsKeepsTheUnsavedWork)
{
    // "Ja" to saving an unnamed database, then Escape in "Speichern unter": whatever asked (New,
    // Open, closing the program) stops, and the work stays as it was.
    const struct {
        const char *what;
        std::function<bool()> act; // whether the window is still open afterwards
    } cases[] = {
        {"New", [&] { trigger("MenuItem_New"); return window->isVisible(); }},
        {"Open", [&] { trigger("MenuItem_Open"); return window->isVisible(); }},
        {"closing", [&] { return !window->close() && window->isVisible(); }},
    };
    addKey(nullptr, "Ungespeichert");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        doc().setModified(true);
        prompt.answer(UserPrompt::Answer::Yes);
        dialogs.saves.enqueue(std::nullopt);
        EXPECT_TRUE(c.act());
        EXPECT_EQ(childTitles(db(), nullptr), QStringList{"Ungespeichert"});
        EXPECT_TRUE(db().DatabaseModified);
        EXPECT_TRUE(db().CurrentFileName.isEmpty());
        EXPECT_TRUE(dialogs.allAnswersUsed()) << "no template or file was asked for";
        EXPECT_EQ(prompt.shown().last().text,
                  "Wollen Sie die aktuelle Datei vor dem Schließen speichern?");
    }
}

TEST_F(FilesTest, SaveAsTemplateOnlyIntoTheTemplatesFolder)
{
    addKey(nullptr, "Vorlage");
    doc().setModified(true);
    ASSERT_TRUE(QDir().mkpath(home + "Templates/Unter"));
    const QString outside[] = {home + "Vorlage.lxd", home + "Templates/Unter/Vorlage.lxd"};
    for (const QString &file : outside) {
        dialogs.saves.enqueue(file);
        trigger("MenuItem_SaveAsTemplate");
        EXPECT_FALSE(QFileInfo::exists(file)) << file.toStdString();
        ASSERT_FALSE(prompt.shown().isEmpty());
        EXPECT_EQ(prompt.shown().last().caption, "Speichern nicht möglich");
        EXPECT_EQ(prompt.shown().last().text, "Vorlagen müssen im Vorlagen-Ordner gespeichert werden.");
        EXPECT_EQ(prompt.shown().last().icon, UserPrompt::Icon::Warning);
    }

    const QString file = home + "Templates/Vorlage.lxd";
    dialogs.saves.enqueue(file);
    trigger("MenuItem_SaveAsTemplate");
    EXPECT_TRUE(QFileInfo(file).isFile());
    EXPECT_EQ(dialogs.saveFolders.last(), app->templatesFolder());
    EXPECT_TRUE(db().CurrentFileName.isEmpty());
    EXPECT_TRUE(db().DatabaseModified);
    EXPECT_EQ(prompt.shown().size(), 2);
}

TEST_F(FilesTest, TheStandardTemplateDatabaseIsChosenByName)
{
    saveSample("Templates/andere.lxd");
    chooseTemplate(QString("andere.lxd"));
    trigger("MenuItem_LXDTemplates");
    EXPECT_EQ(window->settings().DefTemplate, "andere.lxd");
    chooseTemplate(QString("Keine Vorlage verwenden"));
    trigger("MenuItem_LXDTemplates");
    EXPECT_TRUE(window->settings().DefTemplate.isEmpty());
}

TEST_F(FilesTest, AFailedSaveAfterYesKeepsTheProgramAndTheDatabase)
{
    addKey(nullptr, "Arbeit");
    doc().setModified(true);
    const QString unreachable = home + "fehlt/neu.lxd";
    // Closing: the save fails, the window stays open with the work.
    prompt.answer(UserPrompt::Answer::Yes);
    dialogs.saves.enqueue(unreachable);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(prompt.messages().first().contains(unreachable));
    // New: the save fails again (to the name Save As gave), no template choice, nothing replaced.
    prompt.answer(UserPrompt::Answer::Yes);
    trigger("MenuItem_New");
    EXPECT_EQ(prompt.messages().size(), 2);
    EXPECT_EQ(childTitles(db(), nullptr), QStringList{"Arbeit"});
    EXPECT_TRUE(db().DatabaseModified);
    EXPECT_FALSE(QFileInfo::exists(home + "Settings.ini"));
}

TEST_F(FilesTest, OpenCasesOfTheSharedTable)
{
    for (const OpenCase &c : writeOpenCases(home)) {
        SCOPED_TRACE(c.what);
        const int messagesBefore = int(prompt.messages().size());
        dialogs.opens.enqueue(c.file);
        if (!c.password.isEmpty())
            prompt.givePassword(c.password);
        if (c.outcome == OpenCase::Refused)
            chooseTemplate(std::nullopt); // the New that follows a refused file, cancelled
        trigger("MenuItem_Open");
        EXPECT_EQ(db().CurrentFileName, c.outcome == OpenCase::Opened ? c.file : QString());
        if (c.outcome != OpenCase::Damaged) {
            EXPECT_EQ(childTitles(db(), nullptr), c.topTitles);
        }
        const QStringList shown = prompt.messages().mid(messagesBefore);
        EXPECT_EQ(shown.size(), c.messageHas.isEmpty() ? 0 : 1);
        if (!c.messageHas.isEmpty()) {
            EXPECT_TRUE(shown.join('\n').contains(c.messageHas)) << shown.join('\n').toStdString();
        }
    }
}

TEST_F(FilesTest, SaveCasesOfTheSharedTable)
{
    for (const SaveCase &c : saveCases(home)) {
        SCOPED_TRACE(c.what);
        doc().setModified(true);
        dialogs.saves.enqueue(c.file);
        trigger("MenuItem_SaveAs");
        EXPECT_EQ(QFileInfo(c.file).isFile(), c.saved);
        EXPECT_EQ(db().DatabaseModified, !c.saved);
        EXPECT_EQ(db().CurrentFileName, c.file);
        if (!c.saved) {
            EXPECT_TRUE(prompt.messages().last().contains(c.messageHas));
        }
    }
}

TEST_F(FilesTest, OneDroppedFileOpens)
{
    const QString file = saveSample("fallen.lxd");
    const auto drop = [this](const QList<QUrl> &urls) { window->FilesDropped(urls); };
    drop({QUrl::fromLocalFile(file), QUrl::fromLocalFile(file)});
    EXPECT_TRUE(db().CurrentFileName.isEmpty());
    drop({QUrl::fromLocalFile(home + "fehlt.lxd")});
    EXPECT_TRUE(db().CurrentFileName.isEmpty());
    drop({QUrl::fromLocalFile(file)});
    EXPECT_EQ(db().CurrentFileName, file);
}

} // namespace
