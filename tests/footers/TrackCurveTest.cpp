#include "footers/TrackCurve.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>

namespace pw {
namespace {

// A two-vertex track whose segment 0 has the control points p0 to p3. The unused control points
// hold values no segment 0 lookup may read.
Track segmentTrack(Float3 p0, Float3 p1, Float3 p2, Float3 p3)
{
    Track track;
    track.vertices.resize(2);
    track.vertices[0] = {.position = p0, .controlIn = {-111, -111, -111}, .controlOut = p1};
    track.vertices[1] = {.position = p3, .controlIn = p2, .controlOut = {-222, -222, -222}};
    return track;
}

TEST(TrackCurve, PointAtIsTheCubicOfItsOwnCopyOfVertexIAndIPlusOne)
{
    Track track = segmentTrack({8, 0, -8}, {16, 8, 0}, {0, 24, 8}, {-8, 8, 16});
    track.vertices.insert(track.vertices.begin(),
                          {.position = {1, 1, 1}, .controlIn = {2, 2, 2}, .controlOut = {3, 3, 3}});
    const CurveSegment segment = curveSegment(1, track);
    track.vertices.clear();
    // (P0 + 3 P1 + 3 P2 + P3) / 8 at t = 0.5; not clamped: -P0 + 6 P1 - 12 P2 + 8 P3 at t = 2.
    const std::pair<float, Vector3> rows[] = {
        {0.0f, {8, 0, -8}}, {1.0f, {-8, 8, 16}}, {0.5f, {6, 13, 4}}, {2.0f, {24, -176, 40}}};
    for (const auto& [t, expected] : rows)
        EXPECT_EQ(segment.pointAt(t), expected) << t;
}

TEST(TrackCurve, OnlyIndicesWithAFollowingVertexMakeASegment)
{
    const Track track = segmentTrack({0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0});  // segment 0 only
    EXPECT_TRUE(hasCurveSegment(0, track));
    EXPECT_FALSE(hasCurveSegment(0, Track{}));
    // The other segments have every control point at the origin.
    for (int index : {-1, 1, 2, INT_MAX, INT_MIN}) {
        SCOPED_TRACE(index);
        const CurveSegment segment = curveSegment(index, track);
        EXPECT_FALSE(hasCurveSegment(index, track));
        EXPECT_EQ(segment.pointAt(0.5f), (Vector3{}));
        EXPECT_EQ(segment.walkedLength(), 0.0f);
        EXPECT_EQ(segment.pointAtLengthFraction(7.0f), (Vector3{}));
    }
}

}  // namespace
}  // namespace pw
