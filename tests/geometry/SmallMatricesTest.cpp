#include "geometry/Matrix2.h"
#include "geometry/Matrix3.h"

#include <gtest/gtest.h>

#include <array>

namespace pw {
namespace {

using Elements3 = std::array<float, 9>;

const Elements3 identity3 = {1, 0, 0, 0, 1, 0, 0, 0, 1};

Matrix3 fromElements(const Elements3& e)
{
    Matrix3 m;
    m.e = e;
    return m;
}

TEST(Matrix3Determinant, RowByRowExpansion)
{
    EXPECT_EQ(determinant3(1, 2, 3, 0, 1, 4, 5, 6, 0), 1.0f);
    EXPECT_EQ(determinant3(1, 2, 3, 4, 5, 6, 7, 8, 9), 0.0f);
    EXPECT_EQ(fromElements({2, 1, 0, 1, 1, 0, 0, 0, 4}).determinant(), 4.0f);
    EXPECT_EQ(Matrix3().identity().e, identity3);
}

TEST(Matrix3Invert, AdjugateOverDeterminant)
{
    EXPECT_EQ(fromElements({1, 2, 3, 0, 1, 4, 5, 6, 0}).invert().e,
              (Elements3{-24, 18, 5, 20, -15, -4, -5, 4, 1}));
    EXPECT_EQ(fromElements({2, 1, 0, 1, 1, 0, 0, 0, 4}).invert().e,
              (Elements3{1, -1, 0, -1, 2, 0, 0, 0, 0.25f}));
}

TEST(Matrix3Invert, SingularBecomesIdentity)
{
    EXPECT_EQ(fromElements({1, 2, 3, 4, 5, 6, 7, 8, 9}).invert().e, identity3);
    EXPECT_EQ(Matrix3().invert().e, identity3);
    EXPECT_EQ(fromElements({0.00001f, 0, 0, 0, 1, 0, 0, 0, 1}).invert().e, identity3);
    EXPECT_FLOAT_EQ(fromElements({0.00002f, 0, 0, 0, 1, 0, 0, 0, 1}).invert().e[0], 50000.0f);
}

TEST(Matrix2Invert, SwapsAndNegatesOrBecomesIdentity)
{
    EXPECT_EQ((Matrix2{4, 7, 2, 6}).determinant(), 10.0f);
    Matrix2 m{4, 7, 2, 6};
    m.invert();
    EXPECT_FLOAT_EQ(m.a, 0.6f);
    EXPECT_FLOAT_EQ(m.b, -0.7f);
    EXPECT_FLOAT_EQ(m.c, -0.2f);
    EXPECT_FLOAT_EQ(m.d, 0.4f);

    EXPECT_EQ((Matrix2{2, 1, 1, 1}).invert(), (Matrix2{1, -1, -1, 2}));
    EXPECT_EQ((Matrix2{1, 2, 2, 4}).invert(), (Matrix2{1, 0, 0, 1}));
    EXPECT_EQ((Matrix2{0.00001f, 0, 0, 1}).invert(), (Matrix2{1, 0, 0, 1}));
}

}  // namespace
}  // namespace pw
