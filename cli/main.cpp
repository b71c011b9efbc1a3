// plinthwright-cli: inspect, dump and process track files from scripts.

#include "cli/CommandLine.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#endif

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Painting text needs a platform; a plan is drawn off screen unless one is named. Windows'
    // own platform needs no display and shows no window, and is the one a Windows build ships.
    std::unique_ptr<QCoreApplication> application;
    if (pw::needsGuiApplication(arguments)) {
#ifndef _WIN32
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
#ifdef _WIN32
    // What we print is UTF-8; a console would otherwise show it in its OEM code page.
    const UINT consoleCodePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
#endif
    QCoreApplication::setApplicationName(QStringLiteral("plinthwright-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = pw::runCommandLine(QCoreApplication::arguments(), out, err);
    out.flush();
    err.flush();
#ifdef _WIN32
    if (consoleCodePage != 0)
        SetConsoleOutputCP(consoleCodePage);
#endif
    return code;
}
