#include "update/update_wizard.h"

#include "support/database_fixtures.h"
#include "support/gui_child.h"
#include "support/gui_http_server.h"
#include "support/scoped_env.h"
#include "support/scripted_prompt.h"
#include "support/zip_fixtures.h"
#include "text/date_value.h"
#include "update/update_settings.h"

#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace lexora;
using namespace lexora::test;

namespace {

const QString kNews = QStringLiteral("\"01.01.2024: Alte Korrektur\",\"01.06.2024: Neue Suche\"");

// The update archive: its script replaces the program (a small shell script that notes its start)
// and removes the unpacked copy.
const QByteArray kTemplate = "# Lexora\n"
                             "rm -f \"%slexora.old\"\n"
                             "cd \"%s\" && mv lexora lexora.old\n"
                             "cp \"%slexora\" \"%slexora\"\n"
                             " rm -f \"%slexora\"\n";
const QByteArray kNewProgram = "#!/bin/sh\ntouch \"$0.started\"\n";

QString foundText(const QString &changes)
{
    return QStringLiteral("Es stehen neue Updates zum Download bereit.\n\nDie Updates beheben folgende "
                          "Probleme bzw. stellen folgende neue Funktionen zur Verfügung:\n")
           + changes + QStringLiteral("\n\nKlicken Sie auf \"Weiter\", um die Updates jetzt herunterzuladen.");
}

const QString kNoUpdate = QStringLiteral("Es stehen keine neuen Updates zur Verfügung. Klicken Sie auf "
                                         "\"Beenden\", um den Assistenten zu verlassen.");
const QString kComplete = QStringLiteral("Die Update-Dateien wurden erfolgreich heruntergeladen. Klicken Sie "
                                         "auf \"Weiter\", um die Updates zu installieren.");
const QString kCutOff = QStringLiteral("Der Download wurde nicht vollendet.\n\nKlicken Sie auf \"Erneut "
                                       "versuchen\", um den Download erneut zu starten.\nKlicken Sie auf "
                                       "\"Abbrechen\", um den Assistenten zu beenden.");

class UpdateWizardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(m_home.path()).mkpath(QStringLiteral("program")));
        ASSERT_TRUE(QDir(m_home.path()).mkpath(QStringLiteral("config/QZ")));
        writeFileBytes(programFile(), "#!/bin/sh\n");
        setServer(m_server.address());

        m_job.programName = QStringLiteral("Lexora");
        m_job.zipFileName = QStringLiteral("LX.zip");
        m_job.settingsFile = updateSettingsFile(QStringLiteral("Lexora"));
        m_job.programFile = programFile();
        m_job.programDate = dateValue(QDateTime(QDate(2024, 3, 15), QTime(12, 0)));
        serveUpdate(QStringLiteral("01.06.2024"));
    }

    QString programFolder() const { return m_home.filePath(QStringLiteral("program/")); }
    QString programFile() const { return programFolder() + QStringLiteral("lexora"); }
    QString updateFolder() const { return m_home.filePath(QStringLiteral("cache/Lexora/Update/")); }
    QString settingsFile() const { return m_home.filePath(QStringLiteral("config/QZ/Lexora.ini")); }

    void setServer(const QString &address, const QByteArray &more = {})
    {
        writeFileBytes(settingsFile(), "[General]\nUpdateServer=" + address.toUtf8() + "\n" + more);
    }

    void serveUpdate(const QString &date, TestHttpServer::Response archive = {})
    {
        m_server.serve(QStringLiteral("/Updates.ini"),
                       {"[Lexora]\r\nDate=" + date.toUtf8() + "\r\nFile=LX 2.zip\r\nNews=" + kNews.toUtf8() + "\r\n"});
        const QString zip = m_home.filePath(QStringLiteral("made.zip"));
        writeZip(zip, {{QStringLiteral("Update.bat"), kTemplate}, {QStringLiteral("lexora"), kNewProgram, 0100755}});
        archive.body = readFileBytes(zip);
        m_server.serve(QStringLiteral("/Updates/LX%202.zip"), archive);
    }

    template <class T> T *child(const char *name) { return test::child<T>(&m_wizard, name); }
    QString title() { return child<QLabel>("Panel_Title")->text(); }
    void click(const char *name)
    {
        QPushButton *button = child<QPushButton>(name);
        ASSERT_TRUE(button->isVisible() && button->isEnabled()) << name;
        button->click();
    }
    static bool waitFor(const std::function<bool()> &done) { return QTest::qWaitFor(done, 15000); }

    // From the welcome page through the check to the result page.
    void checkForUpdates()
    {
        m_wizard.FormShow(m_job);
        m_wizard.show();
        click("Button_Next");
        click("Button_Check");
        ASSERT_TRUE(waitFor([&] { return title() == QStringLiteral("Ergebnis der Prüfung"); }));
    }

    // On to the download page; the download runs.
    void startDownload()
    {
        ASSERT_NO_FATAL_FAILURE(checkForUpdates());
        click("Button_Next");
        ASSERT_EQ(title(), QStringLiteral("Download der Updates"));
    }

    QTemporaryDir m_home;
    const ScopedEnv m_configHome{"XDG_CONFIG_HOME", m_home.filePath(QStringLiteral("config"))};
    const ScopedEnv m_cacheHome{"XDG_CACHE_HOME", m_home.filePath(QStringLiteral("cache"))};
    TestHttpServer m_server;
    ScriptedPrompt m_prompt;
    UpdateWizard m_wizard{m_prompt};
    UpdateJob m_job;
};

