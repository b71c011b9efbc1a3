#include "geometry/Matrix4.h"

#include "ExpectNear.h"

#include <array>

namespace pw {
namespace {

using Elements = std::array<float, 16>;
const Elements identityElements = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
const Matrix4 start{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0, 0, 0, 1}};

Matrix4 identity() { return Matrix4().identity(); }

Matrix4 product(const Matrix4& a, const Matrix4& b)
{
    Matrix4 m;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            for (int k = 0; k < 4; ++k)
                m.e[4 * r + c] += a.e[4 * r + k] * b.e[4 * k + c];
        }
    }
    return m;
}

// Each transform pre-multiplies, so it acts on what is already there; tolerance 0 asks exact.
TEST(Matrix4, TransformsInOrder)
{
    // clang-format off
    const struct { const char* name; Matrix4 m; Elements expected; float tolerance; } rows[] = {
        {"translate", identity().translate(1, 2, 3),
         {1, 0, 0, 1, 0, 1, 0, 2, 0, 0, 1, 3, 0, 0, 0, 1}, 0},
        {"translate vector", identity().translate(Vector3{1, 2, 3}),
         {1, 0, 0, 1, 0, 1, 0, 2, 0, 0, 1, 3, 0, 0, 0, 1}, 0},
        {"scale then translate", identity().scale(2).translate(1, 2, 3),
         {2, 0, 0, 1, 0, 2, 0, 2, 0, 0, 2, 3, 0, 0, 0, 1}, 0},
        {"translate then scale", identity().translate(1, 2, 3).scale(2),
         {2, 0, 0, 2, 0, 2, 0, 4, 0, 0, 2, 6, 0, 0, 0, 1}, 0},
        {"scale xyz", identity().scale(2, 3, 4),
         {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1}, 0},
        // A footer's placement: scale, turn, move; the translation is neither scaled nor turned.
        {"placement", identity().scale(2).rotate(90, 0, 1, 0).translate(10, 20, 30),
         {0, 0, 2, 10, 0, 2, 0, 20, -2, 0, 0, 30, 0, 0, 0, 1}, 1e-6f},
        // Positive angles turn counter-clockwise: x to y about z, z to x about y, y to z about x.
        {"about z", identity().rotate(90, 0, 0, 1),
         {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 1e-6f},
        {"about y", identity().rotate(90, Vector3{0, 1, 0}),
         {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 1}, 1e-6f},
        {"about x", identity().rotate(90, 1, 0, 0),
         {1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1}, 1e-6f},
        {"zero angle", Matrix4(start).rotate(0, 0.6f, 0.8f, 0), start.e, 0},
        // A zero axis leaves cos(angle) I: 180 degrees negates rows 0 to 2.
        {"zero axis", Matrix4(start).rotate(180, 0, 0, 0),
         {-1, -2, -3, -4, -5, -6, -7, -8, -9, -10, -11, -12, 0, 0, 0, 1}, 1e-5f},
        {"transpose", Matrix4{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}}.transpose(),
         {0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15}, 0},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::expectNear(row.m.e, row.expected, row.tolerance);
    }
    const Matrix4 chain = identity()
                              .scale(0.5f)
                              .rotate(33, 0.6f, 0, 0.8f)
                              .translate(-4, 5, 6)
                              .rotateX(10)
                              .rotateY(-20)
                              .rotateZ(30)
                              .scale(2, 3, 4);
    EXPECT_EQ((std::array{chain.e[12], chain.e[13], chain.e[14], chain.e[15]}),
              (std::array{0.0f, 0.0f, 0.0f, 1.0f}));
}

