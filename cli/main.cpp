// plinthwright-cli: inspect, dump and process track files from scripts.

#include "cli/CommandLine.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("plinthwright-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = pw::runCommandLine(QCoreApplication::arguments(), out, err);
    out.flush();
    err.flush();
    return code;
}
