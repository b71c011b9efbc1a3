#include "footers/FooterGeneration.h"
#include "footers/TubeEndPoints.h"
#include "tracklib/TrackFile.h"

#include "GenerationFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace pw {
namespace {

using testing::onConnector;
using testing::onFreeNode;
using testing::onFundament;
namespace fs = std::filesystem;
using Counts = std::array<int, sizeClassCount>;  // by TubeSizeClass: small, medium, large, ...

std::vector<float> fundamentXs(const Track& track)
{
    std::vector<float> xs;
    for (const Fundament& f : track.fundaments)
        xs.push_back(f.position.x);
    return xs;
}

class FooterGeneration : public testing::GenerationFixture {};

TEST_F(FooterGeneration, FooterFollowsTheObjectsAndLeavesTheSupportsWhenNotReplacing)
{
    const SceneryObject existing{"tree", "park/tree.3ds", {7}};
    addSceneryObject(existing, track);
    for (int i = 0; i < 3; ++i)
        build.fundament(-1, -1, -1);
    const int f = build.fundament(10, 0, 10, 0.5f);
    for (int i = 0; i < 5; ++i)
        build.freeNode(-1, -1, -1);
    build.tube(onFundament(f), onFreeNode(build.freeNode(8, 20, 6)), testing::smallCode);
    const Track before = track;

    const Result<GenerationReport> report = generateFooters(track, ownModelOptions(false, false));

    ASSERT_TRUE(report.ok()) << report.error();
    EXPECT_EQ(report->objectsAdded, (Counts{1, 0, 0, 0, 0}));
    EXPECT_EQ(report->freeNodesAdded, 0);
    EXPECT_EQ(report->fundamentsRemoved, 0);
    EXPECT_EQ(report->filesCopied(), 5);
    ASSERT_EQ(track.sceneryObjects.size(), 2u);
    EXPECT_EQ(track.sceneryObjects[0], existing);
    // No free node to name: textA stays empty.
    EXPECT_EQ(track.sceneryObjects[1],
              (SceneryObject{"", "mytrack/fundament-small.3ds",
                             footerPlacement({10, 0, 10}, {8, 20, 6}, 0.5f, 1, false).e}));
    EXPECT_EQ(track.fundaments, before.fundaments);
    EXPECT_EQ(track.freeNodes, before.freeNodes);
    EXPECT_EQ(track.tubes, before.tubes);
}

// Options made without a front end cannot lead the copies out of objects either, nor into
// objects itself; and nothing is made or changed for what is refused.
TEST_F(FooterGeneration, ObjectDirectoryNameThatIsNotOneDirectoryInsideObjectsIsRefused)
{
    build.tube(onFundament(build.fundament(0, 0, 0)), onFreeNode(build.freeNode(0, 5, 0)),
               testing::mediumCode);
    GenerationOptions o = ownModelOptions(false, true);
    const Track before = track;
    const struct {
        const char* name;
        ErrorCode code;
    } rows[] = {{"../../x", FooterError::ObjectDirectoryNotInside},
                {"..", FooterError::ObjectDirectoryNotInside},
                {"a/b", FooterError::ObjectDirectoryNotInside},
                {"a\\b", FooterError::ObjectDirectoryNotInside},
                {"", FooterError::ObjectDirectoryEmpty}};
    for (const auto& row : rows) {
        o.objectDirectory = ObjectDirectory{row.name};
        const Result<GenerationReport> refused = generateFooters(track, o);
        ASSERT_FALSE(refused.ok()) << row.name;
        EXPECT_EQ(refused.error().code, row.code) << row.name;
    }
    EXPECT_EQ(track, before);
    EXPECT_FALSE(fs::exists(scratch.simulator() / "objects"));
    EXPECT_FALSE(fs::exists(scratch.path() / "x"));
}

TEST_F(FooterGeneration, OtherEndOfEveryKind)
{
    // Free node: footer below it.
    build.tube(onFundament(build.fundament(0, 0, 0)), onFreeNode(build.freeNode(10, 10, 0)),
               testing::smallCode);
    // Two fundaments: the footer stands on end B and leans towards end A.
    const int upper = build.fundament(10, 10, 20);
    build.tube(onFundament(upper), onFundament(build.fundament(0, 0, 20)), testing::smallCode);
    // Rail connectors, placed by arc length along a straight 30 long segment at height 20.
    const int segment = build.straightSegment({0, 20, 0}, {30, 20, 0});
    const int half = build.connector(segment, 0.5f);
    const int quarter = build.connector(segment, 0.25f);
    build.tube(onFundament(build.fundament(15, 0, 20)), onConnector(segment, half),
               testing::largeCode);
    build.tube(onConnector(segment, quarter), onFundament(build.fundament(7.5f, 0, 20)),
               testing::largeCode);
    // An end of no known kind, right after tubes that had a point: the footer stands upright.
    build.tube(onFundament(build.fundament(3, 0, 3)), {9, 0, 0}, testing::xxLargeCode);

    const Result<GenerationReport> report = generateFooters(track, ownModelOptions(false, true));

    ASSERT_TRUE(report.ok()) << report.error();
    EXPECT_EQ(report->objectsAdded, (Counts{2, 0, 2, 0, 1}));
    ASSERT_EQ(track.sceneryObjects.size(), 5u);
    const float h = std::sqrt(0.5f);
    const struct {
        Vector3 down, at;
        float tolerance;  // the connector points lie within 0.02 before 15 and 7.5
    } expected[] = {{{-h, -h, 0}, {0, 0, 0}, 1e-6f},
                    {{-h, -h, 0}, {0, 0, 20}, 1e-6f},
                    {{0, -h, h}, {15, 0, 20}, 1e-3f},
                    {{0, -h, h}, {7.5f, 0, 20}, 1e-3f}};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const std::array<float, 16>& m = track.sceneryObjects[i].matrix;
        EXPECT_NEAR(-m[1], expected[i].down.x, expected[i].tolerance);
        EXPECT_NEAR(-m[5], expected[i].down.y, expected[i].tolerance);
        EXPECT_NEAR(-m[9], expected[i].down.z, expected[i].tolerance);
        EXPECT_EQ((Vector3{m[3], m[7], m[11]}), expected[i].at);
    }
    EXPECT_EQ(track.sceneryObjects[4].matrix,
              (std::array<float, 16>{1, 0, 0, 3, 0, 1, 0, 0, 0, 0, 1, 3, 0, 0, 0, 1}));
}

