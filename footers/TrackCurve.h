#pragma once
// The track's centre line as curve segments: segment i runs from vertex i to vertex i + 1.

#include "geometry/CurveSegment.h"
#include "tracklib/Track.h"

namespace pw {

// Whether the track has both vertices of segment `index`.
bool hasCurveSegment(int index, const Track& track);

// Copies the control points: position and controlOut of vertex `index`, controlIn and position of
// the next vertex. A segment the track lacks has every control point at (0, 0, 0).
CurveSegment curveSegment(int index, const Track& track);

}  // namespace pw
