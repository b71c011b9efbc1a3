#pragma once
// The command line of plinthwright-cli: parses the arguments, runs one command and returns the
// process's exit code. Text goes to the two streams only, so tests run it in-process.

#include <QStringList>
#include <QTextStream>

namespace pw {

enum ExitCode : int {
    exitSuccess = 0,
    exitFailure = 1,  // a file could not be read, written, created or copied
    exitUsage = 2,    // the command line itself is wrong
};

inline constexpr const char* cliUsageLine =
    "Usage: plinthwright-cli info TRACK | dump TRACK | plan TRACK -o SVG|PNG [--models-dir DIR]"
    " [--nolimits-dir DIR] [--front|--3d]"
    " | generate TRACK -o OUT --nolimits-dir DIR --models-dir DIR [options]";

// Whether the command paints (plan), and so needs a QGuiApplication rather than a core one.
bool needsGuiApplication(const QStringList& arguments);

// `arguments` starts with the program name, as QCoreApplication::arguments() does.
int runCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace pw
