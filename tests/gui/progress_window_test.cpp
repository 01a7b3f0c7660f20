#include "dialogs/progress_window.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace lexora;

namespace {

TEST(ProgressWindow, LooksAsItShould)
{
    ProgressWindow form;
    EXPECT_EQ(form.size(), QSize(351, 54));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form.ProgressBar->size(), QSize(347, 23));
    EXPECT_EQ(form.Label_Info->width(), 337);
    EXPECT_TRUE(form.Label_Info->alignment() & Qt::AlignHCenter);
    EXPECT_FALSE(form.isVisible());
}

TEST(ProgressWindow, DisablesTheOtherWindowsWhileShown)
{
    QWidget main, second, hidden, alreadyDisabled;
    main.show();
    second.show();
    alreadyDisabled.show();
    alreadyDisabled.setEnabled(false);

    ProgressWindow form;
    form.begin(QStringLiteral("Laden"), QStringLiteral("Datenbank wird geladen..."), 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.isEnabled());
    EXPECT_EQ(form.Label_Info->text(), QStringLiteral("Datenbank wird geladen..."));
    EXPECT_EQ(form.ProgressBar->maximum(), 0); // marquee
    EXPECT_EQ(form.frameGeometry().center(), QGuiApplication::primaryScreen()->geometry().center());
    EXPECT_FALSE(main.isEnabled());
    EXPECT_FALSE(second.isEnabled());

    // The disabled windows cannot be closed meanwhile.
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.isVisible());

    form.end();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(main.isEnabled());
    EXPECT_TRUE(second.isEnabled());
    EXPECT_TRUE(hidden.isEnabled());
    EXPECT_FALSE(alreadyDisabled.isEnabled()); // only what it disabled is enabled again
    EXPECT_TRUE(main.close());
}

TEST(ProgressWindow, NestedWorkClosesItAtTheOutermostEnd)
{
    QWidget main;
    main.show();
    ProgressWindow form;
    form.begin(QStringLiteral("Import"), QStringLiteral("Importieren..."), 0);
    form.begin(QStringLiteral("Laden"), QStringLiteral("a.lxd wird geladen..."), 100);
    EXPECT_EQ(form.Label_Info->text(), QStringLiteral("a.lxd wird geladen..."));
    form.end();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(main.isEnabled());
    form.end();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(main.isEnabled());
    form.end(); // one end too many does no harm
    EXPECT_TRUE(main.isEnabled());
}

TEST(ProgressWindow, ShowsTheFractionOfAKnownTotal)
{
    ProgressWindow form;
    form.begin(QStringLiteral("Speichern"), QStringLiteral("Datenbank wird gespeichert..."), 4000);
    const int max = form.ProgressBar->maximum();
    EXPECT_GT(max, 0);
    QTest::qWait(20);
    form.step(1000);
    EXPECT_EQ(form.ProgressBar->value(), max / 4);
    QTest::qWait(20);
    form.step(9999); // more than announced stays at full
    EXPECT_EQ(form.ProgressBar->value(), max);
    form.end();
}

TEST(ProgressWindow, StepLetsEventsRunButNotOnEveryCall)
{
    ProgressWindow form;
    int ticks = 0;
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });

    form.begin(QStringLiteral("Laden"), QStringLiteral("..."), 0);
    timer.start();
    ticks = 0;
    QElapsedTimer clock;
    clock.start();
    qint64 calls = 0;
    while (clock.elapsed() < 200)
        form.step(++calls);
    const qint64 elapsed = clock.elapsed();
    form.end();
    timer.stop();

    EXPECT_GT(ticks, 0);                 // pending events ran during the work
    EXPECT_LE(ticks, elapsed / 15 + 2);  // but only every few milliseconds
    EXPECT_GT(calls, ticks * 10);
}

} // namespace
