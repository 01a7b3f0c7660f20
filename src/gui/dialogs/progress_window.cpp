#include "dialogs/progress_window.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

#include <algorithm>

namespace lexora {

namespace {

// How often step() lets pending events run: often enough for a smooth bar and a responsive
// program, rarely enough that the work itself is not slowed down.
constexpr qint64 eventIntervalMs = 15;
constexpr int fractionSteps = 1000;

} // namespace

ProgressWindow::ProgressWindow()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TForm10"));
    setFixedSize(351, 54);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(0, 0, 351, 54);

    ProgressBar = new QProgressBar(panel);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setGeometry(2, 2, 347, 23);
    ProgressBar->setTextVisible(false);

    Label_Info = new QLabel(panel);
    Label_Info->setObjectName(QStringLiteral("Label_Info"));
    Label_Info->setGeometry(7, 29, 337, 20);
    Label_Info->setAlignment(Qt::AlignCenter);
}

ProgressWindow::~ProgressWindow()
{
    enableOtherWindows();
}

void ProgressWindow::begin(const QString &caption, const QString &text, qint64 total)
{
    setWindowTitle(caption);
    Label_Info->setText(text);
    m_total = total;
    // Without a known amount the bar runs as a marquee.
    ProgressBar->setRange(0, total > 0 ? fractionSteps : 0);
    ProgressBar->setValue(0);
    if (m_depth++ > 0)
        return;

    disableOtherWindows();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
    raise();
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}

void ProgressWindow::step(qint64 done)
{
    if (m_depth == 0 || m_sinceEvents.elapsed() < eventIntervalMs)
        return;
    showFraction(done);
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}

void ProgressWindow::end()
{
    if (m_depth == 0 || --m_depth > 0)
        return;
    hide();
    enableOtherWindows();
}

void ProgressWindow::showFraction(qint64 done)
{
    if (m_total > 0)
        ProgressBar->setValue(int(std::clamp<qint64>(done, 0, m_total) * fractionSteps / m_total));
}

void ProgressWindow::disableOtherWindows()
{
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window != this && window->isVisible() && window->isEnabled()) {
            window->setEnabled(false);
            m_disabled.append(window);
        }
    }
    qApp->installEventFilter(this);
}

void ProgressWindow::enableOtherWindows()
{
    qApp->removeEventFilter(this);
    for (const QPointer<QWidget> &window : std::as_const(m_disabled))
        if (window)
            window->setEnabled(true);
    m_disabled.clear();
}

// A disabled window does not take input, but the window manager could still close it in the
// middle of the work.
bool ProgressWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close && watched != this) {
        for (const QPointer<QWidget> &window : std::as_const(m_disabled)) {
            if (window == watched) {
                event->ignore();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lexora
