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

OpenedTrack openTrack(const std::filesystem::path& path);
OpenedTrack openTrackFromStandardInput();

// What a damaged file (isDamaged) lost: "N bytes skipped; chunks cut short: M", followed by
// "; texts cut at a zero byte: K" when there are such texts. A chunk stopped by a negative text
// length counts as cut short, as one cut off by the end of the file does.
std::string passedOverText(const ReadDiagnostics& diagnostics);

}  // namespace pw
