#include "TrackCurve.h"

#include <cstddef>

namespace pw {

bool hasCurveSegment(int index, const Track& track)
{
    return index >= 0 && static_cast<std::size_t>(index) + 1 < track.vertices.size();
}

CurveSegment curveSegment(int index, const Track& track)
{
    if (!hasCurveSegment(index, track))
        return CurveSegment({}, {}, {}, {});
    const Vertex& from = track.vertices[static_cast<std::size_t>(index)];
    const Vertex& to = track.vertices[static_cast<std::size_t>(index) + 1];
    return CurveSegment(from.position, from.controlOut, to.controlIn, to.position);
}

}  // namespace pw
