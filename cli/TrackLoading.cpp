#include "TrackLoading.h"

#include "frontend/QtPaths.h"
#include "tracklib/AtomicFile.h"

namespace pw {

void reportFailure(QTextStream& err, const QString& subject, const QString& reason)
{
    err << cliProgramName << ": " << subject << ": " << reason << '\n';
    err.flush();
}

void reportError(QTextStream& err, const CoreError& error)
{
    err << cliProgramName << ": " << QString::fromStdString(errorText(error)) << '\n';
    err.flush();
}

std::optional<OpenedTrack> loadTrack(const QString& path, QTextStream& err)
{
    OpenedTrack loaded = path == QLatin1String(standardInputName)
                             ? openTrackFromStandardInput()
                             : openTrack(toFileSystemPath(path));
    if (loaded.status == OpenStatus::CannotOpen) {
        // The reader's reason already names the file.
        if (!loaded.diagnostics.openError)
            reportFailure(err, path, QStringLiteral("cannot be opened"));
        else
            reportError(err, *loaded.diagnostics.openError);
        return std::nullopt;
    }
    return loaded;
}

bool outputPathAccepted(const QString& path, QTextStream& err)
{
    const std::string problem = fileKindProblem(toFileSystemPath(path));
    if (problem.empty())
        return true;
    reportFailure(err, path, QString::fromStdString(problem));
    return false;
}

}  // namespace pw
