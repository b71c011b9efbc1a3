#include "TrackLoading.h"

#include "frontend/QtPaths.h"
#include "frontend/VisibleText.h"
#include "tracklib/AtomicFile.h"

namespace pw {

void reportFailure(QTextStream& err, const QString& subject, const QString& reason)
{
    err << cliProgramName << ": " << visibleText(subject) << ": " << visibleText(reason) << '\n';
    err.flush();
}

void reportError(QTextStream& err, const CoreError& error)
{
    err << cliProgramName << ": " << visibleError(error) << '\n';
    err.flush();
}

void reportWarning(QTextStream& err, const CoreError& warning)
{
    err << cliProgramName << ": warning: " << visibleError(warning) << '\n';
    err.flush();
}

std::optional<OpenedTrack> loadTrack(const QString& path, QTextStream& err,
                                     WithoutTrackData withoutData)
{
    Result<OpenedTrack> loaded =
        path == QLatin1String(standardInputName)
            ? openTrackFromStandardInput(withoutData)
            : openTrack(toFileSystemPath(path), TrackSource::AnyFile, withoutData);
    if (!loaded) {
        // The core's text already names the file.
        reportError(err, loaded.error());
        return std::nullopt;
    }
    return std::move(*loaded);
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
