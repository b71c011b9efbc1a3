#pragma once
// Opening a track to work on, the same for every front end: the whole file read, what the reader
// passed over, and whether the file holds track data at all.

#include "Track.h"
#include "TrackFile.h"

#include <filesystem>
#include <string>

namespace pw {

enum class OpenStatus {
    Opened,
    CannotOpen,   // diagnostics.openError says why; the track is empty
    NoTrackData,  // nothing was recognised: saving it would replace the file with an empty track
};

struct OpenedTrack {
    OpenStatus status = OpenStatus::CannotOpen;
    Track track;
    ReadDiagnostics diagnostics;
};

// Where a track may come from. A window must not wait on a named pipe nobody writes to, nor read a
// device; a command line may read either, as it reads its standard input.
enum class TrackSource { AnyFile, RegularFile };

OpenedTrack openTrack(const std::filesystem::path& path, TrackSource source = TrackSource::AnyFile);
OpenedTrack openTrackFromStandardInput();

// What a damaged file (isDamaged) lost: "N bytes skipped; chunks cut short: M", followed by
// "; texts cut at a zero byte: K" when there are such texts. A chunk stopped by a negative text
// length counts as cut short, as one cut off by the end of the file does.
std::string passedOverText(const ReadDiagnostics& diagnostics);

}  // namespace pw
