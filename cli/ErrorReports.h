#pragma once
// The lines plinthwright-cli writes to stderr: each begins with the program's name, and every
// name and path in it is shown as visibleText shows it.

#include "tracklib/CoreError.h"

#include <QString>
#include <QTextStream>

namespace pw {

inline constexpr const char* cliProgramName = "plinthwright-cli";

// "plinthwright-cli: SUBJECT: REASON".
void reportFailure(QTextStream& err, const QString& subject, const QString& reason);
// The same with the reason of a failure of the core.
void reportFailure(QTextStream& err, const QString& subject, const CoreError& error);
// A failure of the core, whose text names its subject: "plinthwright-cli: TEXT".
void reportError(QTextStream& err, const CoreError& error);
// "plinthwright-cli: warning: TEXT", the text shown as visibleText shows it.
void reportWarning(QTextStream& err, const QString& text);
// The same with a warning of the core.
void reportWarning(QTextStream& err, const CoreError& warning);
// Whether an output may be written at `path`: a pipe, device or directory is refused as such,
// whatever its name says, and reported; true when nothing stands in the way.
bool outputPathAccepted(QTextStream& err, const QString& path);
// "plinthwright-cli: PROBLEM", then the usage line; returns exitUsage.
int reportUsageError(QTextStream& err, const QString& problem, const QString& usageLine);

}  // namespace pw
