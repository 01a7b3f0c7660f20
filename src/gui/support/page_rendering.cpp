#include "support/page_rendering.h"

#include <QQuickWindow>
#include <QSGRendererInterface>

namespace lexora {

void renderPagesInSoftware()
{
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

} // namespace lexora
