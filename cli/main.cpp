// plinthwright-cli: inspect, dump and process track files from scripts.

#include "cli/CommandLine.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
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
