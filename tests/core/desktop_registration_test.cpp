#include "setup/desktop_registration.h"

#include "support/error.h"

#include "support/database_fixtures.h"
#include "support/scoped_env.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lexora;
using lexora::test::readFileBytes;
using lexora::test::ScopedEnv;
using lexora::test::ScriptedPrompt;
using lexora::test::writeFileBytes;

namespace {

class DesktopRegistration : public ::testing::Test {
protected:
    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    // Runs a desktop tool as a desktop session would, with the temporary folders as the user's.
    QString runTool(const QString &tool, const QStringList &arguments, int *exitCode = nullptr)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                                 "GNOME_DESKTOP_SESSION_ID"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(tool, arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << tool.toStdString();
        if (exitCode)
            *exitCode = process.exitCode();
        return QString::fromUtf8(process.readAll()).trimmed();
    }

    QTemporaryDir m_dir;
    ScopedEnv m_data{"XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data"))};
    ScopedEnv m_config{"XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config"))};
    const QString m_program = m_dir.filePath(QStringLiteral("Meine Programme/lexora"));
    TQZSetup m_setup{m_program};
};

TEST(DesktopExecArgument, QuotesAndEscapesWhatTheDesktopWouldReadOtherwise)
{
    const struct {
        const char *argument;
        const char *written;
    } cases[] = {
        {"/usr/bin/lexora", "/usr/bin/lexora"},
        {"/opt/Meine Programme/lexora", "\"/opt/Meine Programme/lexora\""},
        {"/opt/a$b/lexora", "\"/opt/a\\$b/lexora\""},
        {"/opt/\"x\"/lexora", "\"/opt/\\\"x\\\"/lexora\""},
        {"/opt/back\\slash", "\"/opt/back\\\\slash\""},
        {"/opt/100%/lexora", "/opt/100%%/lexora"}, // no field code
        {"/opt/ä ö/lexora", "\"/opt/ä ö/lexora\""},
        {"", "\"\""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(desktopExecArgument(QString::fromUtf8(c.argument)), QString::fromUtf8(c.written))
            << c.argument;
}

TEST_F(DesktopRegistration, OnlyTheExactFirstArgumentUninstalls)
{
    const struct {
        QStringList arguments;
        bool uninstalls;
    } cases[] = {
        {{QStringLiteral("/uninstall")}, true},
        {{QStringLiteral("/uninstall"), QStringLiteral("x.lxd")}, true},
        {{}, false},
        {{QStringLiteral("/Uninstall")}, false},
        {{QStringLiteral("uninstall")}, false},
        {{QStringLiteral("x.lxd"), QStringLiteral("/uninstall")}, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(m_setup.isUninstallCall(c.arguments), c.uninstalls) << c.arguments.join(u' ').toStdString();
}

TEST_F(DesktopRegistration, WritesEntryIconAndMimeTypeBelowTheDataFolder)
{
    m_setup.registerProgram();
    EXPECT_EQ(m_setup.desktopEntryFile(), path(QStringLiteral("data/applications/lexora.desktop")));
    EXPECT_EQ(m_setup.iconFile(), path(QStringLiteral("data/icons/hicolor/scalable/apps/lexora.svg")));
    EXPECT_EQ(m_setup.mimePackageFile(), path(QStringLiteral("data/mime/packages/lexora.xml")));

    const QString entry = QString::fromUtf8(readFileBytes(m_setup.desktopEntryFile()));
    const QString program = QStringLiteral("\"") + m_program + u'"';
    for (const QString &line : {QStringLiteral("[Desktop Entry]"), QStringLiteral("Type=Application"),
                                QStringLiteral("Name=Lexora"), QStringLiteral("Icon=lexora"),
                                QStringLiteral("Exec=") + program + QStringLiteral(" %f"),
                                QStringLiteral("MimeType=application/x-lexora-database;"),
                                QStringLiteral("X-QZ-DisplayVersion=1.1.0.0"),
                                QStringLiteral("X-QZ-Publisher=QZ-Software"),
                                QStringLiteral("Actions=Uninstall;"),
                                QStringLiteral("[Desktop Action Uninstall]"),
                                QStringLiteral("Exec=") + program + QStringLiteral(" /uninstall")})
        EXPECT_TRUE(entry.split(u'\n').contains(line)) << line.toStdString() << "\n" << entry.toStdString();
    EXPECT_TRUE(entry.contains(QStringLiteral("\nComment=")));

    EXPECT_EQ(readFileBytes(m_setup.iconFile()),
              readFileBytes(QStringLiteral(LEXORA_SOURCE_DIR "/resources/lexora.svg")));
    const QString mime = QString::fromUtf8(readFileBytes(m_setup.mimePackageFile()));
    EXPECT_TRUE(mime.contains(QStringLiteral("<glob pattern=\"*.lxd\"/>")));
    EXPECT_TRUE(mime.contains(QStringLiteral("<comment xml:lang=\"de\">Lexora-Datenbank</comment>")));

    // The next start with another version brings the entry up to date.
    TQZSetup newer(m_program);
    newer.DisplayVersion = QStringLiteral("1.2.0.0");
    newer.registerProgram();
    EXPECT_TRUE(QString::fromUtf8(readFileBytes(m_setup.desktopEntryFile()))
                    .contains(QStringLiteral("\nX-QZ-DisplayVersion=1.2.0.0\n")));
}

TEST_F(DesktopRegistration, DesktopToolsAcceptTheEntryAndKnowTheDatabaseType)
{
    m_setup.registerProgram();

    const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validate.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed (package desktop-file-utils)";
    int exitCode = -1;
    const QString complaints = runTool(validate, {m_setup.desktopEntryFile()}, &exitCode);
    EXPECT_EQ(exitCode, 0) << complaints.toStdString();
    EXPECT_TRUE(complaints.isEmpty()) << complaints.toStdString();

    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        GTEST_SKIP() << "xdg-mime is not installed (package xdg-utils)";
    ASSERT_TRUE(QFileInfo::exists(path(QStringLiteral("data/mime/mime.cache"))))
        << "update-mime-database did not run (package shared-mime-info)";
    const QByteArray database = QByteArray::fromHex("bd9494f1") + QByteArray(20, '\x01');
    writeFileBytes(path(QStringLiteral("Wissen.lxd")), "beliebiger Inhalt");
    writeFileBytes(path(QStringLiteral("ohne Endung")), database);
    for (const char *file : {"Wissen.lxd", "ohne Endung"})
        EXPECT_EQ(runTool(xdgMime, {QStringLiteral("query"), QStringLiteral("filetype"),
                                    path(QLatin1String(file))}),
                  TQZSetup::databaseMimeType())
            << file;
    EXPECT_EQ(runTool(xdgMime, {QStringLiteral("query"), QStringLiteral("default"),
                                TQZSetup::databaseMimeType()}),
              QStringLiteral("lexora.desktop"));
}

TEST_F(DesktopRegistration, AFolderThatCannotBeMadeIsReported)
{
    writeFileBytes(path(QStringLiteral("keine-daten")), "a file where a folder should be");
    const ScopedEnv data("XDG_DATA_HOME", path(QStringLiteral("keine-daten")));
    try {
        m_setup.registerProgram();
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Lexora konnte nicht beim Desktop angemeldet werden")))
            << e.message().toStdString();
    }
}

TEST_F(DesktopRegistration, UninstallRemovesOnlyWhatTheRegistrationAndUpdatesWrote)
{
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        QTemporaryDir dir;
        const ScopedEnv data("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")));
        const ScopedEnv config("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")));
        m_setup.registerProgram();
        // What the user has made and other programs of the maker keep.
        const QMap<QString, QByteArray> kept = {
            {dir.filePath(QStringLiteral("data/Lexora/Settings.ini")), "[View]\nF1_Info=1\n"},
            {dir.filePath(QStringLiteral("data/Lexora/Templates/Default.lxd")), "Vorlage"},
            {dir.filePath(QStringLiteral("data/Lexora/Wissen.lxd")), "Datenbank"},
            {dir.filePath(QStringLiteral("data/applications/anderes.desktop")),
             "[Desktop Entry]\nType=Application\nName=Anderes\nExec=anderes\n"},
            {dir.filePath(QStringLiteral("config/QZ/Anderes.ini")), "[General]\n"},
        };
        for (auto it = kept.begin(); it != kept.end(); ++it) {
            QDir().mkpath(QFileInfo(it.key()).absolutePath());
            writeFileBytes(it.key(), it.value());
        }
        writeFileBytes(m_setup.updateSettingsFile(), "[General]\nUpdateInterval=14\n");
        const QStringList registered = {m_setup.desktopEntryFile(), m_setup.iconFile(),
                                        m_setup.mimePackageFile(), m_setup.updateSettingsFile()};

        ScriptedPrompt prompt;
        prompt.answer(yes ? UserPrompt::Answer::Yes : UserPrompt::Answer::No);
        EXPECT_EQ(m_setup.uninstall(prompt),
                  yes ? TQZSetup::Outcome::Removed : TQZSetup::Outcome::Declined);

        ASSERT_GE(prompt.shown().size(), 1);
        EXPECT_EQ(prompt.shown()[0].kind, QStringLiteral("question"));
        EXPECT_EQ(prompt.shown()[0].text, QStringLiteral("Soll Lexora wirklich deinstalliert werden?"));
        EXPECT_EQ(prompt.shown()[0].icon, UserPrompt::Icon::Warning);
        for (const QString &file : registered)
            EXPECT_EQ(QFileInfo::exists(file), !yes) << file.toStdString();
        for (auto it = kept.begin(); it != kept.end(); ++it)
            EXPECT_EQ(readFileBytes(it.key()), it.value()) << it.key().toStdString();
        if (yes) {
            ASSERT_EQ(prompt.shown().size(), 2);
            EXPECT_EQ(prompt.shown()[1].caption, QStringLiteral("Deinstallation abgeschlossen"));
            EXPECT_EQ(prompt.shown()[1].icon, UserPrompt::Icon::Information);
            EXPECT_EQ(prompt.shown()[1].text,
                      QStringLiteral("Lexora wurde erfolgreich entfernt. Die Programmdatei und evtl. mit "
                                     "diesem Programm erstellte Dateien müssen manuell gelöscht werden."));
        } else {
            EXPECT_EQ(prompt.shown().size(), 1);
        }
    }
}

TEST_F(DesktopRegistration, AFileThatCannotBeRemovedIsReportedInsteadOfSuccess)
{
    m_setup.registerProgram();
    // A folder in the entry's place cannot be removed as a file, whoever runs the test.
    ASSERT_TRUE(QFile::remove(m_setup.desktopEntryFile()));
    ASSERT_TRUE(QDir().mkpath(m_setup.desktopEntryFile()));
    writeFileBytes(m_setup.desktopEntryFile() + QStringLiteral("/inhalt"), "x");

    ScriptedPrompt prompt;
    prompt.answer(UserPrompt::Answer::Yes);
    try {
        m_setup.uninstall(prompt);
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(m_setup.desktopEntryFile())))
            << e.message().toStdString();
    }
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(m_setup.iconFile())); // the rest is still removed
}

} // namespace
