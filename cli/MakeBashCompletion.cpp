// make_bash_completion TEMPLATE OUTPUT: the bash completion of plinthwright-cli, made at build
// time from its tables.

#include "cli/BashCompletion.h"
#include "cli/ExitCode.h"

#include <QFile>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_bash_completion TEMPLATE OUTPUT\n");
        return pw::exitUsage;
    }
    QFile input(QString::fromLocal8Bit(argv[1]));
    if (!input.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_bash_completion: %s: %s\n", argv[1],
                     qPrintable(input.errorString()));
        return pw::exitFailure;
    }
    const std::optional<QString> script = pw::bashCompletion(QString::fromUtf8(input.readAll()));
    if (!script) {
        std::fprintf(stderr, "make_bash_completion: %s holds a placeholder no table fills\n",
                     argv[1]);
        return pw::exitFailure;
    }
    QSaveFile output(QString::fromLocal8Bit(argv[2]));
    const QByteArray bytes = script->toUtf8();
    if (!output.open(QIODevice::WriteOnly) || output.write(bytes) != bytes.size() ||
        !output.commit()) {
        std::fprintf(stderr, "make_bash_completion: %s: %s\n", argv[2],
                     qPrintable(output.errorString()));
        return pw::exitFailure;
    }
    return pw::exitSuccess;
}
