#pragma once
// Opening a track to work on, the same for every front end: the whole file read, what the reader
// passed over, and whether the file holds track data at all.

#include "Result.h"
#include "Track.h"
#include "TrackFile.h"

#include <filesystem>
#include <string>

namespace pw {

struct OpenedTrack {
    Track track;
    ReadDiagnostics diagnostics;
};

// Where a track may come from. A window must not wait on a named pipe nobody writes to, nor read a
// device; a command line may read either, as it reads its standard input.
enum class TrackSource { AnyFile, RegularFile };

// A file in which the reader recognised nothing is refused (NoTrackData) where the track is to be
// worked on: saving it would replace the file with an empty track. Looking at it may accept it.
enum class WithoutTrackData { Refuse, Accept };

Result<OpenedTrack> openTrack(const std::filesystem::path& path,
                              TrackSource source = TrackSource::AnyFile,
                              WithoutTrackData withoutData = WithoutTrackData::Refuse);
Result<OpenedTrack> openTrackFromStandardInput(
    WithoutTrackData withoutData = WithoutTrackData::Refuse);

// What a damaged file (isDamaged) lost: "N bytes skipped; chunks cut short: M", followed by
// "; texts cut at a zero byte: K" when there are such texts. A chunk stopped by a negative text
// length counts as cut short, as one cut off by the end of the file does.
std::string passedOverText(const ReadDiagnostics& diagnostics);

}  // namespace pw