TEST_F(UpdateWizardTest, FromWelcomeToCompletionAgainstALocalServer)
{
    m_wizard.FormShow(m_job);
    m_wizard.show();
    EXPECT_EQ(m_wizard.windowTitle(), QStringLiteral("Updates installieren"));
    EXPECT_EQ(m_wizard.size(), QSize(658, 353));
    EXPECT_EQ(title(), QStringLiteral("Willkommen"));
    EXPECT_EQ(child<QPushButton>("Button_Next")->text(), QStringLiteral("Weiter >"));
    EXPECT_TRUE(child<QPushButton>("Button_Next")->isDefault());

    click("Button_Next");
    EXPECT_EQ(title(), QStringLiteral("Auf neue Updates prüfen"));
    EXPECT_FALSE(child<QPushButton>("Button_Next")->isEnabled());

    click("Button_Check");
    ASSERT_TRUE(waitFor([&] { return title() == QStringLiteral("Ergebnis der Prüfung"); }));
    EXPECT_EQ(child<QLabel>("Label_CheckResult")->text(), foundText(QStringLiteral("- 01.06.2024: Neue Suche\n")));
    EXPECT_TRUE(child<QPushButton>("Button_Next")->isEnabled());

    click("Button_Next");
    EXPECT_EQ(title(), QStringLiteral("Download der Updates"));
    ASSERT_TRUE(waitFor([&] { return !child<QPushButton>("CancelDownload")->isVisible(); }));
    EXPECT_EQ(child<QLabel>("Label_Download")->text(), kComplete);
    EXPECT_EQ(child<QLabel>("PerCent")->text(), QStringLiteral("100 %"));
    EXPECT_TRUE(child<QLabel>("StatusLabel")->text().endsWith(QStringLiteral(" gedownloadet")));
    EXPECT_TRUE(child<QLabel>("TimeLeft")->text().startsWith(QStringLiteral("verbleibende Zeit: ")));
    EXPECT_TRUE(QFile::exists(updateFolder() + QStringLiteral("LX.zip")));

    click("Button_Next");
    EXPECT_EQ(title(), QStringLiteral("Installieren"));
    EXPECT_TRUE(child<QCheckBox>("CheckBox_Restart")->isChecked());
    click("Button_Next");
    EXPECT_EQ(title(), QStringLiteral("Abschließen der Installation"));
    EXPECT_EQ(child<QPushButton>("Button_Next")->text(), QStringLiteral("Beenden"));
    EXPECT_FALSE(child<QPushButton>("Button_Cancel")->isEnabled());
    EXPECT_FALSE(QFile::exists(updateFolder() + QStringLiteral("LX.zip")));
    const QByteArray program = programFolder().toUtf8();
    const QByteArray update = updateFolder().toUtf8();
    EXPECT_EQ(readFileBytes(updateFolder() + QStringLiteral("Update.bat")),
              "# Lexora\n"
              "rm -f \"" + program + "lexora.old\"\n"
              "cd \"" + program + "\" && mv lexora lexora.old\n"
              "cp \"" + update + "lexora\" \"" + program + "lexora\"\n"
              " rm -f \"" + update + "lexora\"\n"
              "\"" + program + "lexora\" &\n"
              "rm -f \"" + update + "Update.bat\"\n");

    click("Button_Next");
    EXPECT_FALSE(m_wizard.isVisible());
    EXPECT_TRUE(m_wizard.endRequested());
    EXPECT_TRUE(m_wizard.installPrepared());

    // What runs once the program has ended: the file is replaced, the new program starts and
    // the script is gone.
    EXPECT_EQ(QProcess::execute(QStringLiteral("/bin/sh"), {updateFolder() + QStringLiteral("Update.bat")}), 0);
    EXPECT_EQ(readFileBytes(programFile()), kNewProgram);
    EXPECT_EQ(readFileBytes(programFile() + QStringLiteral(".old")), "#!/bin/sh\n");
    EXPECT_FALSE(QFile::exists(updateFolder() + QStringLiteral("Update.bat")));
    EXPECT_FALSE(QFile::exists(updateFolder() + QStringLiteral("lexora")));
    EXPECT_TRUE(waitFor([&] { return QFile::exists(programFile() + QStringLiteral(".started")); }));

    m_wizard.FormDestroy();
    EXPECT_EQ(UpdateSettings(settingsFile()).dueDate(), today() + 27);
    EXPECT_TRUE(m_prompt.shown().isEmpty());
}

