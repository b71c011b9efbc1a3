#include "TracklibTestSupport.h"
#include "tracklib/TrackOperations.h"

namespace pw {
namespace {

// Every chunk length of the track, in file order.
std::vector<std::int32_t> chunkLengths(const Track& t)
{
    return {t.infoLength,      t.vertexLength,        t.segmentLength,       t.supportLength,
            t.fundamentLength, t.railConnectorLength, t.freeNodeLength,      t.tubeLength,
            t.catwalkLength,   t.sceneryLength,       t.sceneryObjectLength, t.environmentLength};
}

// The header bytes, the info text and the sizes are checked in its 1684 encoded bytes.
TEST(NewTrackTest, HoldsTheValuesOfAnEmptyTrack)
{
    const Track track = makeNewTrack();
    EXPECT_EQ(track.trackValueA, 88);
    ASSERT_EQ(track.slots.size(), 32u);
    EXPECT_EQ(track.slots[31].colours[3], (Colour{255, 255, 255, 255}));
    ASSERT_EQ(track.vertices.size(), 1u);
    EXPECT_EQ(track.vertices[0].controlOut, (Float3{0, 1, -10}));
    EXPECT_EQ(chunkLengths(track),
              (std::vector<std::int32_t>{39, 100, 41, 36, 40, 40, 40, 40, 40, 88, 40, 44}));
}

TEST(NewTrackTest, LeavesSceneryChildCountAndTerrainButDropsSegments)
{
    Track track;
    track.sceneryChildCount = 3;
    track.terrain.terrainColumns = 7;
    track.segments.resize(2);
    newTrack(track);
    EXPECT_EQ(track.sceneryChildCount, 3);
    EXPECT_EQ(track.terrain.terrainColumns, 7);
    EXPECT_TRUE(track.segments.empty());
}

void expectLengthsMatchTheBytes(const Bytes& file)
{
    // A length counts the bytes after its own field up to the next chunk's tag.
    const std::pair<const char*, const char*> chunks[] = {
        {"BEZR", "SEGM"}, {"SEGM", "SUPP"}, {"SUPP", "FUND"}, {"FUND", "RASC"},
        {"RASC", "FREN"}, {"FREN", "TUBE"}, {"TUBE", "CATW"}, {"CATW", "SCEN"},
        {"SCEN", "CSTM"}, {"SCOB", "CSTM"}, {"ENVC", "TERA"}};
    for (const auto& [tag, next] : chunks) {
        const std::size_t at = find(file, tag);
        const std::size_t end = std::min(find(file, next), file.size());
        EXPECT_EQ(static_cast<std::size_t>(int32At(file, at + 4)), end - at - 8) << tag;
    }
    // The info chunk's length covers its text alone.
    const std::size_t info = find(file, "INFO");
    EXPECT_EQ(int32At(file, info + 4), 4 + int32At(file, info + 24));
}

TEST(ChunkLengthTest, RichTrackLengthsMatchTheBytesWritten)
{
    expectLengthsMatchTheBytes(encodeTrack(makeRichTrack()));
}

// A file without free nodes, scenery objects and info (an older or hand-made file), with or
// without its scenery chunk, gets them written, and the generation's additions keep every
// length true.
TEST(ChunkLengthTest, ChunksTheFileLackedAreCountedFromEmpty)
{
    for (const bool keepScenery : {false, true}) {
        SCOPED_TRACE(keepScenery);
        Bytes file = encodeTrack(makeRichTrack());
        const auto cut = [&](const char* from, const char* to) {
            file.erase(file.begin() + static_cast<std::ptrdiff_t>(find(file, from)),
                       file.begin() + static_cast<std::ptrdiff_t>(find(file, to)));
        };
        const auto putInt32 = [&](std::size_t at, std::int32_t value) {
            for (int i = 0; i < 4; ++i)
                file[at + i] =
                    static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (24 - 8 * i));
        };
        cut("INFO", "BEZR");
        cut("FREN", "TUBE");
        cut(keepScenery ? "SCOB" : "SCEN", "CSTM");
        if (keepScenery) {
            // A scenery chunk of its own, without the object child.
            const std::size_t scenery = find(file, "SCEN");
            const std::size_t end = find(file, "CSTM");
            putInt32(scenery + 4, static_cast<std::int32_t>(end - scenery - 8));
            putInt32(end - 4, 0);
        }
        Track track = decode(file);
        ASSERT_TRUE(track.freeNodes.empty() && track.sceneryObjects.empty());
        addFreeNode(1, 2, 3, track);
        addSceneryObject(SceneryObject{"fundament0", "park/fundament-small.3ds", {}}, track);
        setInfoText("footers added", track);
        const Bytes written = encodeTrack(track);
        expectLengthsMatchTheBytes(written);
        EXPECT_EQ(int32At(written, find(written, "SCOB") - 4), 1);  // the scenery's child count
    }
}

TEST(ChunkLengthTest, RemovingEveryElementRestoresTheEmptyLengths)
{
    Track track = makeRichTrack();
    const Track fresh = makeNewTrack();
    while (!track.tubes.empty())
        removeTube(0, track);
    while (!track.fundaments.empty())
        removeFundament(0, track);
    while (!track.freeNodes.empty())
        removeFreeNode(0, track);
    while (!track.segments.empty())
        removeSegment(static_cast<int>(track.segments.size()) - 1, track);
    while (track.vertices.size() > 1)
        removeVertex(1, track);
    const auto removed = [](const Track& t) {
        return std::array{t.vertexLength,        t.segmentLength,  t.fundamentLength,
                          t.railConnectorLength, t.freeNodeLength, t.tubeLength};
    };
    EXPECT_EQ(removed(track), removed(fresh));
    EXPECT_TRUE(track.groups.empty());
}

TEST(ChunkLengthTest, TextsAndSceneryObjectsMoveTheirLengths)
{
    Track track = makeNewTrack();
    setInfoText("short", track);
    EXPECT_EQ(track.infoLength, 9);
    setEnvironmentTexts("abc", std::string("de\0f", 4), track);
    EXPECT_EQ(track.environmentLength, 44 + 3 + 2);
    EXPECT_EQ(addSceneryObject(SceneryObject{"ab/c.3ds", "xy", {}}, track), 0);
    EXPECT_EQ(track.sceneryObjectLength, 40 + 88 + 8 + 2);
    EXPECT_EQ(track.sceneryLength, 88 + 88 + 8 + 2);
}

// A damaged file's lengths may sit at the int32 limits; they wrap as their 32 stored bits would.
TEST(ChunkLengthTest, LengthsAtTheInt32LimitsWrap)
{
    Track track = makeNewTrack();
    addFundament(0, 0, 0, 0, 0, 0, 0, 0, 0, track);
    track.freeNodeLength = INT32_MAX - 10;
    track.sceneryLength = INT32_MAX;
    track.fundamentLength = INT32_MIN + 5;
    addFreeNode(1, 2, 3, track);
    addSceneryObject(SceneryObject{}, track);
    removeFundament(0, track);
    EXPECT_EQ(track.freeNodeLength, INT32_MIN + 17);
    EXPECT_EQ(track.sceneryLength, INT32_MIN + 87);
    EXPECT_EQ(track.fundamentLength, INT32_MAX - 86);
}

TEST(RemoveFundamentTest, RenumbersLaterFundamentEndsOnly)
{
    Track track = makeNewTrack();
    for (int i = 0; i < 6; ++i) {
        addFundament(0, 0, 0, 0, 0, i, 0, 0, 0, track);
    }
    addTube(TubeEndFundament, 3, 0, TubeEndFundament, 5, 0, 0, 0, 0, track);
    addTube(TubeEndFundament, 2, 0, TubeEndFreeNode, 4, 0, 0, 0, 0, track);
    addTube(TubeEndRailConnector, 4, 9, TubeEndFundament, 1, 0, 0, 0, 0, track);
    removeFundament(2, track);

    EXPECT_EQ(fundamentCount(track), 5);
    EXPECT_EQ(fundament(2, track).valueB, 3);
    EXPECT_EQ(tube(0, track).endA, (TubeEnd{TubeEndFundament, 0, 2}));
    EXPECT_EQ(tube(0, track).endB, (TubeEnd{TubeEndFundament, 0, 4}));
    EXPECT_EQ(tube(1, track).endA, (TubeEnd{TubeEndFundament, 0, 2}));
    EXPECT_EQ(tube(1, track).endB, (TubeEnd{TubeEndFreeNode, 0, 4}));
    EXPECT_EQ(tube(2, track).endA, (TubeEnd{TubeEndRailConnector, 9, 4}));
    EXPECT_EQ(tube(2, track).endB, (TubeEnd{TubeEndFundament, 0, 1}));
    EXPECT_EQ(track.fundamentLength, 40 + 5 * 92);

    const Track before = track;
    removeFundament(4, track);
    EXPECT_EQ(track.tubes, before.tubes);
}

TEST(RemoveFreeNodeTest, RenumbersFreeNodeEndsOnly)
{
    Track track = makeNewTrack();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(addFreeNode(static_cast<float>(i), 0, 0, track), i);
    }
    addTube(TubeEndFreeNode, 3, 0, TubeEndFundament, 3, 0, 0, 0, 0, track);
    removeFreeNode(1, track);
    EXPECT_EQ(tube(0, track).endA, (TubeEnd{TubeEndFreeNode, 0, 2}));
    EXPECT_EQ(tube(0, track).endB, (TubeEnd{TubeEndFundament, 0, 3}));
    EXPECT_EQ(freeNode(1, track).position.x, 2.0f);
    EXPECT_EQ(freeNode(1, track).value, 0);
    EXPECT_EQ(track.freeNodeLength, 40 + 3 * 28);
}