TEST(Matrix4, AxisRotationsMatchTheGeneralRotationAndUseTheRoundedUpDegreeFactor)
{
    for (float angle : {30.0f, -75.0f, 200.0f}) {
        SCOPED_TRACE(angle);
        const auto general = [angle](float x, float y, float z) {
            return Matrix4(start).rotate(angle, x, y, z).e;
        };
        test::expectNear(Matrix4(start).rotateX(angle).e, general(1, 0, 0), 1e-5f);
        test::expectNear(Matrix4(start).rotateY(angle).e, general(0, 1, 0), 1e-5f);
        test::expectNear(Matrix4(start).rotateZ(angle).e, general(0, 0, 1), 1e-5f);
    }
    // 90 * 0.017453294 lies one unit above the float nearest pi / 2, whose cosine is -4.37e-8.
    for (float c : {identity().rotate(90, 0, 0, 1).e[0], identity().rotateX(90).e[5],
                    identity().rotateY(90).e[0], identity().rotateZ(90).e[0]})
        EXPECT_NEAR(c, -1.6292068e-7f, 1e-13f);
}

TEST(Matrix4, DeterminantByCofactors)
{
    const std::pair<Elements, float> rows[] = {
        {{2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 5}, 120},
        {{1, 2, 3, 4, 5, 6, 7, 8, 2, 6, 4, 8, 3, 1, 1, 2}, 72},
        {{1, 2, 3, 4, 2, 4, 6, 8, 0, 1, 0, 1, 1, 0, 0, 1}, 0},
    };
    for (const auto& [e, det] : rows)
        EXPECT_EQ(Matrix4{e}.determinant(), det) << det;
}

// invert() takes the affine path exactly when the bottom row is (0, 0, 0, 1); a determinant at or
// below 0.00001 in size gives the identity on either path.
TEST(Matrix4, InverseOnBothPaths)
{
    using Inverse = Matrix4& (Matrix4::*)();
    const Matrix4 smallest{{0.00001f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    const Matrix4 invertible{{0.00002f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    const Elements inverseOfInvertible = {50000, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    // clang-format off
    const struct { const char* name; Matrix4 m; Inverse inverse; Elements expected; } rows[] = {
        {"translation", identity().translate(1, 2, 3), &Matrix4::invert,
         {1, 0, 0, -1, 0, 1, 0, -2, 0, 0, 1, -3, 0, 0, 0, 1}},
        // The affine inverse would ignore w = 2.
        {"w = 2", Matrix4{{1, 0, 0, 3, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2}}, &Matrix4::invert,
         {1, 0, 0, -1.5f, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0.5f}},
        {"singular", Matrix4{{1, 2, 3, 4, 2, 4, 6, 8, 0, 1, 0, 1, 1, 0, 0, 1}}, &Matrix4::invert,
         identityElements},
        {"singular block", identity().scale(0).translate(1, 2, 3), &Matrix4::invertAffine,
         identityElements},
        {"limit, general", smallest, &Matrix4::invertGeneral, identityElements},
        {"limit, affine", smallest, &Matrix4::invertAffine, identityElements},
        {"above the limit, general", invertible, &Matrix4::invertGeneral, inverseOfInvertible},
        {"above the limit, affine", invertible, &Matrix4::invertAffine, inverseOfInvertible},
    };
    // clang-format on
    for (const auto& row : rows) {
        Matrix4 m = row.m;
        EXPECT_EQ((m.*row.inverse)().e, row.expected) << row.name;
    }

    const Matrix4 general{{1, 2, 3, 4, 5, 6, 7, 8, 2, 6, 4, 8, 3, 1, 1, 2}};
    const Matrix4 placement = identity().scale(2).rotate(40, 0.6f, 0, 0.8f).translate(7, -3, 12);
    const Matrix4 projective{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0.5f, 0, 1}};
    for (const Matrix4& m : {general, placement, projective}) {
        const Matrix4 inverse = Matrix4(m).invert();
        test::expectNear(product(m, inverse).e, identityElements, 1e-5f);
        test::expectNear(Matrix4(m).invertGeneral().e, inverse.e, 1e-5f);
    }
    EXPECT_EQ(Matrix4(placement).invert(), Matrix4(placement).invertAffine());
    EXPECT_EQ(Matrix4(projective).invert(), Matrix4(projective).invertGeneral());
}

}  // namespace
}  // namespace pw
