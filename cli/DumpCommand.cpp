#include "DumpCommand.h"

#include "ExitCode.h"
#include "TrackJson.h"
#include "TrackLoading.h"

namespace pw {

int runDump(const QString& trackPath, QTextStream& out, QTextStream& err)
{
    // The record as read, whatever the bytes were: dump is how one looks at them.
    const std::optional<OpenedTrack> loaded = loadTrack(trackPath, err, WithoutTrackData::Accept);
    if (!loaded)
        return exitFailure;
    // Streamed: the text of a large track is many times its file's size.
    writeTrackJson(loaded->track, [&](std::string_view piece) {
        out << QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size()));
    });
    return exitSuccess;
}

}  // namespace pw