// A segment's length follows its kind's block; each segment brings a connector group's count.
TEST(SegmentOperationsTest, AddSetAndRemoveMoveTheSegmentAndGroupLengths)
{
    Track track = makeNewTrack();
    addSegment(7, 1, 1, makeColour(1, 2, 3, 4), {}, {}, 0, 9, track);  // kind 7 has no block
    addSegment(4, 2, 0, {}, {}, {}, 1, -9, track);
    ASSERT_EQ(segmentCount(track), 2);
    EXPECT_EQ(segment(1, track).extraLength, 0);
    EXPECT_EQ(segment(1, track).colours[0], (Colour{1, 2, 3, 4}));
    EXPECT_EQ(segment(2, track).extraLength, 50);
    EXPECT_EQ(segment(2, track).value, -9);
    EXPECT_EQ(track.groups.size(), 2u);
    EXPECT_EQ(track.segmentLength, 41 + 37 + 87);
    EXPECT_EQ(track.railConnectorLength, 40 + 8);

    setSegment(1, 1, 0, {}, {}, {}, 0, 0, track);
    EXPECT_EQ(segment(1, track).extraLength, 126);
    EXPECT_EQ(track.segmentLength, 41 + 163 + 87);
    addRailConnector(0, 5, 0.5f, track);
    removeSegment(0, track);
    EXPECT_EQ(track.segmentLength, 41 + 87);
    EXPECT_EQ(track.railConnectorLength, 40 + 4);
}

