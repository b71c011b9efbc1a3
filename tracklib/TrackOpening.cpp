#include "TrackOpening.h"

#include "FileError.h"
#include "RegularFile.h"

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
        return CoreError(FileError::NoTrackData, path);
    return std::move(opened);
}

}  // namespace

Result<OpenedTrack> openTrack(const std::filesystem::path& path, TrackSource source,
                              WithoutTrackData withoutData)
{
    OpenedTrack opened;
    if (source == TrackSource::AnyFile) {
        const Result<void> read = readTrackFile(path, opened.track, &opened.diagnostics);
        return afterReading(read, std::move(opened), path, withoutData);
    }
    // Opened once and checked as opened: a name checked first could be a FIFO by the time it
    // was opened, and the open would wait for a writer.
    Result<RegularFile> file = openRegularFile(path);
    if (!file)
        return file.error();
    if (file->size > largestTrackFileSize)
        return CoreError(FileError::FileTooLarge, path, {}, {}, file->size);
    const Result<void> read = readTrackFromOpenFile(file->stream.get(), file->size, path,
                                                    opened.track, &opened.diagnostics);
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
