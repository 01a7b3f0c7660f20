// Differential test: the displayed text computed without a browser against the innerText of
// the same page in Qt WebEngine, on a corpus of item pages.
#include "database/win1252.h"
#include "render/displayed_text.h"
#include "support/item_pages.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

using namespace lexora;

namespace {

// Pages above this size go through a file: setHtml takes no more than 2 MB.
constexpr qsizetype kSetHtmlLimit = 1'500'000;

// A visible browser view; an off-screen one lays pages out differently and gives another innerText.
class Browser {
public:
    Browser()
    {
        m_view.resize(1024, 768);
        m_view.show();
        m_shown = QTest::qWaitForWindowExposed(&m_view);
    }

    bool shown() const { return m_shown; }

    // The page's document.body.innerText, or nothing when the page did not load in time.
    std::optional<QString> innerText(const Text &page)
    {
        std::optional<bool> loaded;
        const auto connection = QObject::connect(&m_view, &QWebEngineView::loadFinished, &m_loop,
                                                 [&](bool ok) { loaded = ok; m_loop.quit(); });
        const QString html = win1252::toUnicode(page);
        if (page.size() <= kSetHtmlLimit) {
            m_view.setHtml(html);
        } else {
            // A byte order mark makes the browser read the file as UTF-8 and is no part of the text.
            QFile file(m_dir.filePath("page.html"));
            if (!file.open(QIODevice::WriteOnly))
                return std::nullopt;
            file.write("\xEF\xBB\xBF" + html.toUtf8());
            file.close();
            m_view.load(QUrl::fromLocalFile(file.fileName()));
        }
        waitForQuit();
        QObject::disconnect(connection);
        if (!loaded.value_or(false))
            return std::nullopt;
        std::optional<QString> text;
        QElapsedTimer timer;
        timer.start();
        m_view.page()->runJavaScript(QStringLiteral("document.body ? document.body.innerText : ''"),
                                     [&](const QVariant &value) {
                                         text = value.toString();
                                         m_loop.quit();
                                     });
        waitForQuit();
        m_innerTextNs += timer.nsecsElapsed();
        return text;
    }

    // The time spent reading innerText of loaded pages so far.
    qint64 innerTextNs() const { return m_innerTextNs; }

private:
    // Runs the events until the loop is told to quit, at most 20 seconds. (Polling the events
    // instead slows each page down by a second.)
    void waitForQuit()
    {
        QTimer timeout;
        timeout.setSingleShot(true);
        QObject::connect(&timeout, &QTimer::timeout, &m_loop, &QEventLoop::quit);
        timeout.start(20000);
        m_loop.exec();
    }

    QEventLoop m_loop;
    QWebEngineView m_view;
    QTemporaryDir m_dir;
    bool m_shown = false;
    qint64 m_innerTextNs = 0;
};

QList<QByteArray> words(const Text &text)
{
    QList<QByteArray> result;
    QByteArray word;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\xA0') {
            if (!word.isEmpty())
                result.append(word);
            word.clear();
        } else {
            word.append(c);
        }
    }
    if (!word.isEmpty())
        result.append(word);
    return result;
}

// The first word the browser shows that our text lacks (in order), or nothing: a word missing
// from ours or split or joined differently shows up here.
std::optional<QByteArray> firstMissingWord(const Text &browser, const Text &ours)
{
    const QList<QByteArray> expected = words(browser), actual = words(ours);
    qsizetype j = 0;
    for (const QByteArray &word : expected) {
        while (j < actual.size() && actual[j] != word)
            ++j;
        if (j == actual.size())
            return word;
        ++j;
    }
    return std::nullopt;
}

// The text around `at`, readable on one line.
QByteArray excerpt(const Text &text, qsizetype at)
{
    const qsizetype from = std::max<qsizetype>(0, at - 60);
    QByteArray out = win1252::toUtf8(text.mid(from, 160));
    return out.replace("\n", "\\n").replace("\t", "\\t");
}

} // namespace

TEST(DisplayedTextDiff, AgreesWithTheBrowserOnItemPages)
{
    Browser browser;
    ASSERT_TRUE(browser.shown());
    std::vector<test::CorpusPage> corpus = test::ItemPageCorpus(220);
    corpus.push_back({"large page via file", test::LargeItemPage(1'700'000)});
    ASSERT_GE(corpus.size(), 200u);

    int identical = 0, printed = 0;
    qint64 browserNs = 0; // pages loaded through setHtml only, the common case
    int browserPages = 0;
    QList<QByteArray> wordFailures, loadFailures;
    std::vector<Text> browserTexts;
    QElapsedTimer timer;
    for (const test::CorpusPage &page : corpus) {
        timer.start();
        const std::optional<QString> innerText = browser.innerText(page.page);
        if (page.page.size() <= kSetHtmlLimit) {
            browserNs += timer.nsecsElapsed();
            ++browserPages;
        }
        if (!innerText) {
            loadFailures.append(page.name);
            continue;
        }
        const Text expected = win1252::fromUnicode(*innerText);
        const Text actual = DisplayedText(page.page);
        if (actual == expected) {
            ++identical;
            continue;
        }
        if (const std::optional<QByteArray> missing = firstMissingWord(expected, actual))
            wordFailures.append(page.name + ": \"" + win1252::toUtf8(*missing) + "\"");
        if (printed++ < 25) {
            qsizetype at = 0;
            while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
                ++at;
            std::printf("differs: %s at %lld\n  browser: %s\n  ours:    %s\n", page.name.constData(),
                        static_cast<long long>(at), excerpt(expected, at).constData(),
                        excerpt(actual, at).constData());
        }
    }
    EXPECT_TRUE(loadFailures.isEmpty()) << loadFailures.join(", ").constData();
    const int compared = int(corpus.size()) - int(loadFailures.size());

    // Our time per page on the same pages, measured over several rounds.
    constexpr int kRounds = 5;
    timer.start();
    qsizetype sink = 0;
    for (int round = 0; round < kRounds; ++round)
        for (const test::CorpusPage &page : corpus)
            if (page.page.size() <= kSetHtmlLimit)
                sink += DisplayedText(page.page).size();
    const double oursUs = double(timer.nsecsElapsed()) / 1000.0 / double(kRounds * browserPages);
    const double browserUs = double(browserNs) / 1000.0 / double(browserPages);

    std::printf("DisplayedText agrees with innerText on %d of %d pages (%.1f %%)\n", identical, compared,
                100.0 * identical / std::max(compared, 1));
    std::printf("per page: browser load + innerText %.0f us (innerText alone %.0f us), DisplayedText %.1f us "
                "(%.0fx faster; %lld bytes)\n",
                browserUs, double(browser.innerTextNs()) / 1000.0 / double(compared), oursUs, browserUs / oursUs,
                static_cast<long long>(sink));
    EXPECT_GE(identical * 100, 95 * compared);
    EXPECT_TRUE(wordFailures.isEmpty()) << "words missing or split:\n" << wordFailures.join("\n").constData();
}
