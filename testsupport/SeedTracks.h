#pragma once
// The tracks the fuzzers start from, built in code so that no track file from elsewhere is needed.

#include "tracklib/Track.h"

#include <cstdint>
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

// Files no track record can describe: the hostile shapes of the benchmarks (repeated chunks,
// counts their bytes do not back, many segments each asked for twice), a few kilobytes each.
struct SeedFile {
    std::string fileName;
    std::vector<std::uint8_t> bytes;
};
std::vector<SeedFile> hostileSeedFiles();

// The rich track with segment 4 left without the vertex its curve ends at, and tubes naming
// fundaments, free nodes, connector groups and connectors that are not there.
Track trackWithDanglingTubeEnds();

}  // namespace pw::hardening
