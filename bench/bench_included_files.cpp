// Load time of databases with 10,000 and 100,000 empty included files (a 1 MB file for the
// larger). Loading writes one file per included file into the included-files folder, so the
// time grows with their number, but only linearly: the second within 12 times the first, and
// 100,000 under 2 s. The figures depend on how fast the file system creates files, so they are
// taken twice: in the current folder (on disk) and in /dev/shm (in memory), where what remains
// is the program's own work. Clearing (deleting the files again) is shown beside them.
// Meaningful in a Release build only.
#include "database/file_format.h"
#include "database/value_writer.h"
#include "support/bench_prompt.h"
#include "support/progress.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

#include <time.h>

using namespace lexora;

namespace {

constexpr int kRuns = 3;

// A database with nothing but `count` empty included files, written value by value.
void writeDatabase(const QString &fileName, int count)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(fileName));
    ValueWriter w(file, fileName);
    w.writeRaw("\xBD\x94\x94\xF1", 4);
    w.writeBoolean(false);
    for (int list = 0; list < 2; ++list) {
        w.writeListBegin();
        w.writeListEnd();
        w.writeInteger(-1);
    }
    w.writeListBegin(); // the tree
    w.writeListEnd();
    w.writeListBegin(); // the sections
    w.writeInteger(0);
    w.writeListBegin();
    w.writeListEnd();
    w.writeInteger(1);
    w.writeListBegin();
    for (int i = 0; i < count; ++i) {
        w.writeString("Datei " + Text::number(i) + ".txt");
        w.writeInteger(0);
    }
    w.writeListEnd();
    w.writeListEnd();
    w.flush();
}

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Time {
    double wall = 1e9;
    double cpu = 1e9;
};

void keepBest(Time &best, const std::function<void()> &work)
{
    const double cpu = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    work();
    best.wall = std::min(best.wall, double(timer.nsecsElapsed()) / 1e9);
    best.cpu = std::min(best.cpu, cpuSeconds() - cpu);
}

struct Figures {
    Time load, clear;
    qint64 fileSize = 0;
};

Figures measure(const QString &folder, int count)
{
    const QString file = folder + QStringLiteral("files-%1.lxd").arg(count);
    writeDatabase(file, count);
    Figures f;
    f.fileSize = QFile(file).size();
    Database db;
    db.IncludedFilesFolder = folder + QStringLiteral("loaded/");
    NoProgress progress;
    bench::BenchPrompt prompt;
    for (int run = 0; run < kRuns; ++run) {
        keepBest(f.load, [&] {
            if (LoadDatabase(db, file, lpAll, prompt, progress) != LoadResult::Read || int(db.IncludedFiles.size()) != count)
                qFatal("load failed");
        });
        keepBest(f.clear, [&] { db.ClearDatabase(); });
    }
    QFile::remove(file);
    return f;
}

void report(const QString &where)
{
    QTemporaryDir dir(where + QStringLiteral("/bench_included_files-XXXXXX"));
    if (!dir.isValid())
        return;
    const QString folder = dir.path() + QLatin1Char('/');
    std::printf("\nIn %s, best of %d runs each\n", qPrintable(folder), kRuns);
    std::printf("  %-22s %8s %9s %9s %10s %10s\n", "empty included files", "file KB", "load s",
                "load cpu", "clear s", "clear cpu");
    const int counts[] = {10000, 100000};
    Figures figures[2];
    for (int i = 0; i < 2; ++i) {
        figures[i] = measure(folder, counts[i]);
        const Figures &f = figures[i];
        std::printf("  %-22d %8.0f %9.3f %9.3f %10.3f %10.3f\n", counts[i],
                    double(f.fileSize) / 1024, f.load.wall, f.load.cpu, f.clear.wall, f.clear.cpu);
    }
    const double ratio = figures[1].load.wall / figures[0].load.wall;
    const double cpuRatio = figures[1].load.cpu / figures[0].load.cpu;
    std::printf("  100,000 against 10,000: %.1fx wall, %.1fx cpu (target: at most 12x) %s\n", ratio,
                cpuRatio, std::min(ratio, cpuRatio) <= 12 ? "ok" : "MISSED");
    std::printf("  100,000 in %.3f s wall, %.3f s cpu (target: under 2 s) %s\n",
                figures[1].load.wall, figures[1].load.cpu,
                std::min(figures[1].load.wall, figures[1].load.cpu) < 2 ? "ok" : "MISSED");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    report(QDir::currentPath());
    if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
        report(QStringLiteral("/dev/shm"));
    return 0;
}
