// GoogleTest's main in a QGuiApplication: QProcess and QSaveFile want an application object,
// painting wants a GUI one and a platform. The platform defaults to "offscreen", so that no
// display is needed; it makes OpenGL contexts through the X display it is given, if any.
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
