// The command line of the desktop program: --help and --version answer without a window.
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs lexora without any display, so a window it tried to open would make it fail.
Outcome runLexora(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", "xcb");
    process.setProcessEnvironment(env);
    process.start(LEXORA_APP_PATH, arguments);
    EXPECT_TRUE(process.waitForFinished(20000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(AppCommandLine, VersionAndHelpPrintAndExit)
{
    const Outcome version = runLexora({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "Lexora " LEXORA_VERSION "\n");

    const Outcome help = runLexora({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Aufruf: lexora [DATEI.lxd]")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--version"));
}

TEST(AppCommandLine, UnknownOptionsAndSecondFilesAreRefused)
{
    for (const QStringList &args : {QStringList{"--gibts-nicht"}, QStringList{"a.lxd", "b.lxd"}}) {
        const Outcome run = runLexora(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("Aufruf: lexora")) << run.err.toStdString();
    }
}

} // namespace
