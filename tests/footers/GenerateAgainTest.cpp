// Generating on a track that holds footers placed before, and with choices for single supports.
#include "footers/FooterGeneration.h"
#include "footers/PlacedFooters.h"
#include "tracklib/TrackFile.h"

#include "GenerationFixture.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

using testing::onFreeNode;
using testing::onFundament;
namespace fs = std::filesystem;
using Counts = std::array<int, sizeClassCount>;

class GenerateAgain : public testing::GenerationFixture {
protected:
    GenerationOptions options(bool replaceFundaments, EarlierFooters earlier) const
    {
        GenerationOptions o = ownModelOptions(replaceFundaments, true);
        o.earlierFooters = earlier;
        return o;
    }

    // Fundaments 0 to 3 carry a small, a medium, a large tube and one of no class.
    void buildSupports()
    {
        const std::int32_t codes[] = {testing::smallCode, testing::mediumCode, testing::largeCode,
                                      testing::noFooterCode};
        for (int i = 0; i < 4; ++i)
            build.tube(onFundament(build.fundament(10.0f * i, 0, 0)),
                       onFreeNode(build.freeNode(10.0f * i + 2, 8, 1)), codes[i]);
    }

    std::vector<SceneryObject> footersOf(const Track& t) const
    {
        std::vector<SceneryObject> footers;
        for (const std::size_t i : placedFooters(t))
            footers.push_back(t.sceneryObjects[i]);
        return footers;
    }
};

// The user's own scenery around the footers, one of it named like a footer but in two directories,
// and one standing on a fundament.
TEST_F(GenerateAgain, ReplacingTakesOnlyTheEarlierFootersAndLeavesTheUsersSceneryAsItWas)
{
    buildSupports();
    const SceneryObject bench{"bench", "park/bench-\xE9t\xE9.3ds", {1, 2, 3, 4}};
    const SceneryObject lookalike{"", "park/x/fundament-small.3ds", {1, 0, 0, 0}};
    const SceneryObject rock{"rock", "rocks/fundament.3ds", {1, 0, 0, 10, 0, 1, 0, 0}};
    addSceneryObject(bench, track);
    ASSERT_TRUE(generateFooters(track, options(false, EarlierFooters::Add)).ok());
    addSceneryObject(lookalike, track);
    addSceneryObject(rock, track);
    const std::vector<SceneryObject> first = footersOf(track);
    ASSERT_EQ(first.size(), 3u);
    // As if built with the user's scenery first and the footers after it: the same lengths.
    Track expected = track;
    expected.sceneryObjects = {bench, lookalike, rock};
    expected.sceneryObjects.insert(expected.sceneryObjects.end(), first.begin(), first.end());

    const Result<GenerationReport> again =
        generateFooters(track, options(false, EarlierFooters::Replace));

    ASSERT_TRUE(again.ok()) << again.error();
    EXPECT_EQ(again->earlierFootersRemoved, 3);
    EXPECT_EQ(again->earlierFootersKept, 0);
    EXPECT_EQ(again->objectsAddedTotal(), 3);
    // Every length, and every byte of the user's objects, as they were.
    EXPECT_EQ(track, expected);
    EXPECT_EQ(encodeTrack(track), encodeTrack(expected));
}

TEST_F(GenerateAgain, AddingPlacesEachFooterASecondTime)
{
    buildSupports();
    ASSERT_TRUE(generateFooters(track, options(false, EarlierFooters::Add)).ok());
    const Result<GenerationReport> again =
        generateFooters(track, options(false, EarlierFooters::Add));
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again->earlierFootersKept, 3);
    EXPECT_EQ(again->earlierFootersRemoved, 0);
    EXPECT_EQ(countDoubledFooters(track.sceneryObjects, 3), 3);
}

// The first generate replaced the fundaments: the footers stand on free nodes now, and nothing
// could take their places again, also where a fundament stays for a tube of no class.
TEST_F(GenerateAgain, ReplacingFootersWhoseFundamentsAreGoneIsRefused)
{
    buildSupports();
    build.tube(onFundament(0), onFreeNode(build.freeNode(1, 5, 1)), testing::noFooterCode);
    ASSERT_TRUE(generateFooters(track, options(true, EarlierFooters::Add)).ok());
    const Track before = track;

    for (const EarlierFooters earlier : {EarlierFooters::Replace, EarlierFooters::Add}) {
        const Result<GenerationReport> refused = generateFooters(track, options(true, earlier));
        ASSERT_FALSE(refused.ok());
        EXPECT_EQ(refused.error().code, earlier == EarlierFooters::Replace
                                            ? ErrorCode(FooterError::EarlierFootersNotOnFundaments)
                                            : ErrorCode(FooterError::NothingToPlace));
        EXPECT_EQ(track, before);
    }
    EXPECT_EQ(errorText(generateFooters(track, options(true, EarlierFooters::Replace)).error()),
              "nothing to place: the 3 footers placed before stand where their fundaments were "
              "replaced by free nodes, so no footer can be placed there again, and no other "
              "support tube of a size class with a footer model stands on a fundament; they stay "
              "as they are (to place them anew, generate from the track as it was before)");
}

