#include "TrackLoading.h"

#include "footers/QtPaths.h"
#include "tracklib/AtomicFile.h"

namespace pw {

void reportFailure(QTextStream& err, const QString& subject, const QString& reason)
{
    err << cliProgramName << ": " << subject << ": " << reason << '\n';
    err.flush();
}

std::optional<LoadedTrack> loadTrack(const QString& path, QTextStream& err)
{
    LoadedTrack loaded;
    const int read = path == QLatin1String(standardInputName)
                         ? readTrackFromStandardInput(loaded.track, &loaded.diagnostics)
                         : readTrackFile(toFileSystemPath(path), loaded.track, &loaded.diagnostics);
    if (read == 0) {
        // The reader's reason already names the file.
        if (loaded.diagnostics.openError.empty())
            reportFailure(err, path, QStringLiteral("cannot be opened"));
        else
            err << cliProgramName << ": "
                << QString::fromStdString(loaded.diagnostics.openError) << '\n';
        err.flush();
        return std::nullopt;
    }
    return loaded;
}

bool outputPathAccepted(const QString& path, QTextStream& err)
{
    const std::string problem = outputPathProblem(toFileSystemPath(path));
    if (problem.empty())
        return true;
    reportFailure(err, path, QString::fromStdString(problem));
    return false;
}

namespace {

int chunksCutShort(const ReadDiagnostics& diagnostics)
{
    return diagnostics.chunksCutShort + diagnostics.negativeTextLengths;
}

}  // namespace

bool passedOverAnything(const ReadDiagnostics& diagnostics)
{
    return isDamaged(diagnostics);
}

QString passedOverText(const ReadDiagnostics& diagnostics)
{
    QString text = QStringLiteral("%1 bytes skipped; chunks cut short: %2")
                       .arg(diagnostics.bytesSkipped)
                       .arg(chunksCutShort(diagnostics));
    if (diagnostics.textsCutAtZero > 0)
        text += QStringLiteral("; texts cut at a zero byte: %1").arg(diagnostics.textsCutAtZero);
    return text;
}

}  // namespace pw
