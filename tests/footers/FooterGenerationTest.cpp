#include "footers/FooterGeneration.h"
#include "tracklib/TrackFile.h"

#include "ScratchDirectory.h"
#include "SupportTrackBuilder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pw {
namespace {

using testing::onConnector;
using testing::onFreeNode;
using testing::onFundament;
using testing::ScratchDirectory;
using testing::SupportTrackBuilder;
namespace fs = std::filesystem;

constexpr double degreesPerRadian = 180.0 / 3.14159265358979323846;
constexpr std::size_t small = static_cast<std::size_t>(TubeSizeClass::Small);
constexpr std::size_t medium = static_cast<std::size_t>(TubeSizeClass::Medium);

Vector3 translation(const SceneryObject& object)
{
    return {object.matrix[3], object.matrix[7], object.matrix[11]};
}

// Where the object's placement sends the model's local down axis (unit scale).
Vector3 downAxis(const SceneryObject& object)
{
    return {-object.matrix[1], -object.matrix[5], -object.matrix[9]};
}

void expectNear(Vector3 actual, Vector3 expected, float tolerance)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

std::vector<float> fundamentXs(const Track& track)
{
    std::vector<float> xs;
    for (const Fundament& f : track.fundaments)
        xs.push_back(f.position.x);
    return xs;
}

class FooterGeneration : public ::testing::Test {
protected:
    void SetUp() override
    {
        models = scratch.path() / "models";
        simulator = scratch.path() / "NoLimits";
        fs::create_directory(models);
        fs::create_directory(simulator);
        for (const char* file :
             {"small.3ds", "medium.3ds", "large.3ds", "xlarge.3ds", "xxlarge.3ds", "default.3ds"})
            testing::writeFile(models / file, file);
    }

    // Every class on its own model.
    GenerationOptions options(bool replace, bool align) const
    {
        GenerationOptions o;
        for (const TubeSizeClass c : allSizeClasses)
            o.choices[static_cast<std::size_t>(c)] = makeFooterModelChoice(c, true, false, 100);
        o.objectDirectoryText = "mytrack";
        o.objectDirectoryName = "mytrack";
        o.modelSourceDirectory = models;
        o.nolimitsDirectory = simulator;
        o.replaceFundaments = replace;
        o.alignToTangent = align;
        return o;
    }

    ScratchDirectory scratch;
    fs::path models;
    fs::path simulator;
    SupportTrackBuilder build;
    Track& track = build.track();
};

TEST_F(FooterGeneration, TubeOnAFundamentGetsItsClassModelTurnedTowardsTheOtherEnd)
{
    for (int i = 0; i < 3; ++i)
        build.fundament(-1, -1, -1);
    const int f = build.fundament(10, 0, 10);
    for (int i = 0; i < 5; ++i)
        build.freeNode(-1, -1, -1);
    const int node = build.freeNode(8, 20, 6);
    build.tube(onFundament(f), onFreeNode(node), testing::smallCode);
    const Track before = track;

    const GenerationReport report = generateFooters(track, options(false, false));

    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.objectsAdded[small], 1);
    EXPECT_EQ(report.objectsAddedTotal(), 1);
    EXPECT_EQ(report.freeNodesAdded, 0);
    EXPECT_EQ(report.fundamentsRemoved, 0);
    EXPECT_EQ(report.filesCopied, 5);
    ASSERT_EQ(track.sceneryObjects.size(), 1u);
    const SceneryObject& object = track.sceneryObjects[0];
    EXPECT_EQ(object.textA, "");
    EXPECT_EQ(object.textB, "mytrack/fundament-small.3ds");
    EXPECT_EQ(object.matrix, footerPlacement({10, 0, 10}, {8, 20, 6}, 0, 1, false).e);
    EXPECT_NEAR(std::atan2(object.matrix[2], object.matrix[0]) * degreesPerRadian, 26.565052, 2e-5);
    // Without replacing, the supports are left as they were.
    EXPECT_EQ(track.fundaments, before.fundaments);
    EXPECT_EQ(track.freeNodes, before.freeNodes);
    EXPECT_EQ(track.tubes, before.tubes);
}

