#pragma once
// The tracks the fuzzers start from, built in code so that no track file from elsewhere is needed.

#include "tracklib/Track.h"

#include <string>
#include <vector>

namespace pw::hardening {

struct SeedTrack {
    std::string fileName;
    Track track;
};

// A new track, the rich track, a terrain alone, segments of every kind alone, the supports with
// tubes to every end kind, and tubes whose ends name missing elements.
std::vector<SeedTrack> seedTracks();

// The rich track with segment 4 left without the vertex its curve ends at, and tubes naming
// fundaments, free nodes, connector groups and connectors that are not there.
Track trackWithDanglingTubeEnds();

}  // namespace pw::hardening
