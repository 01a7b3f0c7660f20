// Undo and redo of the largest changes against the changes themselves (target: each within 2x
// of the change), on the 100,000-item database: deleting a key that holds every item, renaming a
// template that every item refers to by name, importing the 100 MB database (as new entries into
// a small database, and over itself as existing ones). Then what 100 ordinary edits keep on the
// undo stack (target: under 10 MB beyond the database). Each figure is the median of 5 runs.
// Run it in a Release build.

#include "database/file_format.h"
#include "database/model.h"
#include "database/node_path.h"
#include "document/document.h"
#include "support/bench_prompt.h"
#include "support/progress.h"
#include "support/sample_databases.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <unistd.h>

using namespace lexora;

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double millisecondsOf(const std::function<void()> &run)
{
    QElapsedTimer timer;
    timer.start();
    run();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The resident memory of this process now.
double residentMegabytes()
{
    long pages = 0;
    long resident = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

struct Figures {
    std::vector<double> change, undo, redo;
    double doneMegabytes = 0;   // what the step keeps once done
    double undoneMegabytes = 0; // and once undone
};

void report(const char *what, const Figures &f)
{
    const double change = median(f.change);
    const double undo = median(f.undo);
    const double redo = median(f.redo);
    std::printf("%-58s change %8.1f ms, undo %8.1f ms (%.2fx), redo %8.1f ms (%.2fx); the step "
                "keeps %.1f MB done, %.1f MB undone\n",
                what, change, undo, undo / change, redo, redo / change, f.doneMegabytes,
                f.undoneMegabytes);
}

class Bench {
public:
    Bench()
    {
        m_items = m_dir.filePath(QStringLiteral("items.lxd"));
        m_oneKey = m_dir.filePath(QStringLiteral("one-key.lxd"));
        m_small = m_dir.filePath(QStringLiteral("small.lxd"));
        bench::writeItemDatabase(m_items);
        {
            // Every item below one top-level key.
            Database db;
            bench::fillItemDatabase(db);
            Node &top = db.topLevel();
            auto all = std::make_unique<Node>("Alles");
            while (top.childCount() > 0)
                all->insertChild(all->childCount(), top.takeChild(0));
            top.insertChild(0, std::move(all));
            bench::writeDatabase(db, m_oneKey);
        }
        {
            Database db;
            bench::fillItemDatabase(db, 10);
            bench::writeDatabase(db, m_small);
        }
        {
            // Every item refers to the default CSS template by name.
            Database db;
            bench::fillItemDatabase(db);
            const Text reference = "%xcss%" + db.DefaultCSSTemplate->Name + '>';
            for (Node *node : db.preorder())
                if (TTipItem *item = node->item())
                    item->Code.insert(item->Code.size() / 2, reference);
            m_referenced = m_dir.filePath(QStringLiteral("referenced.lxd"));
            bench::writeDatabase(db, m_referenced);
        }
    }

    // Runs change, undo and redo on a freshly opened copy of file, five times.
    Figures measure(const QString &file, const std::function<void(Document &)> &change)
    {
        Figures figures;
        for (int run = 0; run < 5; ++run) {
            Document document(m_dir.path() + QStringLiteral("/files%1/").arg(run), "bench", m_prompt,
                              m_progress);
            if (document.open(file) != Document::OpenResult::Opened)
                std::exit(1);
            figures.change.push_back(millisecondsOf([&] { change(document); }));
            figures.doneMegabytes = double(document.undoBytes()) / (1 << 20);
            figures.undo.push_back(millisecondsOf([&] { document.undo(); }));
            figures.undoneMegabytes = double(document.undoBytes()) / (1 << 20);
            figures.redo.push_back(millisecondsOf([&] { document.redo(); }));
        }
        return figures;
    }

    void ordinaryEdits()
    {
        Document document(m_dir.path() + QStringLiteral("/ordinary/"), "bench", m_prompt, m_progress);
        document.open(m_items);
        const double before = residentMegabytes();
        std::vector<Node *> items;
        for (const Node *node : document.database().preorder())
            if (node->isItem())
                items.push_back(document.findNode(NodePath(*node)));
        // Twenty rounds of: an edit of an item's code, a rename, a new item, a move, the tray.
        for (int round = 0; round < 20; ++round) {
            Node *item = items[std::size_t(round) * 4999];
            TTipItem values = *item->item();
            values.Code.append("<p>Nachtrag</p>");
            document.setItem(item, values);
            document.renameNode(items[std::size_t(round) * 4999 + 1], "Umbenannt " + Text::number(round));
            document.newItem(item->parent());
            document.moveNodes({items[std::size_t(round) * 4999 + 2]}, item->parent()->parent());
            document.addToTray(item);
        }
        const double after = residentMegabytes();
        std::printf("100 ordinary edits: %d steps keep %.2f MB (target: under 10 MB); the process "
                    "grew by %.2f MB\n",
                    document.undoStepCount(), double(document.undoBytes()) / (1 << 20), after - before);
    }

    const QString &items() const { return m_items; }
    const QString &oneKey() const { return m_oneKey; }
    const QString &small() const { return m_small; }
    const QString &referenced() const { return m_referenced; }

private:
    QTemporaryDir m_dir;
    QString m_items;
    QString m_oneKey;
    QString m_small;
    QString m_referenced;
    bench::BenchPrompt m_prompt{UserPrompt::Answer::Yes};
    NoProgress m_progress;
};

} // namespace

int main()
{
    Bench bench;
    std::printf("the 100,000-item database: %.1f MB\n",
                double(QFileInfo(bench.items()).size()) / (1 << 20));

    report("delete of a key with 100,000 items", bench.measure(bench.oneKey(), [](Document &d) {
        d.removeNode(d.findNode("Alles"));
    }));
    report("rename of a template referenced by 100,000 items", bench.measure(bench.referenced(), [](Document &d) {
        TTemplate *css = d.database().DefaultCSSTemplate;
        d.saveTemplate(CssTemplates, css, {"Umbenannt", css->Description, css->Code, true});
    }));
    const QString imported = bench.items();
    report("import of the 100,000-item database as new entries", bench.measure(bench.small(), [&](Document &d) {
        d.importDatabases({imported}, ImportableParts);
    }));
    report("import of the 100,000-item database over itself", bench.measure(bench.items(), [&](Document &d) {
        d.importDatabases({imported}, ImportableParts);
    }));
    bench.ordinaryEdits();
    return 0;
}