TEST_F(FooterGeneration, EmptyObjectDirectoryNameStartsThePathWithASlash)
{
    build.tube(onFundament(build.fundament(0, 0, 0)), onFreeNode(build.freeNode(0, 5, 0)),
               testing::mediumCode);
    GenerationOptions o = options(false, true);
    o.objectDirectoryText = "";
    o.objectDirectoryName = "";

    ASSERT_TRUE(generateFooters(track, o).ok);
    EXPECT_EQ(track.sceneryObjects.at(0).textB, "/fundament-medium.3ds");
}

TEST_F(FooterGeneration, OtherEndOfEveryKind)
{
    const float h = std::sqrt(0.5f);
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

    const GenerationReport report = generateFooters(track, options(false, true));

    ASSERT_TRUE(report.ok) << report.error;
    ASSERT_EQ(track.sceneryObjects.size(), 5u);
    const auto& objects = track.sceneryObjects;
    expectNear(downAxis(objects[0]), {-h, -h, 0}, 1e-6f);
    expectNear(translation(objects[0]), {0, 0, 0}, 0);
    expectNear(downAxis(objects[1]), {-h, -h, 0}, 1e-6f);
    expectNear(translation(objects[1]), {0, 0, 20}, 0);
    // The connector points lie within 0.02 before 15 and 7.5.
    expectNear(downAxis(objects[2]), {0, -h, h}, 1e-3f);
    expectNear(translation(objects[2]), {15, 0, 20}, 0);
    expectNear(downAxis(objects[3]), {0, -h, h}, 1e-3f);
    expectNear(translation(objects[3]), {7.5f, 0, 20}, 0);
    EXPECT_EQ(objects[4].matrix, (std::array<float, 16>{1, 0, 0, 3, 0, 1, 0, 0, 0, 0, 1, 3, 0, 0, 0, 1}));
    EXPECT_EQ(report.objectsAdded[small], 2);
    EXPECT_EQ(report.objectsAdded[static_cast<std::size_t>(TubeSizeClass::Large)], 2);
    EXPECT_EQ(report.objectsAdded[static_cast<std::size_t>(TubeSizeClass::XXLarge)], 1);
}

TEST_F(FooterGeneration, ReplaceTurnsBothFundamentEndsIntoTheNewFreeNode)
{
    const int a = build.fundament(0, 0, 0);
    const int b = build.fundament(1, 0, 0);
    build.freeNode(9, 9, 9);
    build.tube({TubeEndFundament, 7, a}, {TubeEndFundament, 8, b}, testing::smallCode);

    const GenerationReport report = generateFooters(track, options(true, true));

    ASSERT_TRUE(report.ok) << report.error;
    ASSERT_EQ(track.freeNodes.size(), 2u);
    EXPECT_EQ(track.freeNodes[1].position, (Float3{1, 0, 0}));
    EXPECT_EQ(track.sceneryObjects.at(0).textA, "fundament1");
    EXPECT_EQ(track.tubes[0].endA, (TubeEnd{TubeEndFreeNode, 7, 1}));
    EXPECT_EQ(track.tubes[0].endB, (TubeEnd{TubeEndFreeNode, 8, 1}));
    // Only the footer's own fundament was replaced.
    EXPECT_EQ(fundamentXs(track), std::vector<float>{0});
    EXPECT_EQ(report.fundamentsRemoved, 1);
}

struct QueueOrder {
    int first;
    int second;
};

class FundamentQueueOrder : public FooterGeneration,
                            public ::testing::WithParamInterface<QueueOrder> {};

TEST_P(FundamentQueueOrder, QueuedFundamentsAreRemovedAndTheRestRenumbered)
{
    for (int i = 0; i < 7; ++i)
        build.fundament(static_cast<float>(i), 0, 0);
    const int node = build.freeNode(0, 10, 0);
    const int keptFirst = build.tube(onFundament(0), onFreeNode(node), testing::noFooterCode);
    build.tube(onFundament(GetParam().first), onFreeNode(node), testing::smallCode);
    build.tube(onFreeNode(node), onFundament(GetParam().second), testing::mediumCode);
    const int keptLast = build.tube(onFreeNode(node), onFundament(6), testing::noFooterCode);

    const GenerationReport report = generateFooters(track, options(true, false));

    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(fundamentXs(track), (std::vector<float>{0, 1, 3, 4, 6}));
    EXPECT_EQ(track.tubes[keptFirst].endA, onFundament(0));
    EXPECT_EQ(track.tubes[keptLast].endB, onFundament(4));
    EXPECT_EQ(track.fundamentLength, 40 + 5 * fundamentEncodedSize);
    EXPECT_EQ(report.fundamentsRemoved, 2);
    EXPECT_EQ(report.freeNodesAdded, 2);
}

