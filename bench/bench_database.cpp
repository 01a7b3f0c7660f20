// Load and save times of the two large sample databases, plain, compatibly and strongly
// encrypted, next to the time cp needs for the same file. Targets: the item database within 4x
// of cp, the included-files database within 2x, the compatible encryption at most 10% slower,
// the strong one at most 30% slower beyond its key derivation, which is timed on its own (the
// strong files here are written with the cheapest derivation, so that load and save show the
// cost of the stream alone). Meaningful in a Release build only.
// Wall-clock time and CPU time (user + system, of this process or of cp) are both shown; on a
// busy machine the CPU time is the steadier figure, and the targets are judged on it, except the
// strong encryption's, whose cipher runs on a second thread: it is judged on wall-clock time and
// wants an otherwise idle machine with two processors.
#include "support/bench_prompt.h"
#include "support/sample_databases.h"

#include "database/file_format.h"
#include "support/progress.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

#include <sys/resource.h>
#include <unistd.h>
#include <time.h>

using namespace lexora;

namespace {

constexpr int kRuns = 5;

struct Time {
    double wall = 1e9;
    double cpu = 1e9;
};

// CPU time of this process and of its finished children, in seconds.
double cpuSeconds()
{
    timespec self{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &self);
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return double(self.tv_sec) + double(self.tv_nsec) / 1e9 + seconds(children.ru_utime)
           + seconds(children.ru_stime);
}

// The best of kRuns; prepare runs before each, untimed.
Time best(const std::function<void()> &work, const std::function<void()> &prepare = {})
{
    Time fastest;
    for (int run = 0; run < kRuns; ++run) {
        if (prepare)
            prepare();
        const double cpu = cpuSeconds();
        QElapsedTimer timer;
        timer.start();
        work();
        fastest.wall = std::min(fastest.wall, double(timer.nsecsElapsed()) / 1e9);
        fastest.cpu = std::min(fastest.cpu, cpuSeconds() - cpu);
    }
    return fastest;
}

struct Figures {
    Time save, load, cp;
    // cp followed by fdatasync of the copy: a save flushes its file before it replaces the old
    // one, so this is the copy to set its wall-clock time against.
    Time cpSynced;
    qint64 size = 0;
};

// The cheapest key derivation: the strong figures show the encrypted stream alone.
const StrongParams kStreamOnly{{1, 8}};

Figures measure(Database &db, const QString &folder, const QString &name, const QByteArray &password,
                EncryptionMode mode = EncryptionMode::Compatible)
{
    Figures f;
    const QString file = folder + name;
    db.Encrypted = !password.isEmpty();
    db.Encryption = mode;
    db.Password = password;
    NoProgress progress;
    f.save = best([&] { SaveDatabase(db, file, false, progress, kStreamOnly); });
    f.size = QFileInfo(file).size();

    const QString copy = folder + QStringLiteral("copy.lxd");
    f.cp = best([&] { QProcess::execute(QStringLiteral("cp"), {file, copy}); },
                [&] { QFile::remove(copy); });
    f.cpSynced = best([&] {
        QProcess::execute(QStringLiteral("cp"), {file, copy});
        QFile written(copy);
        if (written.open(QIODevice::ReadWrite))
            fdatasync(written.handle());
    }, [&] { QFile::remove(copy); });
    QFile::remove(copy);

    Database loaded;
    loaded.IncludedFilesFolder = folder + QStringLiteral("loaded/");
    QDir().mkpath(loaded.IncludedFilesFolder);
    bench::BenchPrompt prompt(UserPrompt::Answer::Cancel, password);
    f.load = best([&] {
        if (LoadDatabase(loaded, file, lpAll, prompt, progress) != LoadResult::Read)
            std::fprintf(stderr, "load refused\n");
    }, [&] { loaded.ClearDatabase(); });
    loaded.ClearDatabase();
    QFile::remove(file);
    return f;
}

void report(const char *what, const Figures &plain, const Figures &encrypted, const Figures &strong,
            double target)
{
    std::printf("\n%s\n", what);
    std::printf("  %-15s %8s %8s %8s %8s %9s %9s\n", "", "size MB", "cp s", "save s", "load s",
                "save/cp", "load/cp");
    for (const auto &[label, f] : {std::pair{"plain", plain}, std::pair{"encrypted", encrypted},
                                   std::pair{"strong", strong}}) {
        for (const auto &[clock, pick] : {std::pair{"wall", &Time::wall}, std::pair{"cpu", &Time::cpu}})
            std::printf("  %-9s %-5s %8.1f %8.3f %8.3f %8.3f %8.2fx %8.2fx\n", label, clock,
                        double(f.size) / (1 << 20), f.cp.*pick, f.save.*pick, f.load.*pick,
                        f.save.*pick / f.cp.*pick, f.load.*pick / f.cp.*pick);
    }
    std::printf("  save wall time against cp + fdatasync (%.3f s, %.3f s): plain %.2fx, "
                "encrypted %.2fx\n", plain.cpSynced.wall, encrypted.cpSynced.wall,
                plain.save.wall / plain.cpSynced.wall, encrypted.save.wall / encrypted.cpSynced.wall);
    const bool fast = std::max({plain.save.cpu / plain.cp.cpu, plain.load.cpu / plain.cp.cpu,
                                encrypted.save.cpu / encrypted.cp.cpu,
                                encrypted.load.cpu / encrypted.cp.cpu}) <= target;
    const double saveCost = encrypted.save.cpu / plain.save.cpu - 1;
    const double loadCost = encrypted.load.cpu / plain.load.cpu - 1;
    std::printf("  target %.0fx cp (cpu): %s; encryption costs %+.0f%% (save) %+.0f%% (load) cpu, "
                "target +10%%: %s\n", target, fast ? "met" : "MISSED", 100 * saveCost,
                100 * loadCost, std::max(saveCost, loadCost) <= 0.10 ? "met" : "MISSED");
    // The strong cipher runs on a thread of its own beside the parsing or writing, so its cost
    // is judged on the time a user waits (wall); its processor time over both threads follows.
    const double strongSave = strong.save.wall / plain.save.wall - 1;
    const double strongLoad = strong.load.wall / plain.load.wall - 1;
    std::printf("  strong encryption beyond key derivation costs %+.0f%% (save) %+.0f%% (load) wall, "
                "target +30%%: %s; cpu %+.0f%% (save) %+.0f%% (load)\n", 100 * strongSave,
                100 * strongLoad, std::max(strongSave, strongLoad) <= 0.30 ? "met" : "MISSED",
                100 * (strong.save.cpu / plain.save.cpu - 1), 100 * (strong.load.cpu / plain.load.cpu - 1));
    // Encrypted strings are stored as the UTF-8 form of arbitrary bytes, so an encrypted file
    // can be half as large again, and copying it alone costs that much more. The cost per unit
    // of copying shows what the encryption itself adds beyond the larger file.
    if (encrypted.size <= plain.size * 101 / 100)
        return;
    const double perCopySave = (encrypted.save.cpu / encrypted.cp.cpu) / (plain.save.cpu / plain.cp.cpu) - 1;
    const double perCopyLoad = (encrypted.load.cpu / encrypted.cp.cpu) / (plain.load.cpu / plain.cp.cpu) - 1;
    std::printf("  encrypted file %+.0f%% larger, its cp %+.0f%% slower; encryption beyond that: "
                "%+.0f%% (save) %+.0f%% (load) per cp time\n",
                100 * (double(encrypted.size) / double(plain.size) - 1),
                100 * (encrypted.cp.cpu / plain.cp.cpu - 1), 100 * perCopySave, 100 * perCopyLoad);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench_database-XXXXXX"));
    const QString folder = dir.path() + QLatin1Char('/');
    std::printf("Best of %d runs each, in %s\n", kRuns, qPrintable(folder));

    {
        Database db;
        bench::fillItemDatabase(db);
        const Figures plain = measure(db, folder, QStringLiteral("items.lxd"), {});
        const Figures encrypted = measure(db, folder, QStringLiteral("items.lxd"), "Geheim!");
        const Figures strong = measure(db, folder, QStringLiteral("items.lxd"), "Geheim!",
                                       EncryptionMode::Strong);
        report("(a) 100,000 items of 1 KB in keys three levels deep", plain, encrypted, strong, 4);
    }
    {
        Database db;
        db.IncludedFilesFolder = folder + QStringLiteral("source/");
        QDir().mkpath(db.IncludedFilesFolder);
        bench::fillIncludedFilesDatabase(db);
        const Figures plain = measure(db, folder, QStringLiteral("files.lxd"), {});
        const Figures encrypted = measure(db, folder, QStringLiteral("files.lxd"), "Geheim!");
        const Figures strong = measure(db, folder, QStringLiteral("files.lxd"), "Geheim!",
                                       EncryptionMode::Strong);
        report("(b) 256 MB of included files", plain, encrypted, strong, 2);
    }
    const SecretBytes password("Geheim!");
    const Time kdf = best([&] { StrongKey::derive(password, KdfParams::calibrated()); });
    std::printf("\nKey derivation of the strong encryption (Argon2id, %u passes over %u MiB), once "
                "per load and per save with a new password: %.3f s wall, %.3f s cpu\n",
                KdfParams::calibrated().opsLimit, KdfParams::calibrated().memLimitKiB / 1024,
                kdf.wall, kdf.cpu);
    return 0;
}
