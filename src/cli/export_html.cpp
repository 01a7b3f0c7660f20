// lexora-cli export-html FILE OUT [--title T] [--font F] [--size 0..6]: the whole database as one
// HTML page.
#include "cli_document.h"
#include "verbs.h"

#include "exchange/html_export.h"
#include "support/error.h"
#include "support/progress.h"

#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#include <optional>

namespace lexora::cli {
namespace {

// Runs a fontconfig tool; its standard output, or nothing when it cannot run or fails.
std::optional<QByteArray> fontconfig(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

bool fontInstalled(const QString &family)
{
    // "fc-list -q" fails when no installed font matches the family.
    return fontconfig(QStringLiteral("fc-list"), {QStringLiteral("-q"), family}).has_value();
}

// The installed family that fontconfig uses for the generic "sans-serif"; empty when unknown.
QString defaultFamily()
{
    const std::optional<QByteArray> out = fontconfig(
        QStringLiteral("fc-match"), {QStringLiteral("-f"), QStringLiteral("%{family[0]}"),
                                     QStringLiteral("sans-serif")});
    return out ? QString::fromUtf8(*out).trimmed() : QString();
}

int fontSizeEntry(const QString &text)
{
    if (text.isEmpty())
        return 1; // "sehr klein", as the export window preselects it
    bool ok = false;
    const int entry = text.toInt(&ok);
    if (!ok)
        throw Error(Error::Kind::InvalidInput, QStringLiteral("Die Schriftgröße \"%1\" ist keine Zahl von 0 bis %2.")
                        .arg(text)
                        .arg(ExportFontSizeCount - 1));
    exportFontSizeKeyword(entry); // refuses an entry out of range
    return entry;
}

int runExportHtml(const QStringList &arguments)
{
    QStringList args = arguments;
    const DocumentOptions documentOptions = takeDocumentOptions(args);
    HtmlExportOptions options;
    options.title = takeOption(args, QStringLiteral("--title"));
    options.fontFamily = takeOption(args, QStringLiteral("--font"));
    options.fontSize = fontSizeEntry(takeOption(args, QStringLiteral("--size")));
    if (args.size() != 2) {
        std::fprintf(stderr, "Aufruf: lexora-cli export-html DATEI AUSGABE [--title T] [--font F] "
                             "[--size 0..6] [--password-file DATEI]\n");
        return 2;
    }
    // Like the export window: "Tahoma" when it is installed; otherwise the family the system uses
    // for sans-serif text is the fallback.
    if (options.fontFamily.isEmpty() && fontInstalled(QStringLiteral("Tahoma")))
        options.fontFamily = QStringLiteral("Tahoma");
    else if (options.fontFamily.isEmpty())
        options.fallbackFontFamily = defaultFamily();
    // A path relative to the working folder is meant, as everywhere on the command line; the
    // export itself wants the file with its folder.
    options.fileName = QFileInfo(args.at(1)).absoluteFilePath();

    CliDocument opened(documentOptions);
    opened.open(args.at(0));
    NoProgress progress;
    const HtmlExportResult result =
        ExportDatabaseHTML(opened.db(), options, opened.prompt(), progress);
    switch (result.outcome) {
    case HtmlExportResult::Exported:
        return 0;
    case HtmlExportResult::InvalidInput:
        throw Error(Error::Kind::InvalidInput, result.inputError);
    case HtmlExportResult::Declined:
        std::fprintf(stderr, "lexora-cli: Die vorhandene Datei wurde nicht überschrieben.\n");
        return 1;
    case HtmlExportResult::Failed:
        break;
    }
    return 1;
}

} // namespace

LEXORA_CLI_VERB("export-html", "FILE OUT [--title T] [--font F] [--size 0..6] [--password-file FILE]",
                runExportHtml)

} // namespace lexora::cli
