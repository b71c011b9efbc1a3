#include "TrackLoading.h"

#include "footers/QtPaths.h"

namespace pw {

void reportFailure(QTextStream& err, const QString& subject, const QString& reason)
{
    err << cliProgramName << ": " << subject << ": " << reason << '\n';
    err.flush();
}

std::optional<LoadedTrack> loadTrack(const QString& path, QTextStream& err)
{
    LoadedTrack loaded;
    if (readTrackFile(toFileSystemPath(path), loaded.track, &loaded.diagnostics) == 0) {
        const QString reason = loaded.diagnostics.openError.empty()
                                   ? QStringLiteral("cannot be opened")
                                   : QString::fromStdString(loaded.diagnostics.openError);
        reportFailure(err, path, reason);
        return std::nullopt;
    }
    return loaded;
}

bool holdsTrackData(const Track& track)
{
    // The grid is storage, not data: a reader may size it whether or not a terrain was found.
    Track probe = track;
    probe.terrain.terrainGrid.clear();
    return !(probe == Track{});
}

}  // namespace pw
