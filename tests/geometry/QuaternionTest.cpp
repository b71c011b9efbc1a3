#include "geometry/Quaternion.h"

#include "ExpectNear.h"

#include <cmath>
#include <iomanip>
#include <sstream>

namespace pw {
namespace {

const float halfRoot2 = std::sqrt(0.5f);
constexpr float halfPi = 1.5707964f;

std::array<float, 4> parts(const Quaternion& q) { return {q.w, q.x, q.y, q.z}; }

TEST(Quaternion, HamiltonProduct)
{
    const Quaternion i{0, 1, 0, 0}, j{0, 0, 1, 0}, k{0, 0, 0, 1};
    const struct {
        Quaternion a, b, product;
    } rows[] = {
        {i, j, k}, {j, i, {0, 0, 0, -1}}, {j, k, i},
        {k, i, j}, {i, i, {-1, 0, 0, 0}}, {{1, 2, 3, 4}, {5, 6, 7, 8}, {-60, 12, 30, 24}},
    };
    for (const auto& [a, b, product] : rows) {
        EXPECT_EQ(a.multiply(b), product) << a << " times " << b;
        EXPECT_EQ(Quaternion(a).multiplyInPlace(b), product) << a << " times " << b;
    }
    Quaternion q{1, 2, 3, 4};  // squaring in place reads only the old values
    EXPECT_EQ(q.multiplyInPlace(q), (Quaternion{-28, 4, 6, 8}));
}

// Results of the in-place operations, slerp included; tolerance 0 asks exact.
TEST(Quaternion, Operations)
{
    const Quaternion a{1, 0, 0, 0}, b{0, 1, 0, 0}, unit = Quaternion(1, 2, 3, 4).normalize();
    const Quaternion r{0.5f, 0.5f, 0.5f, 0.5f};
    const struct {
        Quaternion actual, expected;
        float tolerance;
    } rows[] = {
        {Quaternion(1, 2, 3, 4).conjugate(), {1, -2, -3, -4}, 0},
        {Quaternion(0, 0, 0, 0).normalize(), {1, 0, 0, 0}, 0},
        {Quaternion(0, 3, 0, -4).normalize(), {0, 0.6f, 0, -0.8f}, 0},
        // The conjugate over the norm: an inverse only for unit quaternions; zero stays zero.
        {Quaternion(0, 0, 0, 0).unitInverse(), {0, 0, 0, 0}, 0},
        {Quaternion(0, 0, 0, 2).unitInverse(), {0, 0, 0, -1}, 0},
        {Quaternion(2, 0, 0, 0).unitInverse(), {1, 0, 0, 0}, 0},
        {Quaternion(5, 0, 0, 0).exp(), {1, 0, 0, 0}, 0},
        {Quaternion(0, 0, halfPi, 0).exp(), {0, 0, 1, 0}, 1e-6f},
        {Quaternion(0, 0.00005f, 0, 0).exp(), {1, 0.00005f, 0, 0}, 1e-9f},
        // The vector part times the angle atan(|v| / w), not times angle / |v|.
        {Quaternion(std::cos(0.5f), 0, 0, std::sin(0.5f)).log(),
         {0, 0, 0, std::sin(0.5f) * 0.5f},
         6e-8f},
        {Quaternion(3, 0, 0, 0).log(), {0, 0, 0, 0}, 0},
        // The negated half angle about the normalised axis; a zero axis gives (1, 0, 0, 0).
        {Quaternion().fromAxisAngle(halfPi, 0, 0, 2), {halfRoot2, 0, 0, -halfRoot2}, 1e-6f},
        {Quaternion(0, 1, 2, 3).fromAxisAngle(1.0f, 0, 0, 0), {1, 0, 0, 0}, 0},
        // Slerp along the great circle through 1 and i.
        {Quaternion().slerp(a, b, 1.0f), b, 1e-6f},
        {Quaternion().slerp(a, b, 1.0f / 3),
         {std::cos(halfPi / 3), std::sin(halfPi / 3), 0, 0},
         1e-6f},
        {Quaternion().slerp(unit, unit, 0.3f), unit, 1e-6f},  // nearly equal: the linear weights
        // No shorter arc: with a negative dot product the path runs the long way (135 degrees).
        {Quaternion().slerp(a, {-halfRoot2, halfRoot2, 0, 0}, 0.5f),
         {std::cos(0.75f * halfPi), std::sin(0.75f * halfPi), 0, 0},
         1e-6f},
        // Opposite: the quarter circle towards p = (q0.z, -q0.y, q0.x, -q0.w).
        {Quaternion().slerp(a, {-1, 0, 0, 0}, 0.0f), a, 0},
        {Quaternion().slerp(a, {-1, 0, 0, 0}, 1.0f), {0, 0, 0, -1}, 1e-7f},
        {Quaternion().slerp(r, {-0.5f, -0.5f, -0.5f, -0.5f}, 1.0f),
         {0.5f, -0.5f, 0.5f, -0.5f},
         1e-7f},
    };
    for (std::size_t n = 0; n < std::size(rows); ++n) {
        SCOPED_TRACE(::testing::Message() << "row " << n << ": " << rows[n].actual);
        test::expectNear(parts(rows[n].actual), parts(rows[n].expected), rows[n].tolerance);
    }
}

// Row-major and not normalised first; applied to points, fromAxisAngle turns by -angle.
TEST(Quaternion, ToMatrix)
{
    const std::array<float, 16> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const struct {
        Quaternion q;
        std::array<float, 16> expected;
        float tolerance;
    } rows[] = {
        {{}, identity, 0},
        {{2, 0, 0, 0}, identity, 0},
        {{0, 0, 1, 0}, {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1}, 0},  // 180 about y
        {{halfRoot2, 0, 0, halfRoot2}, {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 1e-6f},
        {Quaternion().fromAxisAngle(halfPi, 0, 0, 1),
         {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1},
         1e-6f},
    };
    for (const auto& [q, expected, tolerance] : rows) {
        SCOPED_TRACE(::testing::Message() << q);
        test::expectNear(q.toMatrix().e, expected, tolerance);
    }
}

TEST(Quaternion, TextUsesTheStreamsNumberFormat)
{
    std::ostringstream plain, fixed;
    plain << Quaternion(1, 2, 3, 4);
    fixed << std::fixed << std::setprecision(2) << Quaternion(0.5f, -1, 0, 2.25f);
    EXPECT_EQ(plain.str(), "1 + 2i + 3j + 4k");
    EXPECT_EQ(fixed.str(), "0.50 + -1.00i + 0.00j + 2.25k");
}

}  // namespace
}  // namespace pw
