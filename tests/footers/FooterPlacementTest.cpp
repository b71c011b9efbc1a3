#include "footers/FooterGeneration.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pw {
namespace {

constexpr double degreesPerRadian = 180.0 / 3.14159265358979323846;

// The turn about the vertical held by a scale-free placement: R00 = cos t, R02 = sin t.
double turnDegrees(const Matrix4& m)
{
    return std::atan2(m.e[2], m.e[0]) * degreesPerRadian;
}

// Where the placement sends the model's local down axis, without scale and translation.
Vector3 downAxis(const Matrix4& m, float scale)
{
    return {-m.e[1] / scale, -m.e[5] / scale, -m.e[9] / scale};
}

void expectOnlyScaleAndMove(const Matrix4& m, float s, Vector3 p)
{
    const Matrix4 expected{{s, 0, 0, p.x, 0, s, 0, p.y, 0, 0, s, p.z, 0, 0, 0, 1}};
    EXPECT_EQ(m, expected);
}

TEST(FooterTurn, TableOfTheFourQuadrants)
{
    const Vector3 p{10, 0, 10};
    // A = |dx| = 2, B = |dz| = 4.
    EXPECT_NEAR(turnDegrees(footerPlacement(p, {8, 20, 6}, 0, 1, false)), 26.565052, 2e-5);
    EXPECT_NEAR(turnDegrees(footerPlacement(p, {12, 20, 14}, 0, 1, false)), 26.565052, 2e-5);
    EXPECT_NEAR(turnDegrees(footerPlacement(p, {12, 20, 6}, 0, 1, false)), 63.434948, 2e-5);
    EXPECT_NEAR(turnDegrees(footerPlacement(p, {8, 20, 14}, 0, 1, false)), 63.434948, 2e-5);
}

TEST(FooterTurn, EqualXOrEqualZGivesNoTurn)
{
    const Vector3 p{10, 0, 10};
    expectOnlyScaleAndMove(footerPlacement(p, {10, 20, 4}, 0, 1, false), 1, p);
    expectOnlyScaleAndMove(footerPlacement(p, {3, 20, 10}, 0, 1, false), 1, p);
    expectOnlyScaleAndMove(footerPlacement(p, p, 0, 2, false), 2, p);
}

TEST(FooterTurn, FundamentAngleOverridesTheTable)
{
    const Vector3 p{10, 0, 10};
    EXPECT_NEAR(turnDegrees(footerPlacement(p, {8, 20, 6}, 0.5f, 1, false)), 28.64789, 2e-5);
    EXPECT_NEAR(turnDegrees(footerPlacement(p, p, 0.5f, 1, false)), 28.64789, 2e-5);
}

TEST(FooterTurn, ScalesFirstAndMovesUnscaled)
{
    const Matrix4 m = footerPlacement({1, 2, 3}, {0, 0, 0}, 0, 2.5f, false);
    // A = 1, B = 3: a turn of atan(1/3); the scale multiplies the rotation only.
    const double t = std::atan(1.0 / 3.0);
    EXPECT_NEAR(m.e[0], 2.5 * std::cos(t), 2e-6);
    EXPECT_NEAR(m.e[2], 2.5 * std::sin(t), 2e-6);
    EXPECT_NEAR(m.e[8], -2.5 * std::sin(t), 2e-6);
    EXPECT_EQ(m.e[5], 2.5f);
    EXPECT_EQ(m.e[3], 1.0f);
    EXPECT_EQ(m.e[7], 2.0f);
    EXPECT_EQ(m.e[11], 3.0f);
    EXPECT_EQ(m.e[12], 0.0f);
    EXPECT_EQ(m.e[13], 0.0f);
    EXPECT_EQ(m.e[14], 0.0f);
    EXPECT_EQ(m.e[15], 1.0f);
}

TEST(FooterTilt, FortyFiveDegreesAboutMinusZ)
{
    const Matrix4 m = footerPlacement({0, 0, 0}, {10, 10, 0}, 0.5f, 1, true);
    const float c = std::cos(45.0 / degreesPerRadian);
    // Rotation by 45 degrees about (0, 0, -1).
    EXPECT_NEAR(m.e[0], c, 1e-6);
    EXPECT_NEAR(m.e[1], c, 1e-6);
    EXPECT_NEAR(m.e[4], -c, 1e-6);
    EXPECT_NEAR(m.e[5], c, 1e-6);
    EXPECT_NEAR(m.e[10], 1.0f, 1e-6);
    EXPECT_EQ(m.e[2], 0.0f);
    EXPECT_EQ(m.e[6], 0.0f);
    EXPECT_EQ(m.e[8], 0.0f);
    EXPECT_EQ(m.e[9], 0.0f);
}

TEST(FooterTilt, DownAxisRunsFromTheHigherPointToTheLower)
{
    const float h = std::sqrt(0.5f);
    // Footer below the other end.
    const Vector3 low = downAxis(footerPlacement({0, 0, 0}, {10, 10, 0}, 0, 2, true), 2);
    EXPECT_NEAR(low.x, -h, 1e-6);
    EXPECT_NEAR(low.y, -h, 1e-6);
    EXPECT_NEAR(low.z, 0, 1e-6);
    // Footer above the other end.
    const Vector3 high = downAxis(footerPlacement({0, 10, 0}, {0, 0, -10}, 0, 1, true), 1);
    EXPECT_NEAR(high.x, 0, 1e-6);
    EXPECT_NEAR(high.y, -h, 1e-6);
    EXPECT_NEAR(high.z, -h, 1e-6);
    // Equal heights: P - Q, a quarter turn.
    const Vector3 level = downAxis(footerPlacement({5, 0, 0}, {0, 0, 0}, 0, 1, true), 1);
    EXPECT_NEAR(level.x, 1, 1e-6);
    EXPECT_NEAR(level.y, 0, 1e-6);
    EXPECT_NEAR(level.z, 0, 1e-6);
}

TEST(FooterTilt, VerticalTubeKeepsTheFooterUpright)
{
    expectOnlyScaleAndMove(footerPlacement({1, 2, 3}, {1, 12, 3}, 0.5f, 2, true), 2, {1, 2, 3});
    expectOnlyScaleAndMove(footerPlacement({1, 12, 3}, {1, 2, 3}, 0, 2, true), 2, {1, 12, 3});
}

TEST(FooterTilt, CoincidentPointsStandUprightAtFullScale)
{
    expectOnlyScaleAndMove(footerPlacement({5, 5, 5}, {5, 5, 5}, 0, 1.5f, true), 1.5f, {5, 5, 5});
    // 0.0005 apart: below the shortest usable direction.
    expectOnlyScaleAndMove(footerPlacement({5, 5, 5}, {5.0005f, 5, 5}, 0, 1.5f, true), 1.5f,
                           {5, 5, 5});
}

}  // namespace
}  // namespace pw
