// Time and output throughput of the HTML export of the 100,000-item database (target: at least
// 100 MB/s of written HTML), and, when the Debian package "cherrytree" is installed, the time
// cherrytree needs to export a document with the same tree and texts to one HTML file.
// Meaningful in a Release build only. "--no-cherrytree" leaves the comparison out; it takes
// minutes.
#include "support/bench_prompt.h"
#include "support/sample_databases.h"

#include "database/win1252.h"
#include "exchange/html_export.h"
#include "support/progress.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTime>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cstdio>
#include <optional>

#include <time.h>

using namespace lexora;

namespace {

constexpr int kRuns = 3;

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

qint64 nodeCount(const Node &node)
{
    qint64 n = node.childCount();
    for (const Node &child : node.children())
        n += nodeCount(child);
    return n;
}

// The same tree as a cherrytree document: one node per key or item, an item's code as its text.
void writeCherrytreeDocument(const Database &db, const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(fileName));
    QXmlStreamWriter xml(&file);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("cherrytree"));
    int id = 0;
    auto writeNode = [&](auto &self, const Node &node) -> void {
        xml.writeStartElement(QStringLiteral("node"));
        xml.writeAttribute(QStringLiteral("name"), win1252::toUnicode(node.name()));
        xml.writeAttribute(QStringLiteral("unique_id"), QString::number(++id));
        xml.writeAttribute(QStringLiteral("prog_lang"), QStringLiteral("custom-colors"));
        xml.writeAttribute(QStringLiteral("tags"), QString());
        xml.writeAttribute(QStringLiteral("readonly"), QStringLiteral("0"));
        xml.writeAttribute(QStringLiteral("custom_icon_id"), QStringLiteral("0"));
        xml.writeAttribute(QStringLiteral("is_bold"), QStringLiteral("0"));
        xml.writeAttribute(QStringLiteral("foreground"), QString());
        xml.writeAttribute(QStringLiteral("ts_creation"), QStringLiteral("0"));
        xml.writeAttribute(QStringLiteral("ts_lastsave"), QStringLiteral("0"));
        xml.writeTextElement(QStringLiteral("rich_text"),
                             node.item() ? win1252::toUnicode(node.item()->Code) : QString());
        for (const Node &child : node.children())
            self(self, child);
        xml.writeEndElement();
    };
    for (const Node &top : db.topLevel().children())
        writeNode(writeNode, top);
    xml.writeEndElement();
    xml.writeEndDocument();
}

// Milliseconds between two of cherrytree's log lines "[yyyy-MM-dd hh:mm:ss.zzz] ... text".
std::optional<double> loggedMilliseconds(const QString &log, const QString &from, const QString &to)
{
    auto timeOf = [&](const QString &text) -> std::optional<QTime> {
        const QRegularExpression line(QStringLiteral("\\[\\d{4}-\\d\\d-\\d\\d (\\d\\d:\\d\\d:\\d\\d\\.\\d{3})\\][^\\n]*")
                                      + QRegularExpression::escape(text));
        const QRegularExpressionMatch m = line.match(log);
        if (!m.hasMatch())
            return std::nullopt;
        return QTime::fromString(m.captured(1), QStringLiteral("hh:mm:ss.zzz"));
    };
    const std::optional<QTime> a = timeOf(from);
    const std::optional<QTime> b = timeOf(to);
    if (!a || !b)
        return std::nullopt;
    return double(a->msecsTo(*b));
}

// Exports the same tree with cherrytree and prints its times next to Lexora's, or why it could
// not be run.
void compareWithCherrytree(const Database &db, const QTemporaryDir &dir, double lexoraSeconds)
{
    const QString cherrytree = QStandardPaths::findExecutable(QStringLiteral("cherrytree"));
    if (cherrytree.isEmpty()) {
        std::printf("cherrytree: not installed (Debian package \"cherrytree\"), no side-by-side "
                    "figure\n");
        return;
    }
    const QString document = dir.filePath(QStringLiteral("sample.ctd"));
    writeCherrytreeDocument(db, document);
    const QString out = dir.filePath(QStringLiteral("cherrytree-html"));
    // cherrytree is a GTK program and needs a display even to export.
    QString program = cherrytree;
    QStringList args{document, QStringLiteral("-x"), out, QStringLiteral("-s"), QStringLiteral("-w")};
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        args.prepend(program);
        args.prepend(QStringLiteral("-a"));
        program = QStringLiteral("xvfb-run");
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    process.start(program, args);
    if (!process.waitForFinished(30 * 60 * 1000) || process.exitCode() != 0) {
        std::printf("cherrytree: export failed (%s)\n", qPrintable(process.errorString()));
        return;
    }
    const double wall = double(timer.nsecsElapsed()) / 1e9;
    const QString log = QString::fromUtf8(process.readAll());
    const QString index = out + QStringLiteral("/sample.ctd_HTML/index.html");
    const qint64 bytes = QFileInfo(index).size();
    std::printf("cherrytree %s: %.2f s for the whole run (start, load, export), %.1f MB of HTML\n",
                qPrintable(QFileInfo(cherrytree).fileName()), wall, double(bytes) / 1e6);
    if (const std::optional<double> ms = loggedMilliseconds(log, QStringLiteral("html export to:"),
                                                            QStringLiteral("export is done")))
        std::printf("cherrytree export alone (from its log): %.2f s, %.1f MB/s; "
                    "ratio cherrytree / Lexora: %.1f\n",
                    *ms / 1000, double(bytes) / 1e6 / (*ms / 1000), *ms / 1000 / lexoraSeconds);
    std::printf("ratio of whole runs, cherrytree / Lexora export: %.1f\n", wall / lexoraSeconds);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        qFatal("no temporary folder");

    Database db;
    bench::fillItemDatabase(db);
    HtmlExportOptions options;
    options.fileName = dir.filePath(QStringLiteral("export.htm"));
    options.title = QStringLiteral("Beispieldatenbank");
    options.fontFamily = QStringLiteral("Tahoma");

    double bestWall = 1e9;
    double bestCpu = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        bench::BenchPrompt prompt(UserPrompt::Answer::Yes);
        NoProgress progress;
        QElapsedTimer timer;
        const double cpu = cpuSeconds();
        timer.start();
        if (ExportDatabaseHTML(db, options, prompt, progress).outcome != HtmlExportResult::Exported)
            return 1;
        bestWall = std::min(bestWall, double(timer.nsecsElapsed()) / 1e9);
        bestCpu = std::min(bestCpu, cpuSeconds() - cpu);
    }
    const qint64 bytes = QFileInfo(options.fileName).size();
    const double mb = double(bytes) / 1e6;
    std::printf("HTML export of %lld nodes (%d items of %d bytes of code): %.1f MB written\n",
                nodeCount(db.topLevel()), bench::kItemCount, bench::kItemCodeSize, mb);
    std::printf("time (best of %d): %.3f s wall, %.3f s CPU\n", kRuns, bestWall, bestCpu);
    std::printf("throughput: %.0f MB/s wall, %.0f MB/s CPU (target: at least 100 MB/s)\n",
                mb / bestWall, mb / bestCpu);
    std::fflush(stdout);
    if (!app.arguments().contains(QStringLiteral("--no-cherrytree")))
        compareWithCherrytree(db, dir, bestWall);
    return 0;
}
