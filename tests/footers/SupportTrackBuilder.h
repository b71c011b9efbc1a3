#pragma once
// Builds the support structure of a track in code, through the track library's own operations.

#include "tracklib/Track.h"
#include "tracklib/TrackOperations.h"

#include <cstdint>

namespace pw::testing {

inline TubeEnd onFundament(std::int32_t index) { return {TubeEndFundament, 0, index}; }
inline TubeEnd onFreeNode(std::int32_t index) { return {TubeEndFreeNode, 0, index}; }
inline TubeEnd onConnector(std::int32_t group, std::int32_t index)
{
    return {TubeEndRailConnector, group, index};
}

// Tube size codes.
inline constexpr std::int32_t mediumCode = 0;
inline constexpr std::int32_t largeCode = 1;
inline constexpr std::int32_t smallCode = 2;
inline constexpr std::int32_t noFooterCode = 3;
inline constexpr std::int32_t xLargeCode = 5;
inline constexpr std::int32_t xxLargeCode = 6;

class SupportTrackBuilder {
public:
    SupportTrackBuilder() { newTrack(track_); }

    int fundament(float x, float y, float z, float angle = 0.0f)
    {
        return addFundament(1, 0.0f, 0, angle, 0, 0, x, y, z, track_);
    }
    int freeNode(float x, float y, float z) { return addFreeNode(x, y, z, track_); }

    // A straight segment from `from` to `to`, its control points at the thirds, so that arc
    // length runs evenly with the curve parameter. Returns the segment (= connector group) index.
    int straightSegment(Float3 from, Float3 to)
    {
        const Float3 third{(to.x - from.x) / 3, (to.y - from.y) / 3, (to.z - from.z) / 3};
        const Float3 out{from.x + third.x, from.y + third.y, from.z + third.z};
        const Float3 in{to.x - third.x, to.y - third.y, to.z - third.z};
        const int first = segmentCount(track_);
        const Float3 in0 = first == 0 ? from : track_.vertices[first].controlIn;
        setVertex(first, from, in0, out, 0.0f, 0, 0, 0, track_);
        addVertex(to, in, to, 0.0f, 0, 0, 0, track_);
        addSegment(1, first + 1, 0, {}, {}, {}, 0, 0, track_);
        return first;
    }
    int connector(int group, float position) { return addRailConnector(group, 0, position, track_); }

    int tube(TubeEnd a, TubeEnd b, std::int32_t sizeCode)
    {
        return addTube(a.kind, a.index, a.group, b.kind, b.index, b.group, sizeCode, 0, 0, track_);
    }

    Track& track() { return track_; }

private:
    Track track_;
};

}  // namespace pw::testing
