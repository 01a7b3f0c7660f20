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
    // ApplicationEventsHint: the active window shows it, or no window does.
    if (QWidget *active = QApplication::activeWindow())
        if (auto *bar = active->findChild<QStatusBar *>(QStringLiteral("StatusBar")))
            bar->showMessage(static_cast<QStatusTipEvent *>(event)->tip());
    return true;
}

} // namespace lexora
