#include "TrackOpening.h"

#include "AtomicFile.h"

namespace pw {

namespace {

int chunksCutShort(const ReadDiagnostics& diagnostics)
{
    return diagnostics.chunksCutShort + diagnostics.negativeTextLengths;
}

Result<OpenedTrack> afterReading(const Result<void>& read, OpenedTrack&& opened,
                                 const std::filesystem::path& path, WithoutTrackData withoutData)
{
    if (!read)
        return read.error();
    if (withoutData == WithoutTrackData::Refuse && !holdsTrackData(opened.track))
        return CoreError{ErrorCode::NoTrackData, path, {}, {}, 0, {}};
    return std::move(opened);
}

}  // namespace

Result<OpenedTrack> openTrack(const std::filesystem::path& path, TrackSource source,
                              WithoutTrackData withoutData)
{
    if (source == TrackSource::RegularFile) {
        std::error_code ignored;
        // A directory gets the reader's own answer.
        if (!std::filesystem::is_directory(path, ignored)) {
            if (std::string problem = fileKindProblem(path); !problem.empty())
                return CoreError{ErrorCode::CannotOpen, path, {}, {}, 0, std::move(problem)};
        }
    }
    OpenedTrack opened;
    const Result<void> read = readTrackFile(path, opened.track, &opened.diagnostics);
    return afterReading(read, std::move(opened), path, withoutData);
}

Result<OpenedTrack> openTrackFromStandardInput(WithoutTrackData withoutData)
{
    OpenedTrack opened;
    const Result<void> read = readTrackFromStandardInput(opened.track, &opened.diagnostics);
    return afterReading(read, std::move(opened), {}, withoutData);
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
