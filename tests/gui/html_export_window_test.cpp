// The export window HtmlExportWindow in the running program: opened from the menu, writing what the core
// export writes for the same input, its input checks in the warning balloon, the overwrite
// question, the failure message, and a responsive program with a real percentage meanwhile.
#include "dialogs/progress_window.h"
#include "exchange/html_export.h"
#include "exchange/html_export_window.h"
#include "help/balloon_help.h"
#include "help/balloons.h"
#include "support/database_fixtures.h"
#include "support/gui_main_window.h"
#include "support/gui_modal.h"
#include "support/scoped_env.h"
#include "support/gui_activation.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace lexora;
using namespace lexora::test;

namespace {

const QString kDone = QStringLiteral(
    "Die Datenbank wurde exportiert.\r\n\r\nHinweise:\r\n- Fehlerhafter HTML-Code eines einzigen "
    "Eintrags kann zur fehlerhaften Darstellung der gesamten Datenbank führen.\r\n- Bei älteren "
    "Browsern können Darstellungsfehler auftreten.");

class ExportWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(outDir.isValid());
        start();
        Node *key = addKey(nullptr, "Rezepte");
        addItem(key, "Kuchen", "<p>Mehl und <b>Zucker</b></p>");
        addItem(nullptr, "Zitat \"x\"", "Zitiert");
    }

    QString out(const QString &name) const { return outDir.path() + QLatin1Char('/') + name; }

    // The window shown without the menu, active, so that a warning is not hidden by its
    // activation.
    HtmlExportWindow &shown()
    {
        HtmlExportWindow &form = app->exportWindow();
        form.show();
        EXPECT_TRUE(activate(&form)); // another window on the display may hold the focus
        return form;
    }

    // What the core export writes for the window's current input.
    QByteArray coreExport(const HtmlExportWindow &form)
    {
        HtmlExportOptions options;
        options.fileName = out(QStringLiteral("core.htm"));
        options.title = form.Edit_Title->text();
        options.fontFamily = form.ComboBox_Font->currentText();
        options.fontSize = form.ComboBox_FontSize->currentIndex();
        ScriptedPrompt quiet;
        NoProgress progress;
        EXPECT_EQ(ExportDatabaseHTML(db(), options, quiet, progress).outcome,
                  HtmlExportResult::Exported);
        return readFileBytes(options.fileName);
    }

    TQZBalloonHelp &warning() { return *app->balloons().BalloonWarning; }

    QTemporaryDir outDir;
};

} // namespace