TEST_F(FooterGeneration, TubeEndsWorkedOutBeforehandPlaceTheSame)
{
    // Every kind of other end, and a dangling free node that must stay dangling.
    const int segment = build.straightSegment({0, 20, 0}, {30, 20, 0});
    build.tube(onFundament(build.fundament(15, 0, 20)),
               onConnector(segment, build.connector(segment, 0.5f)), testing::largeCode);
    build.tube(onFundament(build.fundament(0, 0, 0)), onFreeNode(build.freeNode(10, 10, 0)),
               testing::smallCode);
    build.tube(onFundament(build.fundament(10, 10, 20)), onFundament(build.fundament(0, 0, 20)),
               testing::smallCode);
    build.tube(onFundament(build.fundament(5, 0, 5)), onFreeNode(7), testing::smallCode);
    Track walked = track;
    GenerationReport walkedReport;
    placeFooters(walked, ownModelOptions(true, true), walkedReport);

    const TubeEndTable ends(track);
    GenerationReport tabledReport;
    placeFooters(track, ownModelOptions(true, true), tabledReport, &ends);
    EXPECT_EQ(track, walked);
    EXPECT_EQ(tabledReport.objectsAdded, walkedReport.objectsAdded);
    EXPECT_EQ(track.sceneryObjects.size(), 3u);
}

TEST_F(FooterGeneration, QueuedFundamentsAreRemovedAndTheRestRenumbered)
{
    for (const auto& [first, second] : {std::pair{2, 5}, std::pair{5, 2}}) {
        SCOPED_TRACE(first);
        testing::SupportTrackBuilder build;
        for (int i = 0; i < 7; ++i)
            build.fundament(static_cast<float>(i), 0, 0);
        const int node = build.freeNode(0, 10, 0);
        const int keptFirst = build.tube(onFundament(0), onFreeNode(node), testing::noFooterCode);
        build.tube(onFundament(first), onFreeNode(node), testing::smallCode);
        build.tube(onFreeNode(node), onFundament(second), testing::mediumCode);
        const int keptLast = build.tube(onFreeNode(node), onFundament(6), testing::noFooterCode);
        Track& track = build.track();

        const Result<GenerationReport> report =
            generateFooters(track, ownModelOptions(true, false));

        ASSERT_TRUE(report.ok()) << report.error();
        EXPECT_EQ(fundamentXs(track), (std::vector<float>{0, 1, 3, 4, 6}));
        EXPECT_EQ(track.tubes[keptFirst].endA, onFundament(0));
        EXPECT_EQ(track.tubes[keptLast].endB, onFundament(4));
        EXPECT_EQ(track.fundamentLength, 40 + 5 * fundamentEncodedSize);
        EXPECT_EQ(report->fundamentsRemoved, 2);
        EXPECT_EQ(report->freeNodesAdded, 2);
        // Every chunk length follows the changes.
        Track reread;
        readTrackBytes(encodeTrack(track), reread);
        EXPECT_EQ(reread, track);
    }
}

