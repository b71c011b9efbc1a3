// The 3D view's tests run in one QGuiApplication. Its platform defaults to "offscreen", which
// makes OpenGL contexts through the X display it is given (CTest runs this under a virtual X
// server); a test that cannot make one fails.

#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
