#pragma once
// Where the ends of support tubes stand: a fundament's or free node's position, or the point of a
// rail connector taken as a fraction of its segment's arc length.

#include "geometry/CurveSegment.h"
#include "geometry/Vector3.h"
#include "tracklib/Track.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace pw {

template <typename Container>
bool hasIndex(const Container& elements, std::int32_t index)
{
    return index >= 0 && static_cast<std::size_t>(index) < elements.size();
}

// Answers the points of a track's tube ends. Each curve segment walks its whole arc length when
// made, so a segment is made on first use and kept until the last rail-connector end on it has
// been asked for.
class TubeEndPoints {
public:
    explicit TubeEndPoints(const Track& track);

    // Nothing when the end names an element the track lacks, or has no kind of position.
    std::optional<Vector3> pointOf(const TubeEnd& end);

private:
    std::optional<Vector3> railConnectorPoint(std::int32_t group, std::int32_t index);

    const Track& track_;
    // Free nodes the generation adds during its walk must not make a dangling end valid.
    const std::size_t freeNodeCount_;
    std::vector<std::optional<CurveSegment>> curves_;
    std::vector<int> endsLeft_;  // rail-connector tube ends per group not yet asked for
};

}  // namespace pw