TEST_F(UpdateWizardTest, CutOffDownloadAndRetry)
{
    TestHttpServer::Response cut;
    cut.cutAfter = 100;
    serveUpdate(QStringLiteral("01.06.2024"), cut);
    ASSERT_NO_FATAL_FAILURE(startDownload());
    ASSERT_TRUE(waitFor([&] { return child<QPushButton>("CancelDownload")->text() == QStringLiteral("Erneut versuchen"); }));
    EXPECT_EQ(child<QLabel>("Label_Download")->text(), kCutOff);
    EXPECT_FALSE(child<QPushButton>("Button_Next")->isEnabled());
    EXPECT_FALSE(QFile::exists(updateFolder() + QStringLiteral("LX.zip"))) << "no partial archive is kept";
    EXPECT_GT(child<QProgressBar>("Status")->value(), 0);

    serveUpdate(QStringLiteral("01.06.2024"));
    click("CancelDownload");
    EXPECT_EQ(child<QProgressBar>("Status")->value(), 0) << "the progress starts again";
    EXPECT_EQ(child<QPushButton>("CancelDownload")->text(), QStringLiteral("Download ab&brechen"));
    ASSERT_TRUE(waitFor([&] { return !child<QPushButton>("CancelDownload")->isVisible(); }));
    EXPECT_EQ(child<QLabel>("Label_Download")->text(), kComplete);
    EXPECT_EQ(m_server.requests(QStringLiteral("/Updates/LX%202.zip")), 2);
    EXPECT_TRUE(QFile::exists(updateFolder() + QStringLiteral("LX.zip")));
    EXPECT_TRUE(m_prompt.shown().isEmpty());
}

