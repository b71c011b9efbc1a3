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

// Whether the reader skipped bytes or stopped chunks early: the writer then lays out only what
// could be read.
bool passedOverAnything(const ReadDiagnostics& diagnostics);
// "N bytes skipped; chunks cut short: M". A chunk stopped by a negative text length counts as cut
// short, as one cut off by the end of the file does.
std::string passedOverText(const ReadDiagnostics& diagnostics);

}  // namespace pw
