#include "geometry/Matrix4.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>

namespace pw {
namespace {

using Elements = std::array<float, 16>;

const Elements identityElements = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

Matrix4 identity()
{
    return Matrix4().identity();
}

Matrix4 fromElements(const Elements& e)
{
    Matrix4 m;
    m.e = e;
    return m;
}

// M * (x, y, z, 1), dropping w.
Vector3 transformPoint(const Matrix4& m, Vector3 p)
{
    const auto& e = m.e;
    return {e[0] * p.x + e[1] * p.y + e[2] * p.z + e[3],
            e[4] * p.x + e[5] * p.y + e[6] * p.z + e[7],
            e[8] * p.x + e[9] * p.y + e[10] * p.z + e[11]};
}

Matrix4 product(const Matrix4& a, const Matrix4& b)
{
    Matrix4 m;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a.e[4 * r + k] * b.e[4 * k + c];
            m.e[4 * r + c] = sum;
        }
    }
    return m;
}

void expectElementsNear(const Matrix4& m, const Elements& expected, float tolerance)
{
    for (int k = 0; k < 16; ++k)
        EXPECT_NEAR(m.e[k], expected[k], tolerance) << "element " << k;
}

void expectPointNear(Vector3 actual, Vector3 expected, float tolerance)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// --- order of the transforms --------------------------------------------------------------------

TEST(Matrix4Order, TranslationLandsInTheLastColumn)
{
    EXPECT_EQ(identity().translate(1, 2, 3).e,
              (Elements{1, 0, 0, 1, 0, 1, 0, 2, 0, 0, 1, 3, 0, 0, 0, 1}));
    EXPECT_EQ(identity().translate(Vector3{1, 2, 3}), identity().translate(1, 2, 3));
}

TEST(Matrix4Order, EachTransformActsOnWhatIsAlreadyThere)
{
    // Scale first, translate last: the translation is not scaled.
    EXPECT_EQ(identity().scale(2).translate(1, 2, 3).e,
              (Elements{2, 0, 0, 1, 0, 2, 0, 2, 0, 0, 2, 3, 0, 0, 0, 1}));
    // Translate first: the later scale scales the translation too.
    EXPECT_EQ(identity().translate(1, 2, 3).scale(2).e,
              (Elements{2, 0, 0, 2, 0, 2, 0, 4, 0, 0, 2, 6, 0, 0, 0, 1}));
    EXPECT_EQ(identity().scale(2, 3, 4).e,
              (Elements{2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1}));
}

TEST(Matrix4Order, FooterPlacementScalesThenTurnsThenMoves)
{
    const Matrix4 m = identity().scale(2).rotate(90, 0, 1, 0).translate(10, 20, 30);
    // Upper block 2 R, translation untouched, bottom row exactly (0, 0, 0, 1).
    expectElementsNear(m, {0, 0, 2, 10, 0, 2, 0, 20, -2, 0, 0, 30, 0, 0, 0, 1}, 1e-6f);
    EXPECT_EQ(m.e[3], 10.0f);
    EXPECT_EQ(m.e[7], 20.0f);
    EXPECT_EQ(m.e[11], 30.0f);
    EXPECT_EQ((std::array{m.e[12], m.e[13], m.e[14], m.e[15]}), (std::array{0.0f, 0.0f, 0.0f, 1.0f}));
    // The model's point (0, 0, 1) is scaled to (0, 0, 2), turned to (2, 0, 0), then moved.
    expectPointNear(transformPoint(m, {0, 0, 1}), {12, 20, 30}, 1e-5f);
}

// --- rotations ----------------------------------------------------------------------------------

