#include "support/gui_activation.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace lexora::test {

namespace {

QString describe(const QObject *object)
{
    if (!object)
        return QStringLiteral("none");
    QString text = QString::fromLatin1(object->metaObject()->className());
    if (!object->objectName().isEmpty())
        text += QStringLiteral(" \"") + object->objectName() + u'"';
    return text;
}

} // namespace

testing::AssertionResult activate(QWidget *window, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    do {
        window->raise();
        window->activateWindow();
        if (QTest::qWaitFor([&] { return QApplication::activeWindow() == window; },
                            std::min<qint64>(1000, deadline.remainingTime())))
            return testing::AssertionSuccess();
    } while (!deadline.hasExpired());
    return testing::AssertionFailure()
           << "not the active window: " << describe(window).toStdString()
           << "; active: " << describe(QApplication::activeWindow()).toStdString()
           << "; focus window: " << describe(QGuiApplication::focusWindow()).toStdString();
}

} // namespace lexora::test