TEST_F(UpdateWizardTest, NoConnectionKeepsTheCheckPage)
{
    quint16 freePort = 0;
    {
        TestHttpServer gone;
        freePort = gone.port();
    }
    TestHttpServer noDescription;
    const QString servers[] = {QString(), QStringLiteral("127.0.0.1:%1").arg(freePort), noDescription.address(),
                               QStringLiteral("ftp://127.0.0.1")};
    for (const QString &server : servers) {
        setServer(server);
        ScriptedPrompt prompt;
        UpdateWizard wizard(prompt);
        wizard.FormShow(m_job);
        wizard.show();
        wizard.findChild<QPushButton *>(QStringLiteral("Button_Next"))->click();
        wizard.findChild<QPushButton *>(QStringLiteral("Button_Check"))->click();
        ASSERT_TRUE(waitFor([&] { return !prompt.shown().isEmpty(); })) << server.toStdString();
        EXPECT_EQ(prompt.shown().first().caption, QStringLiteral("Internetverbindung erforderlich"));
        EXPECT_EQ(prompt.shown().first().text, QStringLiteral("Es besteht keine Internetverbindung."));
        EXPECT_EQ(prompt.shown().first().icon, UserPrompt::Icon::Warning);
        EXPECT_EQ(wizard.findChild<QLabel *>(QStringLiteral("Panel_Title"))->text(),
                  QStringLiteral("Auf neue Updates prüfen"));
        EXPECT_TRUE(wizard.findChild<QPushButton *>(QStringLiteral("Button_Check"))->isEnabled());
    }
}

TEST_F(UpdateWizardTest, NoNewUpdateEndsWithBeendenAndMovesTheDueDate)
{
    const struct {
        QByteArray storedInterval;
        int days;
    } cases[] = {{"", 28}, {"UpdateInterval=7\n", 7}};
    for (const auto &c : cases) {
        setServer(m_server.address(), c.storedInterval);
        serveUpdate(QStringLiteral("15.03.2024")); // the program's day, but the program is from noon
        ASSERT_NO_FATAL_FAILURE(checkForUpdates());
        EXPECT_EQ(child<QLabel>("Label_CheckResult")->text(), kNoUpdate);
        EXPECT_EQ(child<QPushButton>("Button_Next")->text(), QStringLiteral("Beenden"));
        EXPECT_FALSE(child<QPushButton>("Button_Cancel")->isEnabled());
        click("Button_Next");
        EXPECT_FALSE(m_wizard.isVisible());
        EXPECT_FALSE(m_wizard.endRequested());
        m_wizard.FormDestroy();
        EXPECT_EQ(UpdateSettings(settingsFile()).dueDate(), today() + c.days - 1) << c.days;
    }
}

TEST_F(UpdateWizardTest, CancelledWizardStoresNothing)
{
    ASSERT_NO_FATAL_FAILURE(checkForUpdates());
    click("Button_Cancel");
    EXPECT_FALSE(m_wizard.isVisible());
    m_wizard.FormDestroy();
    EXPECT_FALSE(UpdateSettings(settingsFile()).dueDate());
    EXPECT_TRUE(QDir(updateFolder()).entryList(QDir::Files).isEmpty()) << "the description file is gone";
}

TEST_F(UpdateWizardTest, CancellingADownloadAsksFirst)
{
    TestHttpServer::Response slow;
    slow.chunkBytes = 16;
    slow.chunkDelayMsecs = 30;
    serveUpdate(QStringLiteral("01.06.2024"), slow);
    ASSERT_NO_FATAL_FAILURE(startDownload());
    ASSERT_TRUE(waitFor([&] { return !child<QLabel>("PerCent")->text().isEmpty(); }));
    EXPECT_TRUE(child<QLabel>("StatusLabel")->text().contains(QStringLiteral(" von ")));

    // No: the download goes on, by the button and by closing the window.
    m_prompt.answer(UserPrompt::Answer::No);
    click("CancelDownload");
    m_prompt.answer(UserPrompt::Answer::No);
    EXPECT_FALSE(m_wizard.close());
    EXPECT_TRUE(m_wizard.isVisible());
    EXPECT_EQ(child<QPushButton>("CancelDownload")->text(), QStringLiteral("Download ab&brechen"));
    ASSERT_EQ(m_prompt.shown().size(), 2);
    EXPECT_EQ(m_prompt.shown()[0].text, QStringLiteral("Soll der Download wirklich abgebrochen werden?"));
    EXPECT_EQ(m_prompt.shown()[0].kind, QStringLiteral("question"));

    // Yes: cut off, and the archive is gone.
    m_prompt.answer(UserPrompt::Answer::Yes);
    click("CancelDownload");
    EXPECT_EQ(child<QPushButton>("CancelDownload")->text(), QStringLiteral("Erneut versuchen"));
    EXPECT_EQ(child<QLabel>("Label_Download")->text(), kCutOff);
    EXPECT_FALSE(QFile::exists(updateFolder() + QStringLiteral("LX.zip")));

    // Yes on "Abbrechen" during a second download closes the wizard.
    click("CancelDownload");
    m_prompt.answer(UserPrompt::Answer::Yes);
    click("Button_Cancel");
    EXPECT_FALSE(m_wizard.isVisible());
    EXPECT_FALSE(m_wizard.endRequested());
    EXPECT_TRUE(m_prompt.allAnswersUsed());
}