INSTANTIATE_TEST_SUITE_P(TwoThenFiveAndFiveThenTwo, FundamentQueueOrder,
                         ::testing::Values(QueueOrder{2, 5}, QueueOrder{5, 2}));

TEST_F(FooterGeneration, TwoGeneratedTubesOnOneFundamentGetTwoFreeNodes)
{
    const int f = build.fundament(4, 0, 4);
    build.tube(onFundament(f), onFreeNode(build.freeNode(0, 10, 0)), testing::smallCode);
    build.tube(onFreeNode(build.freeNode(8, 10, 8)), onFundament(f), testing::mediumCode);

    const GenerationReport report = generateFooters(track, options(true, true));

    ASSERT_TRUE(report.ok) << report.error;
    ASSERT_EQ(track.sceneryObjects.size(), 2u);
    EXPECT_EQ(track.sceneryObjects[0].textA, "fundament2");
    EXPECT_EQ(track.sceneryObjects[1].textA, "fundament3");
    ASSERT_EQ(track.freeNodes.size(), 4u);
    EXPECT_EQ(track.freeNodes[2].position, (Float3{4, 0, 4}));
    EXPECT_EQ(track.freeNodes[3].position, (Float3{4, 0, 4}));
    EXPECT_EQ(track.tubes[0].endA, onFreeNode(2));
    EXPECT_EQ(track.tubes[1].endB, onFreeNode(3));
    EXPECT_TRUE(track.fundaments.empty());
    EXPECT_EQ(report.objectsAdded[small], 1);
    EXPECT_EQ(report.objectsAdded[medium], 1);
    EXPECT_EQ(report.freeNodesAdded, 2);
    EXPECT_EQ(report.fundamentsRemoved, 1);
}

TEST_F(FooterGeneration, FundamentStaysWhilePassedOverTubesStandOnIt)
{
    const int alone = build.fundament(0, 0, 0);
    const int shared = build.fundament(1, 0, 0);
    const int node = build.freeNode(0, 10, 0);
    build.tube(onFundament(shared), onFreeNode(node), testing::smallCode);
    const int passedOver = build.tube(onFundament(shared), onFreeNode(node), testing::mediumCode);
    build.tube(onFundament(alone), onFreeNode(node), testing::smallCode);
    GenerationOptions o = options(true, true);
    o.choices[medium] = {};

    const GenerationReport report = generateFooters(track, o);

    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.objectsAddedTotal(), 2);
    EXPECT_EQ(report.fundamentsRemoved, 1);
    EXPECT_EQ(fundamentXs(track), std::vector<float>{1});
    EXPECT_EQ(track.tubes[passedOver].endA, onFundament(0));
}

TEST_F(FooterGeneration, TubesWithoutAnEnabledClassOrFundamentEndChangeNothing)
{
    const int f = build.fundament(0, 0, 0);
    const int node = build.freeNode(0, 10, 0);
    for (const std::int32_t code : {3, 4, 7, -1, testing::mediumCode})
        build.tube(onFundament(f), onFreeNode(node), code);
    build.tube(onFreeNode(node), onFreeNode(node), testing::smallCode);
    const int segment = build.straightSegment({0, 20, 0}, {30, 20, 0});
    build.tube(onFreeNode(node), onConnector(segment, build.connector(segment, 0.5f)),
               testing::smallCode);
    GenerationOptions o = options(true, true);
    o.choices[medium] = makeFooterModelChoice(TubeSizeClass::Medium, false, false, 110);
    const Track before = track;

    const GenerationReport report = generateFooters(track, o);

    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.objectsAddedTotal(), 0);
    EXPECT_EQ(track, before);
    // The enabled classes' models are installed even without a tube to use them.
    EXPECT_EQ(report.filesCopied, 4);
}

