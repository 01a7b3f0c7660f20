// Throughput of DisplayedText on realistic item pages (the differential test's corpus) and on one
// large page. The browser's time per page for the same corpus is printed by that test
// (displayed_text_diff_test); DisplayedText is to be at least 100 times faster per page.
#include "render/displayed_text.h"
#include "support/item_pages.h"

#include <QElapsedTimer>

#include <cstdio>
#include <vector>

using namespace lexora;

namespace {

struct Figures {
    double mbPerSecond;
    double usPerPage;
};

// Runs DisplayedText over all pages again and again for at least a second.
Figures measure(const std::vector<Text> &pages)
{
    qint64 bytes = 0;
    for (const Text &page : pages)
        bytes += page.size();
    qsizetype sink = 0;
    int rounds = 0;
    QElapsedTimer timer;
    timer.start();
    do {
        for (const Text &page : pages)
            sink += DisplayedText(page).size();
        ++rounds;
    } while (timer.elapsed() < 1000);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (sink < 0) // keeps the calls from being optimised away
        std::puts("");
    return {double(bytes) * rounds / seconds / 1e6, seconds * 1e6 / (double(rounds) * double(pages.size()))};
}

} // namespace

int main()
{
    std::vector<Text> pages;
    qint64 bytes = 0;
    for (const test::CorpusPage &page : test::ItemPageCorpus(1000)) {
        pages.push_back(page.page);
        bytes += page.page.size();
    }
    const Figures corpus = measure(pages);
    std::printf("DisplayedText on %zu item pages (%.1f KB each on average): %.1f MB/s, %.1f us per page\n",
                pages.size(), double(bytes) / double(pages.size()) / 1000.0, corpus.mbPerSecond,
                corpus.usPerPage);
    const Figures large = measure({test::LargeItemPage(1'000'000)});
    std::printf("DisplayedText on one 1 MB item page: %.1f MB/s\n", large.mbPerSecond);
    return 0;
}
