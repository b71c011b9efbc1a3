#include "geometry/Vector3.h"

#include "ExpectNear.h"

#include <sstream>

namespace pw {
namespace {

TEST(Vector3, ArithmeticAndText)
{
    EXPECT_EQ(dot({1, 2, 3}, {4, -5, 6}), 12.0f);
    EXPECT_EQ(cross({1, 0, 0}, {0, 1, 0}), (Vector3{0, 0, 1}));  // right-handed
    EXPECT_EQ(cross({2, 3, 4}, {5, 6, 7}), (Vector3{-3, 6, -3}));
    EXPECT_EQ(length({3, 0, -4}), 5.0f);
    EXPECT_EQ((Vector3{1, 2, 3} - Vector3{0.5f, 4, -3}), (Vector3{0.5f, -2, 6}));
    std::ostringstream out;
    out << Vector3{1, -2.5f, 3};
    EXPECT_EQ(out.str(), "(1, -2.5, 3)");
}

TEST(Vector3, NormalizeLeavesVectorsWithSquaredLengthBelowOneMillionthUnchanged)
{
    const struct {
        Vector3 v, expected;
    } rows[] = {
        {{0, 0.0005f, 0}, {0, 0.0005f, 0}},  // squared length 2.5e-7
        {{0, 0, 0}, {0, 0, 0}},
        {{0, 0.002f, 0}, {0, 1, 0}},  // 4e-6
        {{3, 0, -4}, {0.6f, 0, -0.8f}},
    };
    for (auto [v, expected] : rows) {
        SCOPED_TRACE(::testing::Message() << v);
        normalize(v);
        test::expectNear<3>({v.x, v.y, v.z}, {expected.x, expected.y, expected.z}, 1e-7f);
    }
}

}  // namespace
}  // namespace pw
