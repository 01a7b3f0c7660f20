// Entry of the GUI tests: one QApplication for all tests of the executable.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Qt WebEngine refuses its sandbox when run as root, and there is no GPU under Xvfb.
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
