#include "footers/FooterModelChoice.h"

#include <gtest/gtest.h>

#include <climits>


namespace pw {
namespace {

TEST(SizeCodeTable, MapsCodesOutOfClassOrder)
{
    EXPECT_EQ(sizeClassOfCode(0), TubeSizeClass::Medium);
    EXPECT_EQ(sizeClassOfCode(1), TubeSizeClass::Large);
    EXPECT_EQ(sizeClassOfCode(2), TubeSizeClass::Small);
    EXPECT_EQ(sizeClassOfCode(5), TubeSizeClass::XLarge);
    EXPECT_EQ(sizeClassOfCode(6), TubeSizeClass::XXLarge);
}

TEST(SizeCodeTable, CodesWithoutFooterIncludingNegativeOnes)
{
    for (const std::int32_t code : {3, 4, 7, 100, INT_MAX, -1, -6, INT_MIN})
        EXPECT_FALSE(sizeClassOfCode(code).has_value()) << code;
}

TEST(FooterModelChoice, OwnModelWinsAndIgnoresTheScaleBox)
{
    const FooterModelChoice own = makeFooterModelChoice(TubeSizeClass::Small, true, true, 500);
    EXPECT_EQ(own, (FooterModelChoice{true, "small.3ds", 1.0f}));
    EXPECT_EQ(makeFooterModelChoice(TubeSizeClass::XXLarge, true, false, 10).modelFile,
              "xxlarge.3ds");
    EXPECT_STREQ(ownModelFile(TubeSizeClass::Medium), "medium.3ds");
    EXPECT_STREQ(ownModelFile(TubeSizeClass::Large), "large.3ds");
    EXPECT_STREQ(ownModelFile(TubeSizeClass::XLarge), "xlarge.3ds");
}

TEST(FooterModelChoice, DefaultModelScaleIsThePercentRoundedToFloat)
{
    const FooterModelChoice choice = makeFooterModelChoice(TubeSizeClass::Small, false, true, 80);
    EXPECT_TRUE(choice.enabled);
    EXPECT_EQ(choice.modelFile, "default.3ds");
    EXPECT_EQ(choice.scale, static_cast<float>(80 / 100.0));
    EXPECT_EQ(makeFooterModelChoice(TubeSizeClass::Small, false, true, 10).scale, 0.1f);
    EXPECT_EQ(makeFooterModelChoice(TubeSizeClass::Small, false, true, 1000).scale, 10.0f);
    EXPECT_EQ(makeFooterModelChoice(TubeSizeClass::Medium, false, true, 110).scale, 1.1f);
    EXPECT_EQ(makeFooterModelChoice(TubeSizeClass::XLarge, false, true, 280).scale, 2.8f);
    EXPECT_EQ(makeFooterModelChoice(TubeSizeClass::XXLarge, false, true, 330).scale, 3.3f);
}

TEST(FooterModelChoice, NeitherBoxMeansNotEnabled)
{
    EXPECT_EQ(makeFooterModelChoice(TubeSizeClass::Large, false, false, 200), FooterModelChoice{});
    EXPECT_EQ(FooterModelChoice{}.scale, 0.0f);
}

}  // namespace
}  // namespace pw
