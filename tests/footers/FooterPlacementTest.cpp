#include "footers/FooterGeneration.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pw {
namespace {

using Elements = std::array<float, 16>;

// Scaled by s, turned by `degrees` about the vertical (R00 = cos, R02 = sin), moved to p.
Elements turned(float s, double degrees, Vector3 p)
{
    const double t = degrees * 3.14159265358979323846 / 180.0;
    const auto c = static_cast<float>(s * std::cos(t));
    const auto n = static_cast<float>(s * std::sin(t));
    return {c, 0, n, p.x, 0, s, 0, p.y, -n, 0, c, p.z, 0, 0, 0, 1};
}

void expectNear(const Elements& actual, const Elements& expected, float tolerance)
{
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "element " << i;
}

TEST(FooterPlacement, TurnAboutTheVertical)
{
    struct Row {
        Vector3 p, q;
        float fundamentAngle, scale;
        double degrees;
    };
    const Vector3 p{10, 0, 10};
    const Row rows[] = {
        // |dx| = 2, |dz| = 4: atan(2/4) when x and z both grow or both fall, else atan(4/2).
        {p, {8, 20, 6}, 0, 1, 26.565052},
        {p, {12, 20, 14}, 0, 1, 26.565052},
        {p, {12, 20, 6}, 0, 1, 63.434948},
        {p, {8, 20, 14}, 0, 1, 63.434948},
        // The fundament's own angle (radians) wins, also where the table gives none.
        {p, {8, 20, 6}, 0.5f, 1, 28.647890},
        {p, p, 0.5f, 1, 28.647890},
        // A damaged file's angle that is no number leaves the turn to the table.
        {p, {8, 20, 6}, NAN, 1, 26.565052},
        {p, {8, 20, 6}, -INFINITY, 1, 26.565052},
        // Scaled first, moved unscaled.
        {{1, 2, 3}, {0, 0, 0}, 0, 2.5f, 18.434949},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.degrees);
        expectNear(footerPlacement(row.p, row.q, row.fundamentAngle, row.scale, false).e,
                   turned(row.scale, row.degrees, row.p), 2e-6f);
    }
}

// The stored bits depend on the degree conversion: radians over 0.01745329252 in double
// precision, rounded once to single precision.
TEST(FooterPlacement, TurnInDegreesIsRoundedOnceFromDouble)
{
    const Vector3 p{10, 0, 10};
    const auto degrees = [](float radians) { return static_cast<float>(radians / 0.01745329252); };
    Matrix4 byAngle;
    byAngle.identity().scale(1.0f).rotate(degrees(0.5f), 0, 1, 0).translate(p);
    EXPECT_EQ(footerPlacement(p, p, 0.5f, 1, false).e, byAngle.e);
    Matrix4 byTable;
    byTable.identity().scale(2.0f).rotate(degrees(std::atan(2.0f / 4.0f)), 0, 1, 0).translate(p);
    EXPECT_EQ(footerPlacement(p, {8, 20, 6}, 0, 2, false).e, byTable.e);
}

TEST(FooterPlacement, UprightWhereNoDirectionIsGiven)
{
    struct Row {
        const char* what;
        Vector3 p, q;
        float fundamentAngle, scale;
        bool align;
    };
    const Row rows[] = {
        {"turn, equal x", {10, 0, 10}, {10, 20, 4}, 0, 1, false},
        {"turn, equal z", {10, 0, 10}, {3, 20, 10}, 0, 1, false},
        {"turn, same point", {10, 0, 10}, {10, 0, 10}, 0, 2, false},
        {"tilt, vertical from below", {1, 2, 3}, {1, 12, 3}, 0.5f, 2, true},
        {"tilt, vertical from above", {1, 12, 3}, {1, 2, 3}, 0, 2, true},
        {"tilt, same point", {5, 5, 5}, {5, 5, 5}, 0, 1.5f, true},
        {"tilt, below the shortest direction", {5, 5, 5}, {5.0005f, 5, 5}, 0, 1.5f, true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(footerPlacement(row.p, row.q, row.fundamentAngle, row.scale, row.align).e,
                  turned(row.scale, 0, row.p))
            << row.what;
}

TEST(FooterPlacement, TiltTurnsTheDownAxisFromTheHigherEndToTheLower)
{
    const float h = std::sqrt(0.5f);
    // 45 degrees about (0, 0, -1); the fundament's angle plays no part.
    expectNear(footerPlacement({0, 0, 0}, {10, 10, 0}, 0.5f, 1, true).e,
               {h, h, 0, 0, -h, h, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 1e-6f);
    struct Row {
        Vector3 p, q;
        float scale;
        Vector3 down;
    };
    const Row rows[] = {
        {{0, 0, 0}, {10, 10, 0}, 2, {-h, -h, 0}},   // footer below the other end
        {{0, 10, 0}, {0, 0, -10}, 1, {0, -h, -h}},  // footer above it
        {{5, 0, 0}, {0, 0, 0}, 1, {1, 0, 0}},       // level: along P - Q, a quarter turn
    };
    for (const Row& row : rows) {
        const Elements m = footerPlacement(row.p, row.q, 0, row.scale, true).e;
        SCOPED_TRACE(&row - rows);
        EXPECT_NEAR(-m[1] / row.scale, row.down.x, 1e-6f);
        EXPECT_NEAR(-m[5] / row.scale, row.down.y, 1e-6f);
        EXPECT_NEAR(-m[9] / row.scale, row.down.z, 1e-6f);
        EXPECT_EQ((Vector3{m[3], m[7], m[11]}), row.p);
    }
}

}  // namespace
}  // namespace pw
