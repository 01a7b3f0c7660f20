// Renaming a template that every item of the 100,000-item database refers to by name: the whole
// rewrite of the item code (target: under 1 s), under the progress window, which must be
// repainted meanwhile rather than once per item. Run it with a display (xvfb-run) in a Release
// build.

#include "database/file_format.h"
#include "database/model.h"
#include "dialogs/progress_window.h"
#include "document/document.h"
#include "support/gui/gui_application.h"
#include "support/gui_prompt.h"
#include "support/sample_databases.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

using namespace lexora;

namespace {

// Counts the paints of a window and its children.
class PaintCount : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The progress window, with the time spent in it (painting and other events) kept apart.
class TimedProgress : public Progress {
public:
    explicit TimedProgress(Progress &shown) : m_shown(shown) {}
    void begin(const QString &caption, const QString &text, qint64 total) override
    {
        m_shown.begin(caption, text, total);
    }
    void step(qint64 done) override
    {
        QElapsedTimer t;
        t.start();
        m_shown.step(done);
        nanoseconds += t.nsecsElapsed();
    }
    void end() override { m_shown.end(); }

    qint64 nanoseconds = 0;

private:
    Progress &m_shown;
};

// CPU time of this thread: the work itself, whatever else the machine runs.
double threadMilliseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

int countReferences(const Database &db, const Text &reference)
{
    int count = 0;
    for (const Node *node : db.preorder())
        if (node->item() && node->item()->Code.contains(reference))
            ++count;
    return count;
}

} // namespace

int main(int argc, char **argv)
{
    const auto app = bench::startGuiApplication(argc, argv);
    QTemporaryDir home;
    const QString file = home.filePath(QStringLiteral("items.lxd"));
    {
        Database db;
        bench::fillItemDatabase(db);
        const Text name = db.DefaultCSSTemplate->Name;
        for (const Node *node : db.preorder())
            if (TTipItem *item = node->item())
                item->Code.insert(item->Code.size() / 2, "%xcss%" + name + '>');
        bench::writeDatabase(db, file);
    }

    GuiPrompt prompt;
    ProgressWindow progress;
    TimedProgress timed(progress);
    Document document(home.path() + QStringLiteral("/files/"), "bench", prompt, timed);
    if (document.open(file) != Document::OpenResult::Opened)
        return 1;
    const Database &db = document.database();
    TTemplate *css = db.DefaultCSSTemplate;
    const Text oldReference = "%xcss%" + css->Name + '>';
    const int items = countReferences(db, oldReference);

    PaintCount painted;
    progress.installEventFilter(&painted);
    for (QObject *child : progress.findChildren<QObject *>())
        child->installEventFilter(&painted);
    QElapsedTimer timer;
    const double cpuStart = threadMilliseconds();
    timer.start();
    const TTemplate *saved = document.saveTemplate(
        CssTemplates, css, {"Umbenannt", css->Description, css->Code, true});
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    const double cpu = threadMilliseconds() - cpuStart;
    const double inWindow = double(timed.nanoseconds) / 1e6;

    const int rewritten = countReferences(db, "%xcss%Umbenannt>");
    std::printf("rename of a CSS template referenced in %d items: %7.1f ms (target: under 1000 ms), "
                "%.1f ms CPU time\n",
                items, ms, cpu);
    std::printf("items rewritten: %d; progress window painted %d times meanwhile, %.1f ms of the "
                "time spent in it\n",
                rewritten, painted.paints, inWindow);
    return saved && rewritten == items && items == bench::kItemCount ? 0 : 1;
}
