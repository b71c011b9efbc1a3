#include "footers/DoubledFooters.h"

#include "tracklib/Track.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pw {
namespace {

SceneryObject footer(const char* model, float x, float y, float z)
{
    return {"", model, {1, 0, 0, x, 0, 1, 0, y, 0, 0, 1, z, 0, 0, 0, 1}};
}

TEST(DoubledFooters, CountsNewFootersOfTheSameModelAtTheSamePoint)
{
    const std::vector<SceneryObject> objects{
        footer("d/fundament-small.3ds", 1, 0, 2), footer("d/fundament-large.3ds", 5, 0, 5),
        footer("d/fundament-small.3ds", std::nanf(""), 0, 0),
        // new from here
        footer("d/fundament-small.3ds", 1, 0, 2),     // doubled
        footer("d/fundament-default.3ds", 5, 0, 5),   // another model at the same point
        footer("d/fundament-large.3ds", 5, 0, 5.5f),  // the same model elsewhere
        footer("d/fundament-small.3ds", std::nanf(""), 0, 0),
        footer("d/fundament-large.3ds", 5, 0, 5),  // doubled
    };
    EXPECT_EQ(countDoubledFooters(objects, 3), 2);
    EXPECT_EQ(countDoubledFooters(objects, 0), 0);
    EXPECT_EQ(countDoubledFooters(objects, 99), 0);
}

}  // namespace
}  // namespace pw