TEST_F(FooterGeneration, DamagedReferencesArePassedOverWithoutReadingPastTheArrays)
{
    const int f = build.fundament(0, 0, 0);
    const int node = build.freeNode(0, 10, 0);
    build.tube(onFundament(9), onFreeNode(node), testing::smallCode);
    build.tube(onFundament(-1), onFreeNode(node), testing::smallCode);
    build.tube(onFundament(f), onFreeNode(1), testing::smallCode);
    build.tube(onFundament(f), onFreeNode(-3), testing::smallCode);
    build.tube(onFundament(f), onFundament(4), testing::smallCode);
    build.tube(onFundament(4), onFundament(f), testing::smallCode);
    const int segment = build.straightSegment({0, 20, 0}, {30, 20, 0});
    build.connector(segment, 0.5f);
    build.tube(onFundament(f), onConnector(segment, 1), testing::smallCode);
    build.tube(onFundament(f), onConnector(segment, -1), testing::smallCode);
    build.tube(onFundament(f), onConnector(3, 0), testing::smallCode);
    build.tube(onFundament(f), onConnector(-1, 0), testing::smallCode);
    // A connector group whose segment has lost its end vertex.
    const int cut = build.straightSegment({30, 20, 0}, {60, 20, 0});
    build.connector(cut, 0.5f);
    removeVertex(cut + 1, track);
    build.tube(onFundament(f), onConnector(cut, 0), testing::smallCode);
    const Track before = track;

    const GenerationReport report = generateFooters(track, options(true, true));

    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.objectsAddedTotal(), 0);
    EXPECT_EQ(track, before);
}

TEST_F(FooterGeneration, ExistingObjectsKeepTheirPlaces)
{
    SceneryObject existing{"tree", "park/tree.3ds", {}};
    existing.matrix[0] = 7;
    addSceneryObject(existing, track);
    build.tube(onFundament(build.fundament(0, 0, 0)), onFreeNode(build.freeNode(0, 10, 0)),
               testing::smallCode);

    ASSERT_TRUE(generateFooters(track, options(false, true)).ok);
    ASSERT_EQ(track.sceneryObjects.size(), 2u);
    EXPECT_EQ(track.sceneryObjects[0], existing);
    EXPECT_EQ(track.sceneryObjects[1].textB, "mytrack/fundament-small.3ds");
}

TEST_F(FooterGeneration, FailedInstallationStopsBeforeTheTrackChanges)
{
    build.tube(onFundament(build.fundament(0, 0, 0)), onFreeNode(build.freeNode(0, 10, 0)),
               testing::smallCode);
    const Track before = track;

    GenerationOptions noSimulator = options(true, true);
    noSimulator.nolimitsDirectory = scratch.path() / "missing" / "NoLimits";
    const GenerationReport notCreated = generateFooters(track, noSimulator);
    EXPECT_FALSE(notCreated.ok);
    const std::string expected =
        "Cannot create directory \"" + (scratch.path() / "missing" / "NoLimits").string() + "/objects\": ";
    EXPECT_EQ(notCreated.error.substr(0, expected.size()), expected);
    EXPECT_EQ(track, before);

    fs::remove(models / "small.3ds");
    const GenerationReport notCopied = generateFooters(track, options(true, true));
    EXPECT_FALSE(notCopied.ok);
    EXPECT_EQ(notCopied.error.rfind("Cannot copy \"" + (models / "small.3ds").string() + "\"", 0), 0u)
        << notCopied.error;
    EXPECT_EQ(notCopied.objectsAddedTotal(), 0);
    EXPECT_EQ(track, before);
}

TEST_F(FooterGeneration, ChunkLengthsMatchTheEncodedTrack)
{
    for (int i = 0; i < 4; ++i)
        build.fundament(static_cast<float>(i), 0, 0);
    const int node = build.freeNode(0, 10, 0);
    build.tube(onFundament(1), onFreeNode(node), testing::smallCode);
    build.tube(onFundament(3), onFreeNode(node), testing::xLargeCode);
    build.tube(onFundament(2), onFreeNode(node), testing::noFooterCode);

    ASSERT_TRUE(generateFooters(track, options(true, true)).ok);

    Track reread;
    readTrackBytes(encodeTrack(track), reread);
    EXPECT_EQ(reread, track);
}

}  // namespace
}  // namespace pw
