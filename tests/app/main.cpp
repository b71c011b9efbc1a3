// Runs the window's test classes in one QApplication. An optional first argument names the one
// class to run; the remaining arguments go to QtTest.

#include "WindowTests.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

int main(int argc, char* argv[])
{
    // Without a platform QApplication cannot start, and a silent exit must not look like a pass.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The settings store writes below a fresh directory, never into the user's own settings.
    QTemporaryDir configHome;
    if (!configHome.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());

    QApplication application(argc, argv);

    const char* only = nullptr;
    std::vector<char*> qtTestArgs{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (i == 1 && argv[i][0] != '-')
            only = argv[i];
        else
            qtTestArgs.push_back(argv[i]);
    }

    int status = 0;
    int classesRun = 0;
    using Factory = std::unique_ptr<QObject> (*)();
    for (const Factory make : {pw::test::makeWindowLayoutTest, pw::test::makeTrackLoadingTest,
                               pw::test::makeSizeClassBoxesTest, pw::test::makeSettingsTest,
                               pw::test::makeGenerateSaveTest}) {
        const std::unique_ptr<QObject> testClass = make();
        const QString name = QString::fromLatin1(testClass->metaObject()->className());
        if (only != nullptr && name.section(QStringLiteral("::"), -1) != QLatin1String(only))
            continue;
        ++classesRun;
        status |= QTest::qExec(testClass.get(), static_cast<int>(qtTestArgs.size()),
                               qtTestArgs.data());
    }
    return classesRun == 0 ? 3 : status;
}
