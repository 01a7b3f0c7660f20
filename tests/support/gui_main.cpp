// Entry of the GUI tests: one QApplication for all tests of the executable.
#include "support/page_rendering.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Qt WebEngine refuses its sandbox when run as root, and there is no GPU under Xvfb.
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox");
    // Without a session bus (Xvfb in CI) libdbus would fork a dbus-launch from Qt's D-Bus
    // thread; under AddressSanitizer such a child can hang on a lock another thread held at the
    // fork. The tests need no bus, so none is looked for.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    lexora::renderPagesInSoftware();
    return RUN_ALL_TESTS();
}
