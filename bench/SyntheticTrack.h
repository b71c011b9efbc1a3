#pragma once
// Builds large tracks in code for the benchmarks: a long meandering ride with supports of every
// kind, a terrain and scenery, shaped like what designers build but as big as we care to make it.

#include "tracklib/Track.h"

#include <string>

namespace pw::bench {

struct SyntheticTrackSize {
    std::string name;
    int vertices = 0;
    int segments = 0;
    int tubes = 0;  // half on rail connectors, a quarter on free nodes, a quarter on
                    // fundaments at both ends or at neither
    int fundaments = 0;
    int terrainSide = 0;  // rows and columns of the terrain; 0 for none
    int sceneryObjects = 0;
    // How many segments share the rail connectors; 0 spreads them over every segment that has
    // an end vertex. Fewer segments mean more connectors per segment.
    int connectorSegments = 0;
};

// 20,000 vertices and segments, 20,000 tubes, 10,000 fundaments, 300 x 300 terrain,
// 2,000 scenery objects.
SyntheticTrackSize largeTrackSize();
// A big ride as designers build it: 1,000 vertices and segments, 2,000 tubes.
SyntheticTrackSize realisticTrackSize();
// The large track with its connectors gathered on one segment in ten.
SyntheticTrackSize largeClusteredTrackSize();
// By name: "large", "realistic" or "large-clustered"; an empty name for any other.
SyntheticTrackSize trackSizeNamed(const std::string& name);

struct SyntheticTrackCounts {
    int railConnectorTubes = 0;  // fundament to rail connector
    int freeNodeTubes = 0;       // fundament to free node
    int fundamentTubes = 0;      // fundament to fundament
    int unfootedTubes = 0;       // free node to free node
    int connectorSegmentsUsed = 0;
};

SyntheticTrackCounts syntheticTrackCounts(const SyntheticTrackSize& size);

// The same size always gives the same track.
Track makeSyntheticTrack(const SyntheticTrackSize& size);

}  // namespace pw::bench