TEST_F(FooterGeneration, ReplacingGivesEachFooterItsOwnFreeNodeAndRemovesItsFundamentOnce)
{
    const int a = build.fundament(0, 0, 0);
    const int b = build.fundament(1, 0, 0);
    const int f = build.fundament(4, 0, 4);
    build.freeNode(9, 9, 9);
    // Both ends on fundaments: the footer stands on B, and only B goes to its free node.
    build.tube({TubeEndFundament, 7, a}, {TubeEndFundament, 8, b}, testing::smallCode);
    build.tube(onFundament(f), onFreeNode(build.freeNode(0, 10, 0)), testing::smallCode);
    build.tube(onFreeNode(build.freeNode(8, 10, 8)), onFundament(f), testing::mediumCode);

    const Result<GenerationReport> report = generateFooters(track, ownModelOptions(true, true));

    ASSERT_TRUE(report.ok()) << report.error();
    EXPECT_EQ(report->objectsAdded, (Counts{2, 1, 0, 0, 0}));
    EXPECT_EQ(report->freeNodesAdded, 3);
    EXPECT_EQ(report->fundamentsRemoved, 2);
    ASSERT_EQ(track.sceneryObjects.size(), 3u);
    EXPECT_EQ(track.sceneryObjects[0].textA, "fundament3");
    EXPECT_EQ(track.sceneryObjects[1].textA, "fundament4");
    EXPECT_EQ(track.sceneryObjects[2].textA, "fundament5");
    ASSERT_EQ(track.freeNodes.size(), 6u);
    EXPECT_EQ(track.freeNodes[3].position, (Float3{1, 0, 0}));
    EXPECT_EQ(track.freeNodes[4].position, (Float3{4, 0, 4}));
    EXPECT_EQ(track.freeNodes[5].position, (Float3{4, 0, 4}));
    EXPECT_EQ(track.tubes[0].endA, (TubeEnd{TubeEndFundament, 7, a}));
    EXPECT_EQ(track.tubes[0].endB, (TubeEnd{TubeEndFreeNode, 8, 3}));
    EXPECT_EQ(track.tubes[1].endA, onFreeNode(4));
    EXPECT_EQ(track.tubes[2].endB, onFreeNode(5));
    // Only the footers' own fundaments go; A still carries its tube.
    EXPECT_EQ(fundamentXs(track), std::vector<float>{0});
}

TEST_F(FooterGeneration, TubeBetweenTwoFundamentsKeepsItsOtherEndUntilASecondRun)
{
    const int a = build.fundament(0, 0, 0);
    const int b = build.fundament(1, 0, 0);
    build.tube(onFundament(a), onFundament(b), testing::smallCode);
    build.tube(onFundament(a), onFreeNode(build.freeNode(0, 10, 0)), testing::smallCode);

    // The first tube's footer takes B; A, queued by the second tube, still carries the first.
    const Result<GenerationReport> first = generateFooters(track, ownModelOptions(true, true));
    ASSERT_TRUE(first.ok()) << first.error();
    EXPECT_EQ(first->fundamentsRemoved, 1);
    EXPECT_EQ(fundamentXs(track), std::vector<float>{0});
    EXPECT_EQ(track.tubes[0].endA, onFundament(0));
    EXPECT_EQ(track.tubes[0].endB, onFreeNode(1));
    EXPECT_EQ(track.tubes[1].endA, onFreeNode(2));

    // A second run gives A its footer; the tube now joins two distinct nodes.
    const Result<GenerationReport> second = generateFooters(track, ownModelOptions(true, true));
    ASSERT_TRUE(second.ok()) << second.error();
    EXPECT_EQ(second->objectsAddedTotal(), 1);
    EXPECT_TRUE(track.fundaments.empty());
    EXPECT_EQ(track.tubes[0].endA, onFreeNode(3));
    EXPECT_EQ(track.tubes[0].endB, onFreeNode(1));
}

TEST_F(FooterGeneration, FundamentStaysWhilePassedOverTubesStandOnIt)
{
    const int alone = build.fundament(0, 0, 0);
    const int shared = build.fundament(1, 0, 0);
    const int node = build.freeNode(0, 10, 0);
    build.tube(onFundament(shared), onFreeNode(node), testing::smallCode);
    const int passedOver = build.tube(onFundament(shared), onFreeNode(node), testing::mediumCode);
    build.tube(onFundament(alone), onFreeNode(node), testing::smallCode);
    GenerationOptions o = ownModelOptions(true, true);
    o.choices[static_cast<std::size_t>(TubeSizeClass::Medium)] = {};

    const Result<GenerationReport> report = generateFooters(track, o);

    ASSERT_TRUE(report.ok()) << report.error();
    EXPECT_EQ(report->objectsAddedTotal(), 2);
    EXPECT_EQ(report->fundamentsRemoved, 1);
    EXPECT_EQ(fundamentXs(track), std::vector<float>{1});
    EXPECT_EQ(track.tubes[passedOver].endA, onFundament(0));
}

