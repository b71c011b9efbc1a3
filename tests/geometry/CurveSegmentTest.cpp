#include "geometry/CurveSegment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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

constexpr float stepSize = static_cast<float>(1.0 / 4056.0);
const float nan = std::numeric_limits<float>::quiet_NaN();
const float inf = std::numeric_limits<float>::infinity();

using ControlPoints = std::array<Vector3, 4>;

ControlPoints controlPoints(Vector3 p0, Vector3 p1, Vector3 p2, Vector3 p3)
{
    return {p0, p1, p2, p3};
}

CurveSegment segmentThrough(const ControlPoints& p) { return CurveSegment(p[0], p[1], p[2], p[3]); }

// Straight along x and evenly parametrised: the point at length s is (s, 0, 0).
ControlPoints straightPoints(float length)
{
    return {{{0, 0, 0}, {length / 3, 0, 0}, {2 * length / 3, 0, 0}, {length, 0, 0}}};
}

struct WalkAnswer {
    bool inWindow;   // some running sum lies within 0.01 of the target
    Vector3 answer;  // what the lookup must return
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
            return {true, a};
        if (!firstAbove && sum > target - 0.01)
            firstAbove = a;
    } while (t <= 1.0f);
    return {false, firstAbove.value_or(endPoint)};
}

TEST(CurveSegment, PointAtIsTheUnclampedCubicOfItsControlPoints)
{
    const CurveSegment segment({8, 0, -8}, {16, 8, 0}, {0, 24, 8}, {-8, 8, 16});
    // (P0 + 3 P1 + 3 P2 + P3) / 8 at t = 0.5; not clamped: -P0 + 6 P1 - 12 P2 + 8 P3 at t = 2.
    const std::pair<float, Vector3> rows[] = {
        {0.0f, {8, 0, -8}}, {1.0f, {-8, 8, 16}}, {0.5f, {6, 13, 4}}, {2.0f, {24, -176, 40}}};
    for (const auto& [t, expected] : rows)
        EXPECT_EQ(segment.pointAt(t), expected) << t;
}

TEST(CurveSegment, WalkTakes4057StepsEndingJustPastTheEndVertex)
{
    const std::vector<float>& starts = CurveSegment::stepStarts();
    ASSERT_EQ(starts.size(), 4057u);
    EXPECT_EQ(starts.front(), 0.0f);
    EXPECT_NEAR(starts.back() + stepSize, 1.000208f, 1e-6f);
    EXPECT_NEAR(segmentThrough(straightPoints(3.0f)).walkedLength(), 3.000624f, 2e-5f);
}

// The answer is the start of the first step whose running sum exceeds D - 0.01, so one step or
// less before it. Steps of 0.0247 (length 100) can jump the 0.02 window, steps of 0.00074 not.
TEST(CurveSegment, LengthFractionOnAStraightSegmentAnswersTheStepBeforeTheTarget)
{
    const struct {
        float length;
        int fewestJumps, mostJumps;
    } rows[] = {{3, 0, 0}, {100, 4, 37}};
    for (const auto& [length, fewestJumps, mostJumps] : rows) {
        const CurveSegment segment = segmentThrough(straightPoints(length));
        const double walked = segment.walkedLength();
        const double step = length / 4056.0;
        int jumped = 0;
        for (int k = 0; k <= 40; ++k) {
            const float f = static_cast<float>(k) / 40.0f;
            SCOPED_TRACE(::testing::Message() << "length " << length << ", f = " << f);
            const double lower = f * walked - 0.01;
            const Vector3 p = segment.pointAtLengthFraction(f);
            EXPECT_GT(p.x, lower - step - 1e-4);
            EXPECT_LE(p.x, std::max(lower, 0.0) + 1e-4);
            EXPECT_EQ(p.y, 0.0f);
            EXPECT_EQ(p.z, 0.0f);
            jumped += referenceWalk(segment, {length, 0, 0}, f).inWindow ? 0 : 1;
        }
        EXPECT_GE(jumped, fewestJumps);  // of the 41 fractions
        EXPECT_LE(jumped, mostJumps);
    }
}