TEST_F(ExportWindowTest, TheMenuOpensTheWindowThatWritesWhatTheCoreWrites)
{
    QAction *command = window->command("MenuItem_ExportDatabase");
    ASSERT_TRUE(command->isEnabled());
    const QString file = out(QStringLiteral("datenbank.htm"));
    dialogs.htmlSaves.enqueue(file);
    QByteArray expected;
    bool seen = false;
    whenModal([&](QWidget *modal) {
        auto *form = qobject_cast<HtmlExportWindow *>(modal);
        ASSERT_NE(form, nullptr);
        seen = true;
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Datenbank exportieren"));
        EXPECT_EQ(form->GroupBox1->title(), QStringLiteral("Eigenschaften der HTML-Datei"));
        EXPECT_EQ(form->GroupBox2->title(), QStringLiteral("Ausgabedatei"));
        EXPECT_EQ(form->Label_Title->text(), QStringLiteral("Titel:"));
        EXPECT_EQ(form->Label1->text(), QStringLiteral("Bevorzugte Schriftart:"));
        EXPECT_EQ(form->Button_SearchFile->text(), QStringLiteral("Suchen"));
        EXPECT_EQ(form->Button_Export->text(), QStringLiteral("Exportieren"));
        EXPECT_TRUE(form->Button_Export->isDefault());
        EXPECT_EQ(form->Button_Cancel->text(), QStringLiteral("Ab&brechen"));
        EXPECT_TRUE(form->Edit_Title->text().isEmpty());
        EXPECT_TRUE(form->Edit_File->text().isEmpty());
        QStringList sizes;
        for (int i = 0; i < form->ComboBox_FontSize->count(); ++i)
            sizes.append(form->ComboBox_FontSize->itemText(i));
        EXPECT_EQ(sizes, (QStringList{"winzig", "sehr klein", "klein", "normal", "groß",
                                      "sehr groß", "riesig"}));
        EXPECT_EQ(form->ComboBox_FontSize->currentText(), QStringLiteral("sehr klein"));
        // "Tahoma" when installed, else the desktop's family.
        const QString preferred =
            QFontDatabase::hasFamily(QStringLiteral("Tahoma"))
                ? QStringLiteral("Tahoma")
                : QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family();
        EXPECT_EQ(form->ComboBox_Font->currentText(), preferred);
        EXPECT_GT(form->ComboBox_Font->count(), 0);

        QTest::keyClicks(form->Edit_Title, QStringLiteral("Tipps"));
        form->ComboBox_FontSize->setCurrentIndex(3);
        QTest::mouseClick(form->Button_SearchFile, Qt::LeftButton);
        EXPECT_EQ(form->Edit_File->text(), file);
        expected = coreExport(*form);
        QTest::mouseClick(form->Button_Export, Qt::LeftButton);
        if (form->isVisible())
            form->reject();
    });
    command->trigger();
    ASSERT_TRUE(seen);
    // The export asks about an existing file itself, not the save dialog.
    EXPECT_EQ(dialogs.htmlOverwrites, QList{FileDialogs::Overwrite::DoNotAsk});
    EXPECT_EQ(prompt.messages(), QStringList{kDone});
    EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("Vorgang abgeschlossen"));
    EXPECT_EQ(prompt.shown().last().icon, UserPrompt::Icon::Information);
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(readFileBytes(file), expected);
    EXPECT_TRUE(expected.contains("font:medium "));
    EXPECT_FALSE(app->exportWindow().isVisible());
    // Nothing in the database changed.
    EXPECT_FALSE(db().DatabaseModified);
}

TEST_F(ExportWindowTest, InvalidFileNamesAreShownAtTheFileFieldAndNothingIsWritten)
{
    const QString folderMessage =
        QStringLiteral("Das angegebene Verzeichnis kann nicht erstellt werden.");
    const QString nameMessage = QStringLiteral("Der angegebene Dateiname ist ungültig.");
    const struct {
        QString typed;
        QString message;
    } cases[] = {
        {QString(), folderMessage},
        {QStringLiteral("bericht.htm"), folderMessage},
        {QStringLiteral("unter/bericht.htm"), folderMessage},
        {out(QStringLiteral("neu/a?b.htm")), nameMessage},
        {out(QStringLiteral("neu/")), nameMessage},
        {out(QStringLiteral("a|b.htm")), nameMessage},
    };
    HtmlExportWindow &form = shown();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        form.Edit_File->setText(c.typed);
        QTest::mouseClick(form.Button_Export, Qt::LeftButton);
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(warning().isVisible());
        EXPECT_EQ(warning().tipControl(), form.Edit_File);
        EXPECT_EQ(warning().Text, c.message);
        EXPECT_EQ(form.focusWidget(), form.Edit_File);
        EXPECT_EQ(form.Edit_File->text(), c.typed);
        warning().Hide();
    }
    EXPECT_TRUE(prompt.shown().isEmpty());
    EXPECT_EQ(QDir(out(QStringLiteral("neu"))).entryList(QDir::Files), QStringList());
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("unter")));
    form.reject();
}

