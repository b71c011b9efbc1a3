#pragma once
// Tracks whose vertices describe chosen Bezier segments, for the curve tests.

#include "geometry/Vector3.h"
#include "tracklib/Track.h"

namespace pw::test {

inline Float3 toFloat3(Vector3 v)
{
    return {v.x, v.y, v.z};
}

// Appends a vertex; only position and the two control points matter to a segment.
inline void addVertex(Track& track, Vector3 controlIn, Vector3 position, Vector3 controlOut)
{
    Vertex vertex;
    vertex.controlIn = toFloat3(controlIn);
    vertex.position = toFloat3(position);
    vertex.controlOut = toFloat3(controlOut);
    track.vertices.push_back(vertex);
}

// A two-vertex track whose segment 0 has the control points p0, p1, p2, p3. The unused control
// points hold values no segment 0 lookup may read.
inline Track segmentTrack(Vector3 p0, Vector3 p1, Vector3 p2, Vector3 p3)
{
    Track track;
    addVertex(track, {-111, -111, -111}, p0, p1);
    addVertex(track, p2, p3, {-222, -222, -222});
    return track;
}

// A straight segment of the given length along x, evenly parametrised (speed constant in t).
inline Track straightTrack(float length)
{
    return segmentTrack({0, 0, 0}, {length / 3, 0, 0}, {2 * length / 3, 0, 0}, {length, 0, 0});
}

inline Track degenerateTrack(Vector3 p)
{
    return segmentTrack(p, p, p, p);
}

}  // namespace pw::test
