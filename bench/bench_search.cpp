// Search and sort times on the 100,000-item sample database, next to the time grep -c -F needs
// for the same word over a file of the same codes. Targets: names and codes within 3x grep, a
// repeated search with item texts within 5x grep, the first search with item texts under 10 s,
// sorting the whole tree with three criteria under 0.5 s. Meaningful in a Release build only.
// Each figure is wall time; the processor time beside it (all threads) shows how much of the
// wall time was waiting when the machine is busy with other work.
#include "support/sample_databases.h"

#include "search/search_engine.h"
#include "sorting/tree_sort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>

using namespace lexora;

namespace {

constexpr int kRuns = 3;

struct Time {
    double wall = 1e9;
    double cpu = 1e9;
};

Time seconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    const std::clock_t cpuStart = std::clock();
    timer.start();
    work();
    return {double(timer.nsecsElapsed()) / 1e9, double(std::clock() - cpuStart) / CLOCKS_PER_SEC};
}

Time best(const std::function<void()> &work)
{
    Time fastest;
    for (int run = 0; run < kRuns; ++run) {
        const Time t = seconds(work);
        if (t.wall < fastest.wall)
            fastest = t;
    }
    return fastest;
}

void writeCodes(const Database &db, const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(fileName));
    for (const Node *node : db.preorder())
        if (const TTipItem *item = node->item()) {
            file.write(item->Code);
            file.write("\n");
        }
}

// The best wall time of grep -c -F word over the file, process start included.
double grepSeconds(const QString &word, const QString &fileName, QByteArray *count)
{
    return best([&] {
        QProcess grep;
        grep.start(QStringLiteral("grep"), {QStringLiteral("-c"), QStringLiteral("-F"), word, fileName});
        grep.waitForFinished(-1);
        *count = grep.readAllStandardOutput().trimmed();
    }).wall;
}

void report(const char *what, Time time, double limit, const char *target)
{
    std::printf("%-42s %8.3f s (processor %.3f s)   target %s = %.3f s: %s\n", what, time.wall,
                time.cpu, target, limit, time.wall <= limit ? "met" : "MISSED");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Database db;
    std::printf("building %d items of %d bytes...\n", bench::kItemCount, bench::kItemCodeSize);
    bench::fillItemDatabase(db);

    QTemporaryDir dir;
    const QString codes = dir.filePath(QStringLiteral("codes.txt"));
    writeCodes(db, codes);

    // A word of the sample vocabulary, found in many items, and one found nowhere. The engine
    // keeps the displayed texts from the first search with texts on for every later one.
    SearchEngine engine(db);
    bool first = true;
    for (const char *word : {"Ausnahme", "Zwischenablage"}) {
        std::printf("\nword \"%s\"\n", word);
        QByteArray grepCount;
        const double grep = grepSeconds(QString::fromLatin1(word), codes, &grepCount);
        std::printf("%-42s %8.3f s   (%s lines)\n", "grep -c -F over the codes", grep,
                    grepCount.constData());

        std::vector<SearchResult> results;
        SearchQuery query;
        query.keywordText = word;
        query.scope = {nullptr};
        const Time namesAndCodes = best([&] { engine.RunSearch(query, results); });
        report("names and codes", namesAndCodes, 3 * grep, "3x grep");
        std::printf("  %zu results\n", results.size());

        query.places.itemTexts = true;
        if (first) {
            report("names, codes and texts, first search",
                   seconds([&] { engine.RunSearch(query, results); }), 10, "10 s");
            first = false;
        }
        const Time repeated = best([&] { engine.RunSearch(query, results); });
        report("names, codes and texts, repeated search", repeated, 5 * grep, "5x grep");
        std::printf("  %zu results\n", results.size());
    }

    std::printf("\n");
    const SortCriteria criteria{{SortByCreated, 1}, {SortByType, 0}, {SortByTitle, 0}};
    report("sort of the whole tree, three criteria",
           seconds([&] { SortTree(db.topLevel(), criteria); }), 0.5, "0.5 s");
    const SortCriteria again{{SortByTitle, 1}, {SortByType, 1}, {SortByModified, 0}};
    report("sort again, other three criteria", seconds([&] { SortTree(db.topLevel(), again); }),
           0.5, "0.5 s");
    return 0;
}
