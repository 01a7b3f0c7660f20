#include "support/status_tips_to_bar.h"

#include <QEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QWidget>

namespace lexora {

namespace {

class StatusTipsToBar : public QObject {
public:
    StatusTipsToBar(QWidget *window, QStatusBar *bar) : QObject(window), m_bar(bar) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::StatusTip)
            return QObject::eventFilter(watched, event);
        m_bar->showMessage(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }

private:
    QStatusBar *m_bar;
};

} // namespace

void showStatusTipsIn(QWidget *window, QStatusBar *bar)
{
    window->installEventFilter(new StatusTipsToBar(window, bar));
}

} // namespace lexora