// Where no running sum lies within 0.01 of the target the lookup still answers a walk point: the
// one just before the target, or the end vertex when no sum exceeds D - 0.01.
TEST(CurveSegment, LengthFractionWithoutASumInTheWindow)
{
    const struct {
        float length, f;
        Vector3 expected;
    } rows[] = {
        {60, 0, {0, 0, 0}},  // first step 0.0148 > 0.01
        {3, -0.004f, {0, 0, 0}}, {3, -1, {0, 0, 0}},   {3, -inf, {0, 0, 0}},  // D at or below -0.01
        {3, 1.5f, {3, 0, 0}},    {3, 2, {3, 0, 0}},    {3, inf, {3, 0, 0}},
        {3, nan, {3, 0, 0}},     {3, -nan, {3, 0, 0}},
    };
    for (const auto& [length, f, expected] : rows) {
        SCOPED_TRACE(::testing::Message() << "length " << length << ", f = " << f);
        const CurveSegment segment = segmentThrough(straightPoints(length));
        EXPECT_FALSE(referenceWalk(segment, {length, 0, 0}, f).inWindow);
        EXPECT_EQ(segment.pointAtLengthFraction(f), expected);
    }
}

struct SweepCase {
    std::string name;
    ControlPoints points;
};

std::vector<SweepCase> sweepCases()
{
    std::vector<SweepCase> cases;
    for (float length : {3.0f, 40.0f, 60.0f, 81.0f, 100.0f, 1000.0f, 1e-4f})
        cases.push_back({"straight " + std::to_string(length), straightPoints(length)});
    cases.push_back({"all at the origin", ControlPoints{}});
    cases.push_back({"degenerate", controlPoints({1, 2, 3}, {1, 2, 3}, {1, 2, 3}, {1, 2, 3})});
    // Control points on the end points: slow at both ends, fast in the middle.
    cases.push_back({"uneven", controlPoints({0, 0, 0}, {0, 0, 0}, {50, 10, 0}, {50, 10, 0})});
    cases.push_back({"far away", controlPoints({1e6f, 20, -1e6f}, {1e6f + 5, 25, -1e6f},
                                               {1e6f + 9, 21, -1e6f + 3}, {1e6f + 12, 20, -1e6f})});
    cases.push_back({"loop", controlPoints({0, 0, 0}, {30, 30, 0}, {-30, 30, 0}, {0, 0, 0})});
    cases.push_back({"not a number", controlPoints({0, 0, 0}, {1, 0, 0}, {nan, 0, 0}, {3, 0, 0})});
    cases.push_back({"infinite", controlPoints({0, 0, 0}, {1, 0, 0}, {2, inf, 0}, {3, 0, 0})});
    std::mt19937 random(20240611u);
    for (float spread : {2.0f, 25.0f, 200.0f}) {
        std::uniform_real_distribution<float> coordinate(-spread, spread);
        auto point = [&] {
            return Vector3{coordinate(random), coordinate(random), coordinate(random)};
        };
        for (int k = 0; k < 2; ++k) {
            const Vector3 p0 = point(), p1 = point(), p2 = point(), p3 = point();
            cases.push_back({"random " + std::to_string(spread) + " #" + std::to_string(k),
                             controlPoints(p0, p1, p2, p3)});
        }
    }
    return cases;
}

TEST(CurveSegment, LengthFractionTableLookupMatchesTheLiteralWalkBitForBit)
{
    std::vector<float> fractions = {0.0f,
                                    -0.0f,
                                    1e-7f,
                                    0.001f,
                                    0.0025f,
                                    0.25f,
                                    0.5f,
                                    0.999f,
                                    1.0f,
                                    1.0001f,
                                    1.002f,
                                    1.01f,
                                    1.5f,
                                    -0.0001f,
                                    -0.01f,
                                    -1.0f,
                                    std::nextafter(1.0f, 2.0f),
                                    nan,
                                    inf,
                                    -inf};
    std::mt19937 random(7u);
    std::uniform_real_distribution<float> fraction(-0.05f, 1.05f);
    for (int k = 0; k < 24; ++k)
        fractions.push_back(fraction(random));

    const auto bits = [](Vector3 v) { return std::bit_cast<std::array<std::uint32_t, 3>>(v); };
    int inWindow = 0;
    int mended = 0;
    for (const SweepCase& c : sweepCases()) {
        const CurveSegment segment = segmentThrough(c.points);
        const Vector3 end = c.points[3];
        for (float f : fractions) {
            const WalkAnswer expected = referenceWalk(segment, end, f);
            const Vector3 actual = segment.pointAtLengthFraction(f);
            EXPECT_EQ(bits(actual), bits(expected.answer))
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
