#include "geometry/CurveSegment.h"

#include "SegmentTracks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace pw {
namespace {

using test::degenerateTrack;
using test::segmentTrack;
using test::straightTrack;

constexpr float stepSize = static_cast<float>(1.0 / 4056.0);
const float nan = std::numeric_limits<float>::quiet_NaN();
const float inf = std::numeric_limits<float>::infinity();

struct WalkAnswer {
    std::optional<Vector3> inWindow;  // the step whose running sum lies within 0.01 of the target
    Vector3 answer;                   // what the lookup must return
};

// The arc-length lookup step by step as defined: one walk for the total, one for the target,
// each step evaluating both of its ends. Independent of the lookup's table and search.
WalkAnswer referenceWalk(const CurveSegment& segment, Vector3 endPoint, float f)
{
    float total = 0.0f;
    float t = 0.0f;
    do {
        const Vector3 a = segment.pointAt(t);
        t += stepSize;
        total += length(segment.pointAt(t) - a);
    } while (t <= 1.0f);

    const double target = static_cast<double>(f) * static_cast<double>(total);
    std::optional<Vector3> firstAbove;
    float sum = 0.0f;
    t = 0.0f;
    do {
        const Vector3 a = segment.pointAt(t);
        t += stepSize;
        sum += length(segment.pointAt(t) - a);
        if (sum > target - 0.01 && sum < target + 0.01)
            return {a, a};
        if (!firstAbove && sum > target - 0.01)
            firstAbove = a;
    } while (t <= 1.0f);
    return {std::nullopt, firstAbove.value_or(endPoint)};
}

Vector3 endPointOf(const Track& track, int index)
{
    if (!CurveSegment::isValidIndex(track, index))
        return {};
    const Float3 p = track.vertices[static_cast<std::size_t>(index) + 1].position;
    return {p.x, p.y, p.z};
}

bool sameBits(Vector3 a, Vector3 b)
{
    return std::bit_cast<std::uint32_t>(a.x) == std::bit_cast<std::uint32_t>(b.x)
        && std::bit_cast<std::uint32_t>(a.y) == std::bit_cast<std::uint32_t>(b.y)
        && std::bit_cast<std::uint32_t>(a.z) == std::bit_cast<std::uint32_t>(b.z);
}

// --- pointAt -----------------------------------------------------------------------------------

TEST(CurveSegmentPointAt, EndsAndMiddleOfTheCubic)
{
    const Track track = segmentTrack({8, 0, -8}, {16, 8, 0}, {0, 24, 8}, {-8, 8, 16});
    const CurveSegment segment(track, 0);

    EXPECT_EQ(segment.pointAt(0.0f), (Vector3{8, 0, -8}));
    EXPECT_EQ(segment.pointAt(1.0f), (Vector3{-8, 8, 16}));
    // (P0 + 3 P1 + 3 P2 + P3) / 8, exact in binary
    EXPECT_EQ(segment.pointAt(0.5f), (Vector3{6, 13, 4}));
    // Not clamped: t = 2 is the same polynomial, u = -1, v = 2: -P0 + 6 P1 - 12 P2 + 8 P3.
    EXPECT_EQ(segment.pointAt(2.0f), (Vector3{-8 + 96 - 0 - 64, 0 + 48 - 288 + 64, 8 + 0 - 96 + 128}));
}

TEST(CurveSegmentPointAt, UsesOutgoingControlOfVertexIAndIncomingOfVertexIPlusOne)
{
    Track track;
    test::addVertex(track, {100, 0, 0}, {0, 0, 0}, {200, 0, 0});
    test::addVertex(track, {8, 0, 0}, {16, 0, 0}, {24, 0, 0});
    test::addVertex(track, {32, 8, 0}, {40, 0, 8}, {300, 0, 0});
    const CurveSegment segment(track, 1);

    EXPECT_EQ(segment.pointAt(0.0f), (Vector3{16, 0, 0}));
    EXPECT_EQ(segment.pointAt(1.0f), (Vector3{40, 0, 8}));
    EXPECT_EQ(segment.pointAt(0.5f), (Vector3{(16 + 3 * 24 + 3 * 32 + 40) / 8.0f, 3, 1}));
}

TEST(CurveSegmentPointAt, SegmentHoldsItsOwnCopyOfTheVertices)
{
    Track track = straightTrack(3.0f);
    const CurveSegment segment(track, 0);
    track.vertices.clear();
    EXPECT_EQ(segment.pointAt(1.0f), (Vector3{3, 0, 0}));
}

// --- indices without a following vertex ---------------------------------------------------------

TEST(CurveSegmentIndex, OnlyIndicesWithAFollowingVertexAreValid)
{
    const Track track = straightTrack(3.0f);  // two vertices: segment 0 only
    EXPECT_TRUE(CurveSegment::isValidIndex(track, 0));
    for (int index : {-1, 1, 2, INT_MAX, INT_MIN})
        EXPECT_FALSE(CurveSegment::isValidIndex(track, index)) << index;
    EXPECT_FALSE(CurveSegment::isValidIndex(Track{}, 0));
}

TEST(CurveSegmentIndex, InvalidSegmentAnswersTheOriginEverywhere)
{
    Track track = straightTrack(3.0f);
    track.vertices.resize(1);  // segment 0 now lacks its end vertex
    for (int index : {0, -1, 1, INT_MAX, INT_MIN}) {
        const CurveSegment segment(track, index);
        EXPECT_FALSE(segment.isValid());
        EXPECT_EQ(segment.pointAt(0.0f), (Vector3{}));
        EXPECT_EQ(segment.pointAt(1.0f), (Vector3{}));
        EXPECT_EQ(segment.walkedLength(), 0.0f);
        for (float f : {0.0f, 0.5f, 1.0f, 7.0f, -1.0f, nan})
            EXPECT_EQ(segment.pointAtLengthFraction(f), (Vector3{})) << index << " " << f;
    }
}

// --- the walk ----------------------------------------------------------------------------------

TEST(CurveSegmentWalk, Takes4057StepsEndingJustPastTheEndVertex)
{
    const std::vector<float>& starts = CurveSegment::stepStarts();
    ASSERT_EQ(starts.size(), 4057u);
    EXPECT_EQ(starts.front(), 0.0f);
    EXPECT_LE(starts.back(), 1.0f);
    EXPECT_NEAR(starts.back() + stepSize, 1.000208f, 1e-6f);
    EXPECT_EQ(stepSize, 0.00024654833f);

    // A straight segment of length 3 is walked to t ~ 1.000208, about 3.000624 long.
    EXPECT_NEAR(CurveSegment(straightTrack(3.0f), 0).walkedLength(), 3.000624f, 2e-5f);
}

// --- lookups that keep the answer of the windowed walk --------------------------------------

TEST(CurveSegmentLengthFraction, ShortStraightSegmentAnswersTheStepBeforeTheTarget)
{
    const Track track = straightTrack(3.0f);
    const CurveSegment segment(track, 0);
    const double walked = segment.walkedLength();
    const float step = 3.0f * stepSize;  // 0.00074 per step

    // Half way: D ~ 1.50037; the first sum above D - 0.01 starts one step before it.
    const Vector3 half = segment.pointAtLengthFraction(0.5f);
    EXPECT_GT(half.x, 0.5 * walked - 0.01 - step - 1e-5);
    EXPECT_LE(half.x, 0.5 * walked - 0.01 + 1e-5);
    EXPECT_NEAR(half.x, 1.49, 0.001);
    EXPECT_EQ(half.y, 0.0f);
    EXPECT_EQ(half.z, 0.0f);

    // f = 1 is not the end vertex: about 0.01 before the end of the walk.
    const Vector3 whole = segment.pointAtLengthFraction(1.0f);
    EXPECT_GT(whole.x, walked - 0.01 - step - 1e-5);
    EXPECT_LE(whole.x, walked - 0.01 + 1e-5);
    EXPECT_NEAR(whole.x, 2.99, 0.001);

    // Slightly above 1 while D stays below the walked length + 0.01: still near the end.
    const Vector3 beyond = segment.pointAtLengthFraction(1.003f);
    EXPECT_GT(beyond.x, 1.003 * walked - 0.01 - step - 1e-5);
    EXPECT_LT(beyond.x, 3.0f);

    EXPECT_EQ(segment.pointAtLengthFraction(0.0f), (Vector3{0, 0, 0}));

    for (float f : {0.0f, 0.5f, 1.0f, 1.003f})
        EXPECT_TRUE(referenceWalk(segment, {3, 0, 0}, f).inWindow.has_value()) << f;
}

TEST(CurveSegmentLengthFraction, DegenerateSegmentAnswersItsOnlyPoint)
{
    const Track track = degenerateTrack({5, -6, 7});
    const CurveSegment segment(track, 0);
    // The weights do not sum to exactly 1 in float: the walk measures a little jitter, far
    // below the 0.01 window, so every target in reach still lands on the first step.
    EXPECT_LT(segment.walkedLength(), 0.005f);
    EXPECT_EQ(CurveSegment(degenerateTrack({0, 0, 0}), 0).walkedLength(), 0.0f);
    for (float f : {0.0f, 0.5f, 1.0f, 2.0f, -3.0f, nan, inf})
        EXPECT_EQ(segment.pointAtLengthFraction(f), (Vector3{5, -6, 7})) << f;
}

// --- lookups the windowed walk left without a curve point ------------------------------------

TEST(CurveSegmentLengthFraction, FirstStepLongerThanTheToleranceStillAnswersTheStartForZero)
{
    const Track track = straightTrack(60.0f);  // first step 0.0148 > 0.01
    const CurveSegment segment(track, 0);
    ASSERT_FALSE(referenceWalk(segment, {60, 0, 0}, 0.0f).inWindow.has_value());
    EXPECT_EQ(segment.pointAtLengthFraction(0.0f), (Vector3{0, 0, 0}));
}

TEST(CurveSegmentLengthFraction, StepsLongerThanTheWindowAnswerTheStepBeforeTheTarget)
{
    const Track track = straightTrack(100.0f);  // steps of 0.0247 can jump the 0.02 window
    const CurveSegment segment(track, 0);
    const double walked = segment.walkedLength();
    const double step = 100.0 / 4056.0;
    int jumped = 0;
    int kept = 0;
    for (int k = 0; k <= 40; ++k) {
        const float f = static_cast<float>(k) / 40.0f;
        const double lower = f * walked - 0.01;
        const Vector3 p = segment.pointAtLengthFraction(f);
        EXPECT_GT(p.x, lower - step - 1e-4) << f;
        EXPECT_LE(p.x, std::max(lower, 0.0) + 1e-4) << f;
        EXPECT_EQ(p.y, 0.0f);
        EXPECT_EQ(p.z, 0.0f);
        ++(referenceWalk(segment, {100, 0, 0}, f).inWindow ? kept : jumped);
    }
    // Both kinds occur: the mend changes only the lookups that found nothing.
    EXPECT_GT(jumped, 3);
    EXPECT_GT(kept, 3);
}

TEST(CurveSegmentLengthFraction, TargetsOutsideTheWalkAnswerTheNearerEnd)
{
    const Track track = straightTrack(3.0f);
    const CurveSegment segment(track, 0);
    for (float f : {1.5f, 2.0f, inf, nan, -nan}) {
        EXPECT_FALSE(referenceWalk(segment, {3, 0, 0}, f).inWindow.has_value()) << f;
        EXPECT_EQ(segment.pointAtLengthFraction(f), (Vector3{3, 0, 0})) << f;
    }
    for (float f : {-0.004f, -1.0f, -inf}) {  // D at or below -0.01
        EXPECT_FALSE(referenceWalk(segment, {3, 0, 0}, f).inWindow.has_value()) << f;
        EXPECT_EQ(segment.pointAtLengthFraction(f), (Vector3{0, 0, 0})) << f;
    }
}

// --- the table lookup against the literal walk --------------------------------------------

struct SweepCase {
    std::string name;
    Track track;
    int index = 0;
};

std::vector<SweepCase> sweepCases()
{
    std::vector<SweepCase> cases;
    cases.push_back({"straight 3", straightTrack(3.0f), 0});
    cases.push_back({"straight 40", straightTrack(40.0f), 0});
    cases.push_back({"straight 60", straightTrack(60.0f), 0});
    cases.push_back({"straight 81", straightTrack(81.0f), 0});
    cases.push_back({"straight 100", straightTrack(100.0f), 0});
    cases.push_back({"straight 1000", straightTrack(1000.0f), 0});
    cases.push_back({"tiny", straightTrack(1e-4f), 0});
    cases.push_back({"degenerate", degenerateTrack({1, 2, 3}), 0});
    cases.push_back({"invalid", straightTrack(3.0f), 1});
    // Control points on the end points: slow at both ends, fast in the middle.
    cases.push_back({"uneven", segmentTrack({0, 0, 0}, {0, 0, 0}, {50, 10, 0}, {50, 10, 0}), 0});
    cases.push_back({"far away", segmentTrack({1e6f, 20, -1e6f}, {1e6f + 5, 25, -1e6f},
                                              {1e6f + 9, 21, -1e6f + 3}, {1e6f + 12, 20, -1e6f}), 0});
    cases.push_back({"loop", segmentTrack({0, 0, 0}, {30, 30, 0}, {-30, 30, 0}, {0, 0, 0}), 0});
    cases.push_back({"not a number", segmentTrack({0, 0, 0}, {1, 0, 0}, {nan, 0, 0}, {3, 0, 0}), 0});
    cases.push_back({"infinite", segmentTrack({0, 0, 0}, {1, 0, 0}, {2, inf, 0}, {3, 0, 0}), 0});

    std::mt19937 random(20240611u);
    for (float spread : {2.0f, 25.0f, 200.0f}) {
        std::uniform_real_distribution<float> coordinate(-spread, spread);
        for (int k = 0; k < 2; ++k) {
            auto point = [&] { return Vector3{coordinate(random), coordinate(random), coordinate(random)}; };
            const Vector3 p0 = point(), p1 = point(), p2 = point(), p3 = point();
            cases.push_back({"random " + std::to_string(spread) + " #" + std::to_string(k),
                             segmentTrack(p0, p1, p2, p3), 0});
        }
    }
    return cases;
}

std::vector<float> sweepFractions()
{
    std::vector<float> fractions = {0.0f, -0.0f, 1e-7f, 0.001f, 0.0025f, 0.25f, 0.5f, 0.999f,
                                    1.0f, 1.0001f, 1.002f, 1.01f, 1.5f, -0.0001f, -0.01f, -1.0f,
                                    std::nextafter(1.0f, 2.0f), nan, inf, -inf};
    std::mt19937 random(7u);
    std::uniform_real_distribution<float> fraction(-0.05f, 1.05f);
    for (int k = 0; k < 24; ++k)
        fractions.push_back(fraction(random));
    return fractions;
}

TEST(CurveSegmentLengthFraction, TableLookupMatchesTheLiteralWalkBitForBit)
{
    const std::vector<float> fractions = sweepFractions();
    int inWindow = 0;
    int mended = 0;
    for (const SweepCase& c : sweepCases()) {
        const CurveSegment segment(c.track, c.index);
        const Vector3 end = endPointOf(c.track, c.index);
        for (float f : fractions) {
            const WalkAnswer expected = referenceWalk(segment, end, f);
            const Vector3 actual = segment.pointAtLengthFraction(f);
            EXPECT_TRUE(sameBits(actual, expected.answer))
                << c.name << ", f = " << f << ": " << actual << " instead of " << expected.answer;
            ++(expected.inWindow ? inWindow : mended);
        }
    }
    // Both kinds of answer were compared, not only one.
    EXPECT_GT(inWindow, 100);
    EXPECT_GT(mended, 100);
}

}  // namespace
}  // namespace pw
