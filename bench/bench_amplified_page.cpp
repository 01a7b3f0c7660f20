// Build time and peak memory of pages that a small file makes huge: an HTML template of 100,000
// "%text%" around a 15 KB item (a 615 KB file), and likewise "%css%", "%xcss%", "%headline%"
// and template blocks. Each page is built in a process of its own, so that its peak memory is
// its own. Without a bound the first takes seconds and gigabytes; the page budget cuts each at
// a few tens of MB. An ordinary page of the same item is shown beside them.

#include "database/model.h"
#include "render/page_builder.h"

#include <QByteArray>

#include <cstdio>
#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

using namespace lexora;

namespace {

constexpr int kCopies = 100000;

struct Fixture {
    Database db;
    Node *node = nullptr;
    TTemplate *html = nullptr;
    TTemplate *css = nullptr;
    Text code = Text("Ein Eintrag von 15 KB. ").repeated(15 * 1024 / 23 + 1).left(15 * 1024);

    TTemplate *add(int list, const char *name, const Text &templateCode)
    {
        db.templates(list).push_back(std::make_unique<TTemplate>(TTemplate{name, templateCode, {}}));
        return db.templates(list).back().get();
    }
};

struct Case {
    const char *name;
    // Sets up the page's templates and node; returns the code to build.
    std::function<Text(Fixture &)> setUp;
};

const Case kCases[] = {
    {"ordinary page (15 KB item)", [](Fixture &f) {
         f.html = f.add(HtmlTemplates, "HTML", "<html><style>%css%</style><h3>%headline%</h3>%text%</html>");
         f.css = f.add(CssTemplates, "CSS", "body {margin:6}");
         return f.code;
     }},
    {"%text% x 100,000", [](Fixture &f) {
         f.html = f.add(HtmlTemplates, "HTML", Text("%text%").repeated(kCopies));
         return f.code;
     }},
    {"%css% x 100,000", [](Fixture &f) {
         f.html = f.add(HtmlTemplates, "HTML", Text("%css%").repeated(kCopies) + "%text%");
         f.css = f.add(CssTemplates, "CSS", f.code);
         return Text("x");
     }},
    {"%xcss% x 100,000", [](Fixture &f) {
         f.html = f.add(HtmlTemplates, "HTML", Text("%xcss%S>").repeated(kCopies) + "%text%");
         f.add(CssTemplates, "S", f.code);
         return Text("x");
     }},
    {"%headline% x 100,000", [](Fixture &f) {
         f.html = f.add(HtmlTemplates, "HTML", Text("%headline%").repeated(kCopies) + "%text%");
         f.node->setName(f.code);
         return Text("x");
     }},
    {"blocks x 100,000", [](Fixture &f) {
         f.html = f.add(HtmlTemplates, "HTML", Text("%>xhtml%.G>%<xhtml%").repeated(kCopies) + "%text%");
         f.add(HtmlTemplates, ".G", f.code);
         return Text("x");
     }},
};

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void run(const Case &c)
{
    Fixture f;
    f.node = f.db.topLevel().appendChild("Seite");
    f.node->setItem(std::make_unique<TTipItem>());
    const Text code = c.setUp(f);
    const qsizetype fileSize = code.size() + (f.html ? f.html->Code.size() : 0)
                               + (f.css ? f.css->Code.size() : 0);
    const long before = peakKilobytes();
    const double start = threadSeconds();
    const Text page = BuildPage(f.db, code, {f.html, f.css}, *f.node, f.node->item(), true);
    const double seconds = threadSeconds() - start;
    const long peak = peakKilobytes() - before;
    std::printf("%-28s templates+code %7.1f KB  page %7.1f MB%s  build %7.1f ms  peak +%6.1f MB\n",
                c.name, double(fileSize) / 1024, double(page.size()) / (1 << 20),
                page.contains("abgeschnitten") ? " (cut)" : "      ", seconds * 1e3,
                double(peak) / 1024);
    std::fflush(stdout);
}

} // namespace

int main()
{
    for (const Case &c : kCases) {
        const pid_t child = fork();
        if (child == 0) {
            run(c);
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            std::printf("%-28s failed\n", c.name);
    }
    return 0;
}
