#include "TracklibTestSupport.h"
#include "tracklib/TrackOperations.h"

#include <bit>

namespace pw {
namespace {

TEST(TrackWriterTest, WritesANewTrackAs1684Bytes)
{
    const Bytes file = encodeTrack(makeNewTrack());
    ASSERT_EQ(file.size(), 1684u);
    // The file header: tag, then 28 bytes ending in the child count 4.
    const Bytes header{'N', 'L', 'I', 'M', 0, 0, 0, 0, 1, 6, 0, 0, 0, 0xFF,
                       0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4};
    EXPECT_TRUE(std::equal(header.begin(), header.end(), file.begin()));
    EXPECT_EQ(find(file, "TERA"), file.size());
    const std::size_t info = find(file, "INFO");
    EXPECT_EQ(int32At(file, info + 4), 39);
    EXPECT_EQ(int32At(file, info + 24), 35);
    EXPECT_EQ(std::string(file.begin() + info + 28, file.begin() + info + 63),
              "Created with Vorels libcorvana v1.0");
    // The fixed custom pair and the environment chunk close the file.
    const Bytes tail{'C', 'S', 'T', 'M', 0, 0, 0, 14, 0, 0, 0, 1, 'v', 'r', 't', 'x',
                     0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 'E', 'N', 'V', 'C', 0, 0, 0, 44};
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), file.begin() + find(file, "CSTM")));
    EXPECT_EQ(file.size() - find(file, "ENVC"), 4u + 48u);
}

