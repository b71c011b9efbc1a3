#include "footers/PlacedFooters.h"

#include "FooterTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pw {
namespace {

SceneryObject at(const char* model, float x, float y, float z)
{
    return {"", model, {1, 0, 0, x, 0, 1, 0, y, 0, 0, 1, z, 0, 0, 0, 1}};
}

TEST(PlacedFooters, NamesOneDirectoryAndAFundamentModel)
{
    const struct {
        const char* path;
        bool placed;
    } rows[] = {{"mytrack/fundament-small.3ds", true},
                {"demo/fundament-default.3DS", true},
                {"/fundament-large.3ds", true},  // an empty object directory name, once allowed
                {"x/fundament-.3ds", true},
                {"fundament-small.3ds", false},
                {"a/b/fundament-small.3ds", false},
                {"a\\b/fundament-small.3ds", false},
                {"mytrack/fundament-small.3ds.bak", false},
                {"mytrack/fundament-small.obj", false},
                {"mytrack/footer-small.3ds", false},
                {"mytrack/my-fundament-small.3ds", false},
                {"mytrack/fundament-a\\b.3ds", false},
                {"", false}};
    for (const auto& row : rows)
        EXPECT_EQ(isPlacedFooter(at(row.path, 0, 0, 0)), row.placed) << row.path;
}

TEST(PlacedFooters, ReplaceableAreThoseStandingExactlyOnAFundament)
{
    testing::SupportTrackBuilder build;
    build.fundament(1, 0, 2);
    build.fundament(5, 1, 5);
    build.freeNode(0, 0, 0);
    build.freeNode(5, 1, 5);  // made for a footer when its fundament was replaced
    Track& track = build.track();
    SceneryObject onItsNode = at("d/fundament-small.3ds", 5, 1, 5);
    onItsNode.textA = "fundament1";
    SceneryObject namingAnother = onItsNode;
    namingAnother.textA = "fundament0";
    for (const SceneryObject& o :
         {at("d/fundament-small.3ds", 1, 0, 2),              // 0: on fundament 0
          at("trees/oak.3ds", 5, 1, 5),                      // 1: not a footer
          at("d/fundament-large.3ds", 5, 1, 5.0001f),        // 2: beside fundament 1
          at("d/fundament-large.3ds", 5, 1, 5),              // 3: on fundament 1
          at("d/fundament-small.3ds", std::nanf(""), 0, 2),  // 4: nowhere
          at("e/fundament-default.3ds", 1, 0, 2),            // 5: on fundament 0, another directory
          onItsNode,                                         // 6: its fundament replaced
          namingAnother})                                    // 7: on fundament 1
        addSceneryObject(o, track);

    EXPECT_EQ(placedFooters(track), (std::vector<std::size_t>{0, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(replaceableFooters(track), (std::vector<std::size_t>{0, 3, 5, 7}));
    const std::optional<std::int32_t> supports[] = {
        0, std::nullopt, std::nullopt, 1, std::nullopt, 0, std::nullopt, 1};
    for (std::size_t i = 0; i < std::size(supports); ++i)
        EXPECT_EQ(supportOfFooter(track, i), supports[i]) << i;
    EXPECT_EQ(supportOfFooter(track, 8), std::nullopt);
}

TEST(PlacedFooters, DoubledAreNewFootersOfTheSameModelAtTheSamePoint)
{
    const std::vector<SceneryObject> objects{
        at("d/fundament-small.3ds", 1, 0, 2), at("d/fundament-large.3ds", 5, 0, 5),
        at("d/fundament-small.3ds", std::nanf(""), 0, 0), at("trees/oak.3ds", 7, 0, 7),
        // new from here
        at("d/fundament-small.3ds", 1, 0, 2),     // doubled
        at("d/fundament-default.3ds", 5, 0, 5),   // another model at the same point
        at("d/fundament-large.3ds", 5, 0, 5.5f),  // the same model elsewhere
        at("d/fundament-small.3ds", std::nanf(""), 0, 0),
        at("trees/oak.3ds", 7, 0, 7),          // the user's own, not a footer
        at("d/fundament-large.3ds", 5, 0, 5),  // doubled
    };
    EXPECT_EQ(countDoubledFooters(objects, 4), 2);
    EXPECT_EQ(countDoubledFooters(objects, 0), 0);
    EXPECT_EQ(countDoubledFooters(objects, 99), 0);
}

}  // namespace
}  // namespace pw
