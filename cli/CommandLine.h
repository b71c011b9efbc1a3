#pragma once
// The command line of plinthwright-cli: parses the arguments, runs one command and returns the
// process's exit code. Text goes to the two streams only, so tests run it in-process.

#include "ExitCode.h"

#include <QStringList>
#include <QTextStream>

namespace pw {

// Whether the command paints, and so needs a QGuiApplication rather than a core one.
bool needsGuiApplication(const QStringList& arguments);

// `arguments` starts with the program name, as QCoreApplication::arguments() does.
int runCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace pw