TEST_F(FooterGeneration, FreeNodesAddedDuringTheRunDoNotMendADanglingEnd)
{
    for (const bool danglingFirst : {false, true}) {
        SCOPED_TRACE(danglingFirst);
        testing::SupportTrackBuilder build;
        const int a = build.fundament(0, 0, 0);
        const int b = build.fundament(50, 0, 0);
        const int node = build.freeNode(0, 10, 0);
        // Free node 1 does not exist until the other tube's footer adds it.
        const TubeEnd dangling = onFreeNode(node + 1);
        if (danglingFirst)
            build.tube(onFundament(b), dangling, testing::smallCode);
        build.tube(onFundament(a), onFreeNode(node), testing::smallCode);
        if (!danglingFirst)
            build.tube(onFundament(b), dangling, testing::smallCode);
        Track& track = build.track();

        const Result<GenerationReport> report = generateFooters(track, ownModelOptions(true, true));

        ASSERT_TRUE(report.ok()) << report.error();
        EXPECT_EQ(report->objectsAddedTotal(), 1);
        EXPECT_EQ(fundamentXs(track), std::vector<float>{50});
        const Tube& passedOver = track.tubes[danglingFirst ? 0 : 1];
        EXPECT_EQ(passedOver.endA, onFundament(0));
        EXPECT_EQ(passedOver.endB, dangling);
    }
}

TEST_F(FooterGeneration, TubesWithoutFooterOrWithDamagedReferencesChangeNothing)
{
    const int segment = build.straightSegment({0, 20, 0}, {30, 20, 0});
    build.connector(segment, 0.5f);
    // A connector group whose segment has lost its end vertex.
    const int cut = build.straightSegment({30, 20, 0}, {60, 20, 0});
    build.connector(cut, 0.5f);
    removeVertex(cut + 1, track);
    const int f = build.fundament(0, 0, 0);
    const int node = build.freeNode(0, 10, 0);
    // No class, a disabled class (medium), no fundament end.
    for (const std::int32_t code : {3, 4, 7, -1, testing::mediumCode})
        build.tube(onFundament(f), onFreeNode(node), code);
    build.tube(onFreeNode(node), onFreeNode(node), testing::smallCode);
    build.tube(onFreeNode(node), onConnector(segment, 0), testing::smallCode);
    // Ends naming what the track lacks, each read only after its index is checked.
    const std::pair<TubeEnd, TubeEnd> damaged[] = {
        {onFundament(1), onFreeNode(node)},        {onFundament(-1), onFreeNode(node)},
        {onFundament(f), onFreeNode(1)},           {onFundament(f), onFreeNode(-3)},
        {onFundament(f), onFundament(1)},          {onFundament(1), onFundament(f)},
        {onFundament(f), onConnector(segment, 1)}, {onFundament(f), onConnector(segment, -1)},
        {onFundament(f), onConnector(3, 0)},       {onFundament(f), onConnector(-1, 0)},
        {onFundament(f), onConnector(cut, 0)},
    };
    for (const auto& [a, b] : damaged)
        build.tube(a, b, testing::smallCode);
    GenerationOptions o = ownModelOptions(true, true);
    o.choices[static_cast<std::size_t>(TubeSizeClass::Medium)] = {};
    const Track before = track;

    // The walk places nothing on such a track, and generate, asking ahead, refuses it.
    Track walked = track;
    GenerationReport walkedReport;
    placeFooters(walked, o, walkedReport);
    EXPECT_EQ(walkedReport.objectsAddedTotal(), 0);
    EXPECT_EQ(walked, before);
    const Result<GenerationReport> report = generateFooters(track, o);
    ASSERT_FALSE(report.ok());
    EXPECT_EQ(report.error().code, FooterError::NothingToPlace);
    EXPECT_EQ(track, before);
    EXPECT_FALSE(fs::exists(scratch.simulator() / "objects"));

    // One tube more that does get a footer: the whole track is walked as before.
    build.tube(onFundament(f), onFreeNode(node), testing::smallCode);
    const Result<GenerationReport> placed = generateFooters(track, o);
    ASSERT_TRUE(placed.ok()) << placed.error();
    EXPECT_EQ(placed->objectsAddedTotal(), 1);
    // The enabled classes' models are installed even without a tube of their own.
    EXPECT_EQ(placed->filesCopied(), 4);
}

}  // namespace
}  // namespace pw
