#include "footers/FooterModelChoice.h"

#include <gtest/gtest.h>

#include <climits>

namespace pw {
namespace {

using Model = FooterChoice::Model;

TEST(FooterModelChoice, EachClassWithItsCodeOwnModelAndDefaultScale)
{
    struct Row {
        TubeSizeClass sizeClass;
        std::int32_t code;  // out of class order
        const char* ownFile;
        int percent;
        float scale;
    };
    const Row rows[] = {
        {TubeSizeClass::Small, 2, "small.3ds", 80, 0.8f},
        {TubeSizeClass::Medium, 0, "medium.3ds", 110, 1.1f},
        {TubeSizeClass::Large, 1, "large.3ds", 200, 2.0f},
        {TubeSizeClass::XLarge, 5, "xlarge.3ds", 280, 2.8f},
        {TubeSizeClass::XXLarge, 6, "xxlarge.3ds", 330, 3.3f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.ownFile);
        EXPECT_EQ(sizeClassOfCode(row.code), row.sizeClass);
        EXPECT_EQ(defaultScalePercent(row.sizeClass), row.percent);
        // The own model keeps its natural size whatever the percentage.
        EXPECT_EQ(footerModelChoice(row.sizeClass, {Model::Own, 500}),
                  (FooterModelChoice{true, row.ownFile, 1.0f}));
        EXPECT_EQ(footerModelChoice(row.sizeClass, {Model::Default, row.percent}),
                  (FooterModelChoice{true, "default.3ds", row.scale}));
        EXPECT_EQ(footerModelChoice(row.sizeClass, {Model::None, row.percent}),
                  FooterModelChoice{});
    }
    EXPECT_EQ(footerModelChoice(TubeSizeClass::Small, {Model::Default, 10}).scale, 0.1f);
    EXPECT_EQ(footerModelChoice(TubeSizeClass::Small, {Model::Default, 1000}).scale, 10.0f);
}

TEST(FooterModelChoice, CodesWithoutFooterIncludingNegativeOnes)
{
    for (const std::int32_t code : {3, 4, 7, 100, INT_MAX, -1, -6, INT_MIN})
        EXPECT_FALSE(sizeClassOfCode(code).has_value()) << code;
}

}  // namespace
}  // namespace pw
