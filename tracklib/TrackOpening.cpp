#include "TrackOpening.h"

namespace pw {

namespace {

int chunksCutShort(const ReadDiagnostics& diagnostics)
{
    return diagnostics.chunksCutShort + diagnostics.negativeTextLengths;
}

}  // namespace

OpenedTrack openTrack(const std::filesystem::path& path)
{
    OpenedTrack opened;
    if (readTrackFile(path, opened.track, &opened.diagnostics) == 0)
        opened.status = OpenStatus::CannotOpen;
    else if (!holdsTrackData(opened.track))
        opened.status = OpenStatus::NoTrackData;
    else
        opened.status = OpenStatus::Opened;
    return opened;
}

bool passedOverAnything(const ReadDiagnostics& diagnostics)
{
    return diagnostics.bytesSkipped > 0 || chunksCutShort(diagnostics) > 0;
}

std::string passedOverText(const ReadDiagnostics& diagnostics)
{
    return std::to_string(diagnostics.bytesSkipped) + " bytes skipped; chunks cut short: " +
           std::to_string(chunksCutShort(diagnostics));
}

}  // namespace pw
