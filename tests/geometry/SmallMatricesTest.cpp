#include "geometry/Matrix2.h"
#include "geometry/Matrix3.h"

#include <gtest/gtest.h>

#include <array>

namespace pw {
namespace {

// A determinant at or below 0.00001 in size makes the inverse the identity.
TEST(Matrix3, DeterminantAndInverse)
{
    using E = std::array<float, 9>;
    const E identity = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const struct {
        E m;
        float det;
        E inverse;
    } rows[] = {
        {{1, 2, 3, 0, 1, 4, 5, 6, 0}, 1, {-24, 18, 5, 20, -15, -4, -5, 4, 1}},
        {{2, 1, 0, 1, 1, 0, 0, 0, 4}, 4, {1, -1, 0, -1, 2, 0, 0, 0, 0.25f}},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9}, 0, identity},
        {{}, 0, identity},
        {{0.00001f, 0, 0, 0, 1, 0, 0, 0, 1}, 0.00001f, identity},
        {{0.00002f, 0, 0, 0, 1, 0, 0, 0, 1}, 0.00002f, {50000, 0, 0, 0, 1, 0, 0, 0, 1}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.det);
        EXPECT_EQ(Matrix3{row.m}.determinant(), row.det);
        EXPECT_EQ(Matrix3{row.m}.invert().e, row.inverse);
    }
}

TEST(Matrix2, DeterminantAndInverse)
{
    const struct {
        Matrix2 m;
        float det;
        Matrix2 inverse;
    } rows[] = {
        {{4, 7, 2, 6}, 10, {0.6f, -0.7f, -0.2f, 0.4f}},
        {{2, 1, 1, 1}, 1, {1, -1, -1, 2}},
        {{1, 2, 2, 4}, 0, {1, 0, 0, 1}},
        {{0.00001f, 0, 0, 1}, 0.00001f, {1, 0, 0, 1}},
        {{0.00002f, 0, 0, 1}, 0.00002f, {50000, 0, 0, 1}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.det);
        EXPECT_EQ(row.m.determinant(), row.det);
        EXPECT_EQ(Matrix2(row.m).invert(), row.inverse);
    }
}

}  // namespace
}  // namespace pw
