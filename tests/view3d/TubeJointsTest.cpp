#include "view3d/TubeJoints.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace pw {
namespace {

TEST(TubeJoints, OverlapReachesTheMitreOfTheBend)
{
    struct Case {
        const char* name;
        Vector3 along, onward;
        float overlap;  // for radius 2
    };
    const float tan30 = std::tan(0.5235988f);
    const Case cases[] = {
        {"straight on", {1, 0, 0}, {3, 0, 0}, 0.0f},
        {"60 degrees", {1, 0, 0}, {0.5f, 0.8660254f, 0}, 2.0f * tan30},
        {"a right angle", {0, 0, 2}, {0, 5, 0}, 2.0f},
        {"turned back", {1, 0, 0}, {-1, 0.1f, 0}, 2.0f},
        {"no neighbour", {1, 0, 0}, {0, 0, 0}, 0.0f},
        {"not finite", {1, 0, 0}, {INFINITY, 0, 0}, 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(jointOverlap(c.along, c.onward, 2.0f), c.overlap, 1e-5f) << c.name;
}

TEST(TubeJoints, PiecesOverlapTheirNeighboursOnly)
{
    // An L of three samples with a right angle at (1, 0, 0), then a polyline going straight on
    // from its end, and one apart from both.
    const std::vector<std::vector<Vector3>> polylines = {
        {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}},
        {{1, 1, 0}, {1, 2, 0}},
        {{5, 5, 5}, {6, 5, 5}},  // apart from the rest
    };
    const std::vector<PolylineEnds> ends = polylineEnds(polylines);
    ASSERT_EQ(ends.size(), 3u);
    EXPECT_EQ(length(ends[0].before), 0.0f);  // the third does not end where the first starts
    EXPECT_EQ(length(ends[0].after - Vector3{0, 1, 0}), 0.0f);
    EXPECT_EQ(length(ends[1].before - Vector3{0, 1, 0}), 0.0f);
    EXPECT_EQ(length(ends[1].after), 0.0f);
    EXPECT_EQ(length(ends[2].before), 0.0f);

    std::vector<TubePiece> pieces;
    forEachPiece(polylines[0], 2, ends[0], 0.5f, [&](const TubePiece& p) { pieces.push_back(p); });
    ASSERT_EQ(pieces.size(), 2u);
    // Each reaches a whole radius past the right angle, and nothing past the free start or onto
    // the neighbour that goes straight on.
    EXPECT_NEAR(length(pieces[0].a - Vector3{0, 0, 0}), 0.0f, 1e-6f);
    EXPECT_NEAR(length(pieces[0].b - Vector3{1.5f, 0, 0}), 0.0f, 1e-6f);
    EXPECT_NEAR(length(pieces[1].a - Vector3{1, -0.5f, 0}), 0.0f, 1e-6f);
    EXPECT_NEAR(length(pieces[1].b - Vector3{1, 1, 0}), 0.0f, 1e-6f);

    // In one piece, the segment overlaps only what lies beyond its ends.
    pieces.clear();
    forEachPiece(polylines[0], 1, ends[0], 0.5f, [&](const TubePiece& p) { pieces.push_back(p); });
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NEAR(length(pieces[0].a - Vector3{0, 0, 0}), 0.0f, 1e-6f);
    // From (0, 0, 0) to (1, 1, 0), then on along y: 45 degrees, tan 22.5 of the radius.
    EXPECT_NEAR(length(pieces[0].b - Vector3{1, 1, 0}), 0.5f * std::tan(0.3926991f), 1e-6f);
}

}  // namespace
}  // namespace pw