TEST(Matrix4Rotate, NinetyDegreesTurnsTheAxesCounterClockwise)
{
    const Matrix4 aboutZ = identity().rotate(90, 0, 0, 1);
    expectElementsNear(aboutZ, {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 1e-6f);
    expectPointNear(transformPoint(aboutZ, {1, 0, 0}), {0, 1, 0}, 1e-6f);
    expectPointNear(transformPoint(identity().rotate(90, Vector3{0, 1, 0}), {0, 0, 1}), {1, 0, 0},
                    1e-6f);
    expectPointNear(transformPoint(identity().rotate(90, 1, 0, 0), {0, 1, 0}), {0, 0, 1}, 1e-6f);
}

TEST(Matrix4Rotate, AxisRotationsMatchTheGeneralRotation)
{
    const Matrix4 start = fromElements({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0, 0, 0, 1});
    for (float angle : {30.0f, -75.0f, 200.0f}) {
        expectElementsNear(Matrix4(start).rotateX(angle), Matrix4(start).rotate(angle, 1, 0, 0).e,
                           1e-5f);
        expectElementsNear(Matrix4(start).rotateY(angle), Matrix4(start).rotate(angle, 0, 1, 0).e,
                           1e-5f);
        expectElementsNear(Matrix4(start).rotateZ(angle), Matrix4(start).rotate(angle, 0, 0, 1).e,
                           1e-5f);
    }
}

TEST(Matrix4Rotate, ZeroAngleAndZeroAxis)
{
    const Matrix4 start = fromElements({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0, 0, 0, 1});
    EXPECT_EQ(Matrix4(start).rotate(0, 0.6f, 0.8f, 0), start);
    EXPECT_EQ(Matrix4(start).rotate(0, 0, 0, 0), start);

    // A zero axis leaves R = cos(angle) I: 180 degrees negates rows 0 to 2.
    expectElementsNear(Matrix4(start).rotate(180, 0, 0, 0),
                       {-1, -2, -3, -4, -5, -6, -7, -8, -9, -10, -11, -12, 0, 0, 0, 1}, 1e-5f);
}

TEST(Matrix4Rotate, UsesTheRoundedUpDegreeFactor)
{
    // The float nearest pi / 180 is 0x3C8EFA35; placements are made with the next one up.
    EXPECT_EQ(std::bit_cast<std::uint32_t>(degreesToRadians), 0x3C8EFA36u);
}

TEST(Matrix4Rotate, BottomRowStaysUntouched)
{
    const Matrix4 m = identity().scale(0.5f).rotate(33, 0.6f, 0, 0.8f).translate(-4, 5, 6).rotateX(10)
                          .rotateY(-20).rotateZ(30).scale(2, 3, 4);
    EXPECT_EQ((std::array{m.e[12], m.e[13], m.e[14], m.e[15]}), (std::array{0.0f, 0.0f, 0.0f, 1.0f}));
}

// --- transpose and determinant ------------------------------------------------------------------

TEST(Matrix4Transpose, MirrorsAcrossTheDiagonal)
{
    Matrix4 m = fromElements({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    EXPECT_EQ(m.transpose().e, (Elements{0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15}));
}

TEST(Matrix4Determinant, CofactorExpansion)
{
    EXPECT_EQ(identity().determinant(), 1.0f);
    EXPECT_EQ(fromElements({2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 5}).determinant(), 120.0f);
    EXPECT_EQ(fromElements({1, 2, 3, 4, 5, 6, 7, 8, 2, 6, 4, 8, 3, 1, 1, 2}).determinant(), 72.0f);
    EXPECT_EQ(fromElements({1, 2, 3, 4, 2, 4, 6, 8, 0, 1, 0, 1, 1, 0, 0, 1}).determinant(), 0.0f);
}

// --- inverses -----------------------------------------------------------------------------------

TEST(Matrix4Invert, GeneralInverseAndItsSingularFallback)
{
    const Matrix4 m = fromElements({1, 2, 3, 4, 5, 6, 7, 8, 2, 6, 4, 8, 3, 1, 1, 2});
    expectElementsNear(product(m, Matrix4(m).invertGeneral()), identityElements, 1e-5f);

    EXPECT_EQ(fromElements({1, 2, 3, 4, 2, 4, 6, 8, 0, 1, 0, 1, 1, 0, 0, 1}).invert().e,
              identityElements);
    // At the limit |det| = 0.00001 the matrix counts as singular; just above it does not.
    EXPECT_EQ(fromElements({0.00001f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}).invertGeneral().e,
              identityElements);
    EXPECT_FLOAT_EQ(
        fromElements({0.00002f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}).invertGeneral().e[0],
        50000.0f);
}

TEST(Matrix4Invert, AffineInverseUndoesRotationScaleAndTranslation)
{
    EXPECT_EQ(identity().translate(1, 2, 3).invert(), identity().translate(-1, -2, -3));

    const Matrix4 m = identity().scale(2).rotate(40, 0.6f, 0, 0.8f).translate(7, -3, 12);
    const Matrix4 inverse = Matrix4(m).invert();
    EXPECT_EQ(inverse, Matrix4(m).invertAffine());  // the affine path was taken
    expectElementsNear(product(inverse, m), identityElements, 1e-5f);
    expectElementsNear(inverse, Matrix4(m).invertGeneral().e, 1e-5f);
    expectPointNear(transformPoint(inverse, {7, -3, 12}), {0, 0, 0}, 1e-5f);

    // A singular block has no inverse, whatever the translation.
    EXPECT_EQ(identity().scale(0).translate(1, 2, 3).invertAffine().e, identityElements);
}

TEST(Matrix4Invert, NonAffineBottomRowTakesTheGeneralPath)
{
    // w is doubled: the affine inverse would ignore it.
    const Matrix4 m = fromElements({1, 0, 0, 3, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2});
    EXPECT_EQ(Matrix4(m).invert().e, (Elements{1, 0, 0, -1.5f, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0.5f}));
    const Matrix4 projective = fromElements({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0.5f, 0, 1});
    EXPECT_EQ(Matrix4(projective).invert(), Matrix4(projective).invertGeneral());
    expectElementsNear(product(projective, Matrix4(projective).invert()), identityElements, 1e-6f);
}

}  // namespace
}  // namespace pw