TEST_F(UpdateWizardTest, MissingArchiveAtInstallationLeavesOnlyCancel)
{
    ASSERT_NO_FATAL_FAILURE(startDownload());
    ASSERT_TRUE(waitFor([&] { return !child<QPushButton>("CancelDownload")->isVisible(); }));
    ASSERT_TRUE(QFile::remove(updateFolder() + QStringLiteral("LX.zip")));
    click("Button_Next");
    click("Button_Next");
    EXPECT_EQ(title(), QStringLiteral("Installieren"));
    EXPECT_EQ(child<QLabel>("Label3")->text(),
              QStringLiteral("Die Installationsdateien wurden nicht gefunden. Klicken Sie auf \"Abbrechen\" und "
                             "versuchen Sie es später noch einmal."));
    EXPECT_FALSE(child<QPushButton>("Button_Next")->isEnabled());
    click("Button_Cancel");
    EXPECT_FALSE(m_wizard.endRequested()) << "a failed installation does not end the program";
    EXPECT_FALSE(m_wizard.installPrepared());
}

TEST_F(UpdateWizardTest, SettingsPageWritesNoUpdateOrTheInterval)
{
    m_wizard.FormShow(m_job);
    m_wizard.show();
    click("Button_Settings");
    EXPECT_EQ(title(), QStringLiteral("Einstellungen"));
    EXPECT_FALSE(child<QPushButton>("Button_Settings")->isVisible());
    EXPECT_TRUE(child<QPushButton>("Button_SettingsSave")->isVisible());
    EXPECT_TRUE(child<QRadioButton>("RadioButton_AutoUpdt")->isChecked());
    EXPECT_EQ(child<QSpinBox>("SpinEdit_AutoUpdt")->value(), 28) << "no interval stored";

    child<QRadioButton>("RadioButton_NoAutoUpdt")->click();
    EXPECT_FALSE(child<QSpinBox>("SpinEdit_AutoUpdt")->isEnabled());
    EXPECT_FALSE(child<QLabel>("Label_AutoUpdt1")->isEnabled());
    click("Button_SettingsSave");
    EXPECT_EQ(title(), QStringLiteral("Willkommen"));
    EXPECT_TRUE(child<QPushButton>("Button_Next")->isVisible());
    EXPECT_TRUE(UpdateSettings(settingsFile()).noUpdate());
    EXPECT_FALSE(UpdateSettings(settingsFile()).updateInterval());

    click("Button_Settings");
    EXPECT_TRUE(child<QRadioButton>("RadioButton_NoAutoUpdt")->isChecked());
    child<QRadioButton>("RadioButton_AutoUpdt")->click();
    EXPECT_TRUE(child<QSpinBox>("SpinEdit_AutoUpdt")->isEnabled());
    child<QSpinBox>("SpinEdit_AutoUpdt")->setValue(14);
    click("Button_SettingsSave");
    EXPECT_FALSE(UpdateSettings(settingsFile()).noUpdate());
    EXPECT_EQ(UpdateSettings(settingsFile()).updateInterval(), 14);

    // "Abbrechen" on the settings page changes nothing and returns to the step.
    click("Button_Next");
    click("Button_Settings");
    child<QSpinBox>("SpinEdit_AutoUpdt")->setValue(3);
    click("Button_SettingsCancel");
    EXPECT_EQ(title(), QStringLiteral("Auf neue Updates prüfen"));
    EXPECT_EQ(UpdateSettings(settingsFile()).updateInterval(), 14);
    EXPECT_TRUE(UpdateSettings(settingsFile()).updateServer() == m_server.address());
}

} // namespace
