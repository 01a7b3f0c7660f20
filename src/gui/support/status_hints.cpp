#include "support/status_hints.h"

#include <QApplication>
#include <QStatusBar>
#include <QStatusTipEvent>

namespace lexora {

StatusHints::StatusHints(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

StatusHints::~StatusHints()
{
    qApp->removeEventFilter(this);
}

bool StatusHints::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::StatusTip)
        return QObject::eventFilter(watched, event);
    // ApplicationEventsHint: the active window shows it. While no window of the program is
    // active, the window the hint belongs to shows it as usual.
    QWidget *active = QApplication::activeWindow();
    auto *bar = active ? active->findChild<QStatusBar *>(QStringLiteral("StatusBar")) : nullptr;
    if (!bar)
        return active != nullptr;
    bar->showMessage(static_cast<QStatusTipEvent *>(event)->tip());
    return true;
}

} // namespace lexora
