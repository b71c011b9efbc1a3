#include "geometry/Vector3.h"

#include <gtest/gtest.h>

#include <sstream>

namespace pw {
namespace {

TEST(Vector3Arithmetic, DotCrossLengthAndDifference)
{
    EXPECT_EQ(dot({1, 2, 3}, {4, -5, 6}), 12.0f);
    EXPECT_EQ(cross({1, 0, 0}, {0, 1, 0}), (Vector3{0, 0, 1}));  // right-handed
    EXPECT_EQ(cross({0, 1, 0}, {1, 0, 0}), (Vector3{0, 0, -1}));
    EXPECT_EQ(cross({2, 3, 4}, {5, 6, 7}), (Vector3{-3, 6, -3}));
    // The tilt axis of a footer: (0, -1, 0) x d = (-d.z, 0, d.x).
    EXPECT_EQ(cross({0, -1, 0}, {0.5f, -2, 3}), (Vector3{-3, 0, 0.5f}));
    EXPECT_EQ(length({3, 0, -4}), 5.0f);
    EXPECT_EQ((Vector3{1, 2, 3} - Vector3{0.5f, 4, -3}), (Vector3{0.5f, -2, 6}));
}

TEST(Vector3Normalize, LeavesVectorsShorterThanTheThresholdUnchanged)
{
    Vector3 tiny{0, 0.0005f, 0};  // squared length 2.5e-7
    normalize(tiny);
    EXPECT_EQ(tiny, (Vector3{0, 0.0005f, 0}));

    Vector3 zero{};
    normalize(zero);
    EXPECT_EQ(zero, (Vector3{}));

    Vector3 shortOne{0, 0.002f, 0};  // squared length 4e-6
    normalize(shortOne);
    EXPECT_FLOAT_EQ(shortOne.y, 1.0f);
    EXPECT_EQ(shortOne.x, 0.0f);
    EXPECT_EQ(shortOne.z, 0.0f);

    Vector3 v{3, 0, -4};
    normalize(v);
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.z, -0.8f);
}

TEST(Vector3Text, PrintsTheThreeComponents)
{
    std::ostringstream out;
    out << Vector3{1, -2.5f, 3};
    EXPECT_EQ(out.str(), "(1, -2.5, 3)");
}

}  // namespace
}  // namespace pw
