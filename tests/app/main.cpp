// Runs the registered window test classes in one QApplication. An optional first argument names
// the one class to run; the remaining arguments go to QtTest.

#include "WindowHarness.h"

#include <QApplication>
#include <QSettings>
#include <QtTest>

int main(int argc, char* argv[])
{
    // Without a platform QApplication cannot start, and a silent exit must not look like a pass.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The settings store writes below a fresh directory, never into the user's own settings:
    // INI files there instead of the platform's store (the registry, macOS preferences).
    QTemporaryDir configHome;
    if (!configHome.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configHome.path());
    QApplication application(argc, argv);

    const bool named = argc > 1 && argv[1][0] != '-';
    std::vector<char*> qtTestArgs{argv[0]};
    qtTestArgs.insert(qtTestArgs.end(), argv + (named ? 2 : 1), argv + argc);
    int status = 0;
    int classesRun = 0;
    for (const pw::test::WindowTestFactory make : pw::test::windowTests()) {
        const std::unique_ptr<QObject> testClass = make();
        const QString name = QString::fromLatin1(testClass->metaObject()->className());
        if (named && name.section(QStringLiteral("::"), -1) != QLatin1String(argv[1]))
            continue;
        ++classesRun;
        status |=
            QTest::qExec(testClass.get(), static_cast<int>(qtTestArgs.size()), qtTestArgs.data());
    }
    return classesRun == 0 ? 3 : status;
}
