#pragma once
// The promise every saved track keeps: what was written reads back to the same record.

#include "tracklib/Track.h"

#include <string>

namespace pw::hardening {

// Writes `track`, reads the bytes back and writes the result again. Returns an empty text when
// both writes give the same bytes, otherwise where they part. Bytes are compared rather than
// records because a NaN field never equals itself.
std::string checkWrittenTrackReadsBack(const Track& track);

}  // namespace pw::hardening
