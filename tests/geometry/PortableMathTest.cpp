#include "geometry/PortableMath.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

// At these arguments glibc's float functions come out one bit off the rounded exact value while
// MinGW's do not; footers placed with either would differ between Linux and Windows.
TEST(PortableMath, GivesTheSameBitsOnEveryPlatform)
{
    EXPECT_EQ(portableSin(0x1.851eb8p-4f), 0x1.8488f2p-4f);
    EXPECT_EQ(portableCos(0x1.a45a1cp-1f), 0x1.5cec38p-1f);
    EXPECT_EQ(portableAcos(0x1.355476p-9f), 0x1.91850ap+0f);
    EXPECT_EQ(portableAtan(0x1.5e354p-3f), 0x1.5ada6cp-3f);
}

}  // namespace
}  // namespace pw
