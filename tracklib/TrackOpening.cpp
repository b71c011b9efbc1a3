#include "TrackOpening.h"

#include "AtomicFile.h"

namespace pw {

namespace {

int chunksCutShort(const ReadDiagnostics& diagnostics)
{
    return diagnostics.chunksCutShort + diagnostics.negativeTextLengths;
}

OpenStatus statusAfterReading(int read, const Track& track)
{
    if (read == 0)
        return OpenStatus::CannotOpen;
    return holdsTrackData(track) ? OpenStatus::Opened : OpenStatus::NoTrackData;
}

}  // namespace

OpenedTrack openTrack(const std::filesystem::path& path, TrackSource source)
{
    OpenedTrack opened;
    if (source == TrackSource::RegularFile) {
        std::error_code ignored;
        // A directory gets the reader's own answer.
        if (!std::filesystem::is_directory(path, ignored)) {
            if (std::string problem = fileKindProblem(path); !problem.empty()) {
                opened.diagnostics.openError =
                    CoreError{ErrorCode::CannotOpen, path, {}, {}, 0, std::move(problem)};
                return opened;
            }
        }
    }
    opened.status =
        statusAfterReading(readTrackFile(path, opened.track, &opened.diagnostics), opened.track);
    return opened;
}

OpenedTrack openTrackFromStandardInput()
{
    OpenedTrack opened;
    opened.status = statusAfterReading(
        readTrackFromStandardInput(opened.track, &opened.diagnostics), opened.track);
    return opened;
}

std::string passedOverText(const ReadDiagnostics& diagnostics)
{
    std::string text =
        std::to_string(diagnostics.bytesSkipped) +
        " bytes skipped; chunks cut short: " + std::to_string(chunksCutShort(diagnostics));
    if (diagnostics.textsCutAtZero > 0)
        text += "; texts cut at a zero byte: " + std::to_string(diagnostics.textsCutAtZero);
    return text;
}

}  // namespace pw