// The terrain chunk: 3 int32, 2 floats, 3 texts, 5 floats, flag, byte, flag, 10 reserved bytes,
// the grid row by row, 16 reserved bytes and the child count.
TEST(TrackWriterTest, WritesTheTerrainGridRowByRowUpTo300Columns)
{
    const std::size_t withoutGrid = 4 + 12 + 8 + 12 + 20 + 3 + 10 + 16 + 4;
    Track track = makeNewTrack();
    track.terrain.terrainColumns = 3;
    track.terrain.terrainRows = 0;
    Bytes file = encodeTrack(track);
    EXPECT_EQ(int32At(file, 28), 5);  // the file header's child count
    EXPECT_EQ(file.size() - find(file, "TERA"), withoutGrid);

    Terrain& terrain = track.terrain;
    terrain.terrainRows = 2;
    terrain.terrainGrid.assign(terrainGridSize * terrainGridSize, 0.0f);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            terrain.terrainGrid[r * terrainGridSize + c] = static_cast<float>(10 * r + c);
    file = encodeTrack(track);
    ASSERT_EQ(file.size() - find(file, "TERA"), withoutGrid + 6 * 4);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(std::bit_cast<float>(int32At(file, file.size() - 20 - 24 + 4 * i)),
                  static_cast<float>(10 * (i / 3) + i % 3));

    // Clamped to 300 columns; a missing grid is written as zeros.
    terrain.terrainColumns = 301;
    terrain.terrainRows = 1;
    terrain.terrainGrid.clear();
    file = encodeTrack(track);
    const std::size_t at = find(file, "TERA");
    EXPECT_EQ(int32At(file, at + 8), 300);
    EXPECT_EQ(int32At(file, at + 12), 1);
    EXPECT_EQ(file.size() - at, withoutGrid + 300 * 4);
    EXPECT_TRUE(std::all_of(file.end() - 20 - 1200, file.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(TrackWriterTest, WritesExactlySlotCountSlots)
{
    Track track = makeNewTrack();
    const std::size_t base = encodeTrack(track).size();
    track.slotCount = 34;  // two more than the vector holds: written as empty slots
    EXPECT_EQ(encodeTrack(track).size(), base + 2 * 28);
    track.slotCount = 1;
    EXPECT_EQ(encodeTrack(track).size(), base - 31 * 28);
    track.slotCount = -5;
    EXPECT_EQ(encodeTrack(track).size(), base - 32 * 28);
}

TEST(TrackWriterTest, ElementsTakeTheirEncodedSizes)
{
    const Track base = makeNewTrack();
    const std::size_t empty = encodeTrack(base).size();
    auto grownBy = [&](auto change) {
        Track track = base;
        change(track);
        return encodeTrack(track).size() - empty;
    };
    EXPECT_EQ(grownBy([](Track& t) { addFundament(1, 0, 0, 0, 0, 0, 0, 0, 0, t); }), 92u);
    EXPECT_EQ(grownBy([](Track& t) { addFreeNode(0, 0, 0, t); }), 28u);
    EXPECT_EQ(grownBy([](Track& t) { addTube(1, 0, 0, 2, 0, 0, 0, 0, 0, t); }), 48u);
    EXPECT_EQ(grownBy([](Track& t) { addVertex({}, {}, {}, 0, 0, 0, 0, t); }), 60u);
    EXPECT_EQ(grownBy([](Track& t) { addCatwalk(Catwalk{{}, {1, 2, 3}}, t); }), 31u);
    EXPECT_EQ(grownBy([](Track& t) { addSceneryItem(SceneryItem{}, t); }), 64u);
    EXPECT_EQ(grownBy([](Track& t) { addSceneryObject(SceneryObject{"abc", "", {}}, t); }), 91u);
    // A segment brings its connector group's count with it.
    EXPECT_EQ(grownBy([](Track& t) { addSegment(5, 1, 0, {}, {}, {}, 0, 0, t); }), 37u + 4u);
    EXPECT_EQ(grownBy([](Track& t) { addSegment(1, 1, 0, {}, {}, {}, 0, 0, t); }), 163u + 4u);
    EXPECT_EQ(grownBy([](Track& t) {
                  addSegment(6, 1, 0, {}, {}, {}, 0, 0, t);
                  t.segments[0].extraLength = 20;
              }),
              37u + 4u);
    EXPECT_EQ(grownBy([](Track& t) {
                  addSegment(2, 1, 0, {}, {}, {}, 0, 0, t);
                  addRailConnector(0, 1, 0.5f, t);
              }),
              37u + 36u + 4u + 24u);
}

TEST(TrackWriterTest, LaysOutElementsFieldByField)
{
    Track track = makeNewTrack();
    addFundament(1, 1.0f, 2, -10.0f, -2, 258, 1.0f, 0.0f, -10.0f, track);
    addTube(TubeEndRailConnector, 7, 4, TubeEndFundament, 0, 0, 5, -1, 1, track);
    addSegment(2, 1, 0, makeColour(1, 2, 3, 4), {}, {}, 1, 9, track);
    setSegmentKind2(1, SegmentKind2Data{-3, 1.0f, 0.0f, -10.0f, 1, 0, 0x01020304}, track);
    const Bytes file = encodeTrack(track);

    Bytes fundament{0xFF, 0x3F, 0x80, 0, 0, 0x00, 0xC1, 0x20, 0, 0, 0xFE, 0, 0, 1, 2, 0,
                    0x3F, 0x80, 0, 0, 0, 0, 0, 0, 0xC1, 0x20, 0, 0};
    fundament.resize(92, 0);
    EXPECT_EQ(slice(file, find(file, "FUND") + 28, 92), fundament);

    const Bytes tube{0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0,
                     0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0xFF, 0xFF, 0xFF, 0xFF, 0x3F, 0x80, 0, 0,
                     0, 0, 0, 0};
    EXPECT_EQ(slice(file, find(file, "TUBE") + 28, 48), tube);

    Bytes segment{0, 0, 0, 2, 0x00, 1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF,
                  0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 36,
                  // kind 2 block: r(3), b, f f f, r(4), g g, i, r(10)
                  0, 0, 0, 0xFD, 0x3F, 0x80, 0, 0, 0, 0, 0, 0, 0xC1, 0x20, 0, 0, 0, 0, 0, 0,
                  0xFF, 0x00, 1, 2, 3, 4};
    segment.resize(37 + 36, 0);
    EXPECT_EQ(slice(file, find(file, "SEGM") + 4 + 4 + 4 + 1 + 16, segment.size()), segment);
}

TEST(TrackWriterTest, WritesFlagsOtherThanOneAsFalse)
{
    Track track = makeNewTrack();
    for (const auto& [flag, byte] : {std::pair{2, 0x00}, {1, 0xFF}, {-1, 0x00}}) {
        track.headerFlag = flag;
        EXPECT_EQ(encodeTrack(track)[13], byte) << flag;
    }
}

TEST(TrackWriterTest, WritesTheFixedChunkOrder)
{
    const Bytes file = encodeTrack(makeRichTrack());
    const char* order[] = {"NLIM", "TRCK", "INFO", "BEZR", "SEGM", "SUPP", "FUND", "RASC", "FREN",
                           "TUBE", "CATW", "SCEN", "SCOB", "CSTM", "vrtx", "ENVC", "TERA"};
    std::size_t previous = 0;
    for (const char* tag : order) {
        const std::size_t at = find(file, tag);
        ASSERT_LT(at, file.size()) << tag;
        EXPECT_GE(at, previous) << tag;
        previous = at;
    }
}

}  // namespace
}  // namespace pw
