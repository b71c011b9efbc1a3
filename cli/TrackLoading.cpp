#include "TrackLoading.h"

#include "frontend/QtPaths.h"

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
    OpenedTrack loaded = openTrack(toFileSystemPath(path));
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

}  // namespace pw