TEST_F(ExportWindowTest, AnExistingFileIsOverwrittenOnlyAfterYes)
{
    const QString file = out(QStringLiteral("alt.htm"));
    writeFileBytes(file, "alt");
    HtmlExportWindow &form = shown();
    form.Edit_File->setText(file);

    prompt.answer(UserPrompt::Answer::No);
    QTest::mouseClick(form.Button_Export, Qt::LeftButton);
    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown()[0].kind, QStringLiteral("question"));
    EXPECT_EQ(prompt.shown()[0].caption, QStringLiteral("Datei existiert bereits"));
    EXPECT_EQ(prompt.shown()[0].text, "Die Datei\r\n" + file
                                          + "\r\nexistiert bereits. Soll sie überschrieben werden?");
    EXPECT_EQ(readFileBytes(file), "alt");
    EXPECT_TRUE(form.isVisible());

    const QByteArray expected = coreExport(form);
    prompt.answer(UserPrompt::Answer::Yes);
    QTest::mouseClick(form.Button_Export, Qt::LeftButton);
    EXPECT_EQ(readFileBytes(file), expected);
    EXPECT_EQ(prompt.messages(), QStringList{kDone});
    EXPECT_FALSE(form.isVisible());
}

TEST_F(ExportWindowTest, AFileThatCannotBeWrittenIsReportedAndTheWindowStays)
{
    // A folder where the file should be: it exists, and it cannot be replaced by a file.
    const QString file = out(QStringLiteral("ordner.htm"));
    ASSERT_TRUE(QDir().mkpath(file));
    HtmlExportWindow &form = shown();
    form.Edit_File->setText(file);
    prompt.answer(UserPrompt::Answer::Yes);
    QTest::mouseClick(form.Button_Export, Qt::LeftButton);
    ASSERT_EQ(prompt.shown().size(), 2);
    EXPECT_EQ(prompt.shown()[1].icon, UserPrompt::Icon::Error);
    EXPECT_EQ(prompt.shown()[1].caption, QStringLiteral("Speichervorgang fehlgeschlagen"));
    EXPECT_EQ(prompt.shown()[1].text, QStringLiteral("Die Ausgabedatei konnte nicht erstellt werden."));
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(QFileInfo(file).isDir());
    form.reject();
}

TEST_F(ExportWindowTest, AFileInTheHomeFolderMayBeWrittenWithTheTilde)
{
    ScopedEnv homeEnv("HOME", outDir.path());
    HtmlExportWindow &form = shown();
    form.Edit_File->setText(QStringLiteral("~/export/seite.htm"));
    const QByteArray expected = coreExport(form);
    QTest::mouseClick(form.Button_Export, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(readFileBytes(out(QStringLiteral("export/seite.htm"))), expected);
}

TEST_F(ExportWindowTest, TheProgramStaysResponsiveWithARealPercentage)
{
    // Enough items that the export takes a while.
    Node *key = addKey(nullptr, "Viele");
    const QByteArray code = QByteArray("<p>Ein Absatz mit etwas Text.</p>\r\n").repeated(60);
    for (int i = 0; i < 3000; ++i)
        addItem(key, QByteArray("Eintrag ").append(QByteArray::number(i)).constData(), code.constData());

    ProgressWindow *progress = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("TForm10"))
            progress = qobject_cast<ProgressWindow *>(w);
    ASSERT_NE(progress, nullptr);
    HtmlExportWindow &form = shown();
    form.Edit_File->setText(out(QStringLiteral("gross.htm")));

    // Timer events are the program's other work: they must run while the export writes.
    int ticksWhileShown = 0;
    int maximum = 0;
    QList<int> values;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (!progress->isVisible())
            return;
        ++ticksWhileShown;
        maximum = progress->ProgressBar->maximum();
        values.append(progress->ProgressBar->value());
        EXPECT_EQ(progress->windowTitle(), QStringLiteral("Daten exportieren"));
        EXPECT_EQ(progress->Label_Info->text(), QStringLiteral("Daten werden exportiert..."));
    });
    ticker.start(5);
    QTest::mouseClick(form.Button_Export, Qt::LeftButton);
    ticker.stop();

    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(form.isVisible());
    EXPECT_GE(ticksWhileShown, 2);
    EXPECT_GT(maximum, 0) << "a running marquee instead of a percentage";
    EXPECT_TRUE(std::any_of(values.begin(), values.end(),
                            [&](int v) { return v > 0 && v < maximum; }));
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    EXPECT_EQ(prompt.messages(), QStringList{kDone});
}