TEST(SegmentOperationsTest, RemoveMovesSegmentsAndGroupsTogether)
{
    Track track = makeRichTrack();
    removeSegment(1, track);
    ASSERT_EQ(segmentCount(track), 4);
    EXPECT_EQ(segment(2, track).kind, 3);
    ASSERT_EQ(track.groups.size(), 4u);
    EXPECT_EQ(railConnector(1, 0, track).value, 31);
}

TEST(RailConnectorTest, PointFollowsTheBezierOfItsSegment)
{
    const Track track = makeRichTrack();
    EXPECT_EQ(railConnectorPoint(0, 2, track), track.vertices[2].position);  // position 0
    EXPECT_EQ(railConnectorPoint(0, 3, track), track.vertices[4].position);  // position 1
    // Group 1 at t = 0.5: (P0 + 3 P1 + 3 P2 + P3) / 8 of vertices 1 and 2.
    const Float3 mid = railConnectorPoint(0, 1, track);
    EXPECT_NEAR(mid.x, (0 + 0 + 30 + 15) / 8.0f, 1e-5f);
    EXPECT_NEAR(mid.y, (2 + 6 + 24 + 8.5f) / 8.0f, 1e-5f);
    EXPECT_NEAR(mid.z, (-30 - 120 - 165 - 60) / 8.0f, 1e-5f);

    // Without a following vertex the point is the origin.
    Track lone = makeNewTrack();
    addSegment(1, 1, 0, {}, {}, {}, 0, 0, lone);
    addRailConnector(0, 1, 0.5f, lone);
    EXPECT_EQ(railConnectorPoint(0, 0, lone), (Float3{0, 0, 0}));
}

TEST(TubeOperationsTest, EndsAreTakenAsKindIndexGroup)
{
    Track track = makeNewTrack();
    EXPECT_EQ(addTube(3, 7, 2, 1, 4, 99, 5, 6, -3, track), 0);
    EXPECT_EQ(tube(0, track).endA, (TubeEnd{3, 2, 7}));
    EXPECT_EQ(tube(0, track).endB, (TubeEnd{1, 99, 4}));
    EXPECT_EQ(tube(0, track).valueB, -3.0f);
    setTubeProperties(0, 2, 8, 16777217, track);
    EXPECT_EQ(tube(0, track).sizeClass, 2);
    EXPECT_EQ(tube(0, track).valueB, 16777216.0f);  // stored as a float
}

TEST(CoasterStyleNameTest, NamesKnownCodesAndUnknownOthers)
{
    const std::pair<std::int32_t, const char*> known[] = {
        {0, "Classic Steel Looping"},
        {15, "Inverted Impulse Coaster"},
        {18, "Vekoma Flying Dutchman"},
        {20, "Maurer S\xF6hne Spinning Coaster"},
        {35, "Vekoma Minetrain Coaster with locomotive"},
        {41, "Gerstlauer Spinning Coaster"},
        {47, "Gerstlauer Euro-Fighter 2"},
        {49, "Steel Looping Coaster (Modern)"},
        {50, "Maurer S\xF6hne X-Car Coaster"}};
    for (const auto& [code, name] : known)
        EXPECT_STREQ(coasterStyleName(code), name) << code;
    for (std::int32_t code : {16, 17, 19, 21, 33, 37, 40, 42, 46, 48, 51, -1, INT32_MIN})
        EXPECT_STREQ(coasterStyleName(code), "Unknown") << code;
}

TEST(UnitConversionTest, UsesTheSimulatorsFactors)
{
    EXPECT_EQ(gToMetersPerSecondSquared(1.0f), 9.81665f);
    EXPECT_EQ(metersPerSecondSquaredToG(9.81665f), 1.0f);
    EXPECT_EQ(metersPerSecondToKilometersPerHour(10.0f), 36.0f);
    EXPECT_EQ(kilometersPerHourToMetersPerSecond(36.0f), 10.0f);
    EXPECT_EQ(metersPerSecondSquaredToG(1.0f), static_cast<float>(1.0 / 9.81665));
}

}  // namespace
}  // namespace pw
