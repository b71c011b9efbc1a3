#include "ErrorReports.h"

#include "ExitCode.h"
#include "qtbridge/QtPaths.h"
#include "qtbridge/VisibleText.h"
#include "tracklib/AtomicFile.h"

namespace pw {

void reportFailure(QTextStream& err, const QString& subject, const QString& reason)
{
    err << cliProgramName << ": " << visibleText(subject) << ": " << visibleText(reason) << '\n';
    err.flush();
}

void reportFailure(QTextStream& err, const QString& subject, const CoreError& error)
{
    reportFailure(err, subject, QString::fromStdString(errorReason(error)));
}

void reportError(QTextStream& err, const CoreError& error)
{
    err << cliProgramName << ": " << visibleError(error) << '\n';
    err.flush();
}

void reportWarning(QTextStream& err, const QString& text)
{
    err << cliProgramName << ": warning: " << visibleText(text) << '\n';
    err.flush();
}

void reportWarning(QTextStream& err, const CoreError& warning)
{
    reportWarning(err, QString::fromStdString(errorText(warning)));
}

int reportUsageError(QTextStream& err, const QString& problem, const QString& usageLine)
{
    // The problem quotes what was given, which may hold anything.
    err << cliProgramName << ": " << visibleText(problem) << '\n' << usageLine << '\n';
    err.flush();
    return exitUsage;
}

bool outputPathAccepted(QTextStream& err, const QString& path)
{
    const Result<void> kind = checkFileKind(toFileSystemPath(path));
    if (!kind)
        reportFailure(err, path, kind.error());
    return bool(kind);
}

}  // namespace pw
