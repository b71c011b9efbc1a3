#include "geometry/Quaternion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <sstream>

namespace pw {
namespace {

void expectNear(const Quaternion& actual, const Quaternion& expected, float tolerance)
{
    EXPECT_NEAR(actual.w, expected.w, tolerance);
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

const float halfRoot2 = std::sqrt(0.5f);
constexpr float halfPi = 1.5707964f;

TEST(QuaternionProduct, HamiltonRules)
{
    const Quaternion i{0, 1, 0, 0};
    const Quaternion j{0, 0, 1, 0};
    const Quaternion k{0, 0, 0, 1};
    EXPECT_EQ(i.multiply(j), k);
    EXPECT_EQ(j.multiply(i), (Quaternion{0, 0, 0, -1}));
    EXPECT_EQ(j.multiply(k), i);
    EXPECT_EQ(k.multiply(i), j);
    EXPECT_EQ(i.multiply(i), (Quaternion{-1, 0, 0, 0}));
    EXPECT_EQ((Quaternion{1, 2, 3, 4}).multiply({5, 6, 7, 8}), (Quaternion{-60, 12, 30, 24}));
}

TEST(QuaternionProduct, InPlaceReadsOnlyTheOldValuesEvenWhenSquaring)
{
    Quaternion q{1, 2, 3, 4};
    q.multiplyInPlace(q);
    EXPECT_EQ(q, (Quaternion{-28, 4, 6, 8}));
    EXPECT_EQ(Quaternion(1, 2, 3, 4).multiplyInPlace({5, 6, 7, 8}), (Quaternion{-60, 12, 30, 24}));
}

TEST(QuaternionUnary, ConjugateNormalizeAndInverse)
{
    EXPECT_EQ(Quaternion(), (Quaternion{1, 0, 0, 0}));
    EXPECT_EQ(Quaternion(1, 2, 3, 4).conjugate(), (Quaternion{1, -2, -3, -4}));
    EXPECT_EQ(Quaternion(0, 0, 0, 0).normalize(), (Quaternion{1, 0, 0, 0}));
    EXPECT_EQ(Quaternion(0, 3, 0, -4).normalize(), (Quaternion{0, 0.6f, 0, -0.8f}));
    EXPECT_EQ(Quaternion(0, 0, 0, 0).unitInverse(), (Quaternion{0, -0.0f, -0.0f, -0.0f}));
    EXPECT_EQ(Quaternion(0, 0, 0, 2).unitInverse(), (Quaternion{0, 0, 0, -1}));
    // The conjugate over the norm: an inverse only for unit quaternions.
    EXPECT_EQ(Quaternion(2, 0, 0, 0).unitInverse(), (Quaternion{1, 0, 0, 0}));
}

TEST(QuaternionLogExp, ScalarQuaternionsAndTheAngleScaledVectorPart)
{
    EXPECT_EQ(Quaternion(5, 0, 0, 0).exp(), (Quaternion{1, 0, 0, 0}));
    EXPECT_EQ(Quaternion(-2, 0, 0, 0).exp(), (Quaternion{1, 0, 0, 0}));
    expectNear(Quaternion(0, 0, halfPi, 0).exp(), {0, 0, 1, 0}, 1e-6f);
    expectNear(Quaternion(0, 0.00005f, 0, 0).exp(), {1, 0.00005f, 0, 0}, 1e-9f);

    // Vector part times the angle atan(|v| / w), not times angle / |v|.
    const Quaternion logged = Quaternion(std::cos(0.5f), 0, 0, std::sin(0.5f)).log();
    EXPECT_EQ(logged.w, 0.0f);
    EXPECT_FLOAT_EQ(logged.z, std::sin(0.5f) * 0.5f);
    EXPECT_EQ(Quaternion(3, 0, 0, 0).log(), (Quaternion{0, 0, 0, 0}));
}

TEST(QuaternionAxisAngle, NegatedHalfAngleAboutTheNormalisedAxis)
{
    expectNear(Quaternion().fromAxisAngle(halfPi, 0, 0, 2),
               {std::cos(halfPi / 2), 0, 0, -std::sin(halfPi / 2)}, 1e-6f);
    EXPECT_EQ(Quaternion(0, 1, 2, 3).fromAxisAngle(1.0f, 0, 0, 0), (Quaternion{1, 0, 0, 0}));

    // Applied as a matrix it turns by -angle: (1, 0, 0) goes to (0, -1, 0).
    const Matrix4 m = Quaternion().fromAxisAngle(halfPi, 0, 0, 1).toMatrix();
    EXPECT_NEAR(m.e[0], 0.0f, 1e-6f);
    EXPECT_NEAR(m.e[4], -1.0f, 1e-6f);
    EXPECT_NEAR(m.e[8], 0.0f, 1e-6f);
}

TEST(QuaternionMatrix, RowMajorRotation)
{
    EXPECT_EQ(Quaternion().toMatrix(), Matrix4().identity());
    // (0, 0, 1, 0): 180 degrees about y.
    EXPECT_EQ(Quaternion(0, 0, 1, 0).toMatrix().e,
              (std::array<float, 16>{-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1}));
    // Not normalised first: (2, 0, 0, 0) still gives the identity block.
    EXPECT_EQ(Quaternion(2, 0, 0, 0).toMatrix(), Matrix4().identity());
    // Off-diagonal signs: the rotation by +90 degrees about z is (cos 45, 0, 0, sin 45).
    const Matrix4 aboutZ = Quaternion(halfRoot2, 0, 0, halfRoot2).toMatrix();
    EXPECT_NEAR(aboutZ.e[1], -1.0f, 1e-6f);
    EXPECT_NEAR(aboutZ.e[4], 1.0f, 1e-6f);
}

TEST(QuaternionSlerp, EndPointsArcAndDegenerateCases)
{
    const Quaternion a{1, 0, 0, 0};
    const Quaternion b{0, 1, 0, 0};
    Quaternion q;
    expectNear(q.slerp(a, b, 0.0f), a, 1e-6f);
    expectNear(q.slerp(a, b, 1.0f), b, 1e-6f);
    expectNear(q.slerp(a, b, 0.5f), {halfRoot2, halfRoot2, 0, 0}, 1e-6f);
    expectNear(q.slerp(a, b, 1.0f / 3.0f), {std::cos(halfPi / 3), std::sin(halfPi / 3), 0, 0}, 1e-6f);

    // Nearly equal: the linear weights.
    const Quaternion unit = Quaternion(1, 2, 3, 4).normalize();
    for (float t : {0.0f, 0.3f, 1.0f})
        expectNear(q.slerp(unit, unit, t), unit, 1e-6f);

    // No shorter arc: with c < 0 the path runs the long way (135 degrees) to q1, not to -q1.
    expectNear(q.slerp(a, {-halfRoot2, halfRoot2, 0, 0}, 0.5f),
               {std::cos(1.5f * halfPi / 2), std::sin(1.5f * halfPi / 2), 0, 0}, 1e-6f);

    // Opposite: the quarter circle towards p = (q0.z, -q0.y, q0.x, -q0.w).
    const Quaternion minusA{-1, 0, 0, 0};
    EXPECT_EQ(q.slerp(a, minusA, 0.0f), a);
    expectNear(q.slerp(a, minusA, 0.5f), {halfRoot2, 0, 0, -halfRoot2}, 1e-6f);
    expectNear(q.slerp(a, minusA, 1.0f), {0, 0, 0, -1}, 1e-7f);
    const Quaternion r = Quaternion(0.5f, 0.5f, 0.5f, 0.5f);
    expectNear(q.slerp(r, {-0.5f, -0.5f, -0.5f, -0.5f}, 1.0f), {0.5f, -0.5f, 0.5f, -0.5f}, 1e-7f);
}

TEST(QuaternionText, UsesTheStreamsNumberFormat)
{
    std::ostringstream plain;
    plain << Quaternion(1, 2, 3, 4);
    EXPECT_EQ(plain.str(), "1 + 2i + 3j + 4k");

    std::ostringstream fixed;
    fixed << std::fixed << std::setprecision(2) << Quaternion(0.5f, -1, 0, 2.25f);
    EXPECT_EQ(fixed.str(), "0.50 + -1.00i + 0.00j + 2.25k");
}

}  // namespace
}  // namespace pw
