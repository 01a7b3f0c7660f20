#include "support/link_drop.h"

#include <QDropEvent>
#include <QWidget>

namespace lexora {

namespace {

class LinkDrop : public QObject {
public:
    LinkDrop(QWidget *target, std::function<bool(const QObject *)> accepts,
             std::function<void(const QObject *)> dropped)
        : QObject(target), m_accepts(std::move(accepts)), m_dropped(std::move(dropped))
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop: {
            auto *drop = static_cast<QDropEvent *>(event);
            if (!m_accepts(drop->source())) {
                drop->ignore();
                return true;
            }
            drop->setDropAction(Qt::LinkAction);
            drop->accept();
            if (event->type() == QEvent::Drop)
                m_dropped(drop->source());
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    std::function<bool(const QObject *)> m_accepts;
    std::function<void(const QObject *)> m_dropped;
};

} // namespace

void acceptLinkDrops(QWidget *target, std::function<bool(const QObject *source)> accepts,
                     std::function<void(const QObject *source)> dropped)
{
    target->installEventFilter(new LinkDrop(target, std::move(accepts), std::move(dropped)));
}

} // namespace lexora
