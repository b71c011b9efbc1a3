#include "SeedTracks.h"

#include "HostileTracks.h"
#include "TrackFixtures.h"
#include "tracklib/TrackOperations.h"

#include <climits>

namespace pw::hardening {
namespace {

Track terrainOnly()
{
    Track track = makeNewTrack();
    track.terrain = makeRichTrack().terrain;
    return track;
}

Track segmentsOnly()
{
    const Track rich = makeRichTrack();
    Track track = makeNewTrack();
    track.vertexLength = rich.vertexLength;
    track.vertices = rich.vertices;
    track.segmentLength = rich.segmentLength;
    track.segmentFlag = rich.segmentFlag;
    track.segments = rich.segments;
    track.railConnectorLength = rich.railConnectorLength;
    track.groups = rich.groups;
    return track;
}

// The supports need the curve for their rail-connector ends, and nothing else.
Track supportsOnly()
{
    Track track = makeRichTrack();
    const Track fresh = makeNewTrack();
    track.catwalks.clear();
    track.catwalkLength = fresh.catwalkLength;
    track.sceneryItems.clear();
    track.sceneryObjects.clear();
    track.sceneryLength = fresh.sceneryLength;
    track.sceneryObjectLength = fresh.sceneryObjectLength;
    track.terrain = fresh.terrain;
    return track;
}

}  // namespace

Track trackWithDanglingTubeEnds()
{
    Track track = makeRichTrack();
    removeVertex(5, track);
    addRailConnector(4, 51, 0.5f, track);
    while (tubeCount(track) > 0) {
        removeTube(0, track);
    }
    const int small = 2;
    // kind, index, group of end A, then of end B
    addTube(TubeEndFundament, 99, 0, TubeEndFreeNode, 0, 0, small, 0, 0, track);
    addTube(TubeEndFundament, -1, 0, TubeEndFreeNode, 0, 0, small, 0, 0, track);
    addTube(TubeEndFreeNode, 0, 0, TubeEndFundament, INT_MAX, 0, small, 0, 0, track);
    addTube(TubeEndFundament, 0, 0, TubeEndFreeNode, 99, 0, small, 0, 0, track);
    addTube(TubeEndFundament, 0, 0, TubeEndFreeNode, -5, 0, small, 0, 0, track);
    addTube(TubeEndFundament, 1, 0, TubeEndRailConnector, 0, 99, small, 0, 0, track);
    addTube(TubeEndFundament, 1, 0, TubeEndRailConnector, 0, -1, small, 0, 0, track);
    addTube(TubeEndFundament, 2, 0, TubeEndRailConnector, 99, 0, small, 0, 0, track);
    addTube(TubeEndFundament, 2, 0, TubeEndRailConnector, -1, 0, small, 0, 0, track);
    addTube(TubeEndFundament, 3, 0, TubeEndRailConnector, 0, 4, small, 0, 0, track);  // no vertex 5
    addTube(TubeEndFundament, 3, 0, TubeEndRailConnector, 0, 5, small, 0, 0, track);
    addTube(TubeEndFundament, 0, 0, 0, 0, 0, small, 0, 0, track);
    addTube(TubeEndFundament, 0, 0, 4, 0, 0, small, 0, 0, track);
    addTube(-7, 0, 0, TubeEndFundament, 1, 0, small, 0, 0, track);
    return track;
}

std::vector<SeedTrack> seedTracks()
{
    return {
        {"new-track.nltrack", makeNewTrack()},
        {"rich-track.nltrack", makeRichTrack()},
        {"terrain.nltrack", terrainOnly()},
        {"segment-kinds.nltrack", segmentsOnly()},
        {"tube-ends.nltrack", supportsOnly()},
        {"dangling-tube-ends.nltrack", trackWithDanglingTubeEnds()},
    };
}

std::vector<SeedFile> hostileSeedFiles()
{
    std::vector<SeedFile> files;
    for (const HostileShape shape : allHostileShapes) {
        files.push_back({"hostile-" + hostileShapeName(shape) + ".nltrack",
                         makeHostileTrack(shape, 6000)});
    }
    return files;
}

}  // namespace pw::hardening