// Small was generated with its fundament replaced (which stays for a tube of no class), medium and
// large beside their fundaments.
TEST_F(GenerateAgain, ReplacingKeepsFootersThatCannotBePlacedAgain)
{
    buildSupports();
    build.tube(onFundament(0), onFreeNode(build.freeNode(1, 5, 1)), testing::noFooterCode);
    GenerationOptions smallOnly = options(true, EarlierFooters::Add);
    for (std::size_t c = 1; c < smallOnly.choices.size(); ++c)
        smallOnly.choices[c] = {};
    ASSERT_TRUE(generateFooters(track, smallOnly).ok());
    ASSERT_TRUE(generateFooters(track, options(false, EarlierFooters::Add)).ok());
    ASSERT_EQ(placedFooters(track).size(), 3u);
    const SceneryObject onFreeNode = track.sceneryObjects[0];

    const Result<GenerationReport> again =
        generateFooters(track, options(false, EarlierFooters::Replace));

    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again->earlierFootersRemoved, 2);
    EXPECT_EQ(again->earlierFootersKept, 1);
    EXPECT_EQ(again->objectsAdded, (Counts{0, 1, 1, 0, 0}));
    ASSERT_EQ(track.sceneryObjects.size(), 3u);
    EXPECT_EQ(track.sceneryObjects[0], onFreeNode);
}

TEST(SupportChoices, RenumberedAfterFundamentsAreRemoved)
{
    SupportChoices choices;
    choices.set(0, SupportChoice::noFooter());
    choices.set(2, SupportChoice::modelOf(TubeSizeClass::Large));
    choices.set(5, SupportChoice::modelOf(TubeSizeClass::Small));
    choices.set(7, SupportChoice::noFooter());
    SupportChoices expected;
    expected.set(0, SupportChoice::noFooter());
    expected.set(3, SupportChoice::modelOf(TubeSizeClass::Small));
    expected.set(5, SupportChoice::noFooter());
    EXPECT_EQ(choices.afterFundamentsRemoved({2, 4}), expected);
    EXPECT_EQ(choices.afterFundamentsRemoved({}), choices);
}

TEST_F(GenerateAgain, ChoicesForSingleSupportsAreHonouredByGenerateAndPreview)
{
    buildSupports();
    GenerationOptions o = options(false, EarlierFooters::Add);
    o.supports.set(0, SupportChoice::noFooter());
    o.supports.set(1, SupportChoice::modelOf(TubeSizeClass::Large));
    o.supports.set(2, SupportChoice::modelOf(TubeSizeClass::Large));  // its own class
    o.supports.set(3, SupportChoice::modelOf(TubeSizeClass::Large));  // a tube of no class
    o.choices[static_cast<std::size_t>(TubeSizeClass::Medium)] = {};
    const std::vector<SceneryObject> preview = footersGenerateWouldAdd(track, o);
    EXPECT_EQ(footerSupports(track, o), (std::vector<std::int32_t>{1, 2}));

    const Result<GenerationReport> report = generateFooters(track, o);

    ASSERT_TRUE(report.ok()) << report.error();
    EXPECT_EQ(report->objectsAdded, (Counts{0, 0, 2, 0, 0}));
    EXPECT_EQ(report->footersOfChosenModel, 1);
    EXPECT_EQ(report->footersLeftOut, 1);
    ASSERT_EQ(track.sceneryObjects.size(), 2u);
    EXPECT_EQ(track.sceneryObjects, preview);
    for (const SceneryObject& footer : track.sceneryObjects)
        EXPECT_EQ(footer.textB, "mytrack/fundament-large.3ds");
    EXPECT_EQ(track.sceneryObjects[0].matrix[3], 10.0f);  // on fundament 1
    EXPECT_EQ(track.sceneryObjects[1].matrix[3], 20.0f);
}

TEST_F(GenerateAgain, ChoicesGenerateCannotHonourAreRefusedAndChangeNothing)
{
    buildSupports();
    const Track before = track;
    const auto refused = [&](SupportChoices supports, std::size_t withoutModel = sizeClassCount) {
        GenerationOptions o = options(false, EarlierFooters::Add);
        if (withoutModel < sizeClassCount)
            o.choices[withoutModel] = {};
        o.supports = std::move(supports);
        const Result<GenerationReport> report = generateFooters(track, o);
        EXPECT_FALSE(report.ok());
        return report.ok() ? std::string() : errorText(report.error());
    };
    SupportChoices unknown;
    unknown.set(4, SupportChoice::noFooter());
    EXPECT_EQ(refused(unknown),
              "there is no support 4: the track has 4 fundaments, numbered 0 to 3");
    unknown.set(-1, SupportChoice::noFooter());
    EXPECT_EQ(refused(unknown),
              "there is no support -1: the track has 4 fundaments, numbered 0 to 3");
    SupportChoices noModel;
    noModel.set(1, SupportChoice::modelOf(TubeSizeClass::XLarge));
    EXPECT_EQ(refused(noModel, static_cast<std::size_t>(TubeSizeClass::XLarge)),
              "support 1 is to get the x-large footer model, and no x-large footer model is "
              "chosen");
    // Every support left out: nothing placed, nothing copied, not even a directory made.
    SupportChoices none;
    for (std::int32_t f = 0; f < 4; ++f)
        none.set(f, SupportChoice::noFooter());
    EXPECT_EQ(refused(none), errorText(CoreError{FooterError::NothingToPlace}));
    EXPECT_EQ(track, before);
    EXPECT_FALSE(fs::exists(scratch.simulator() / "objects"));
}

}  // namespace
}  // namespace pw
