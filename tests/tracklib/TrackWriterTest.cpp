#include "tests/support/TrackFixtures.h"
#include "tracklib/TrackFile.h"
#include "tracklib/TrackOperations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>

namespace pw {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::size_t find(const Bytes& file, std::string_view tag)
{
    const auto it = std::search(file.begin(), file.end(), tag.begin(), tag.end());
    return static_cast<std::size_t>(it - file.begin());
}

std::int32_t int32At(const Bytes& file, std::size_t at)
{
    return static_cast<std::int32_t>((std::uint32_t{file[at]} << 24) |
                                     (std::uint32_t{file[at + 1]} << 16) |
                                     (std::uint32_t{file[at + 2]} << 8) | file[at + 3]);
}

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

TEST(TrackWriterTest, TerrainDecidesTheFileHeaderChildCount)
{
    Track track = makeNewTrack();
    track.terrain.terrainColumns = 3;
    track.terrain.terrainRows = 0;
    const Bytes file = encodeTrack(track);
    EXPECT_EQ(int32At(file, 28), 5);
    const std::size_t terrain = find(file, "TERA");
    ASSERT_LT(terrain, file.size());
    // 3 int32, 2 floats, 3 empty texts, 5 floats, flag, byte, flag, reserved 10, no grid, 16, 4.
    EXPECT_EQ(file.size() - terrain, 4u + 12 + 8 + 12 + 20 + 3 + 10 + 16 + 4);
}

TEST(TrackWriterTest, WritesTheGridRowByRow)
{
    Track track = makeNewTrack();
    Terrain& terrain = track.terrain;
    terrain.terrainColumns = 3;
    terrain.terrainRows = 2;
    terrain.terrainGrid.assign(terrainGridSize * terrainGridSize, 0.0f);
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            terrain.terrainGrid[r * terrainGridSize + c] = static_cast<float>(10 * r + c);
        }
    }
    const Bytes file = encodeTrack(track);
    const std::size_t grid = file.size() - 20 - 6 * 4;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(std::bit_cast<float>(int32At(file, grid + 4 * i)),
                  static_cast<float>(10 * (i / 3) + i % 3));
    }
}

TEST(TrackWriterTest, ClampsAnOversizedTerrainAndFillsAMissingGrid)
{
    Track track = makeNewTrack();
    track.terrain.terrainColumns = 301;
    track.terrain.terrainRows = 1;
    const Bytes file = encodeTrack(track);
    const std::size_t terrain = find(file, "TERA");
    EXPECT_EQ(int32At(file, terrain + 8), 300);
    EXPECT_EQ(int32At(file, terrain + 12), 1);
    EXPECT_EQ(file.size() - terrain, 4u + 12 + 8 + 12 + 20 + 3 + 10 + 300 * 4 + 16 + 4);
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

// The element bytes that follow a list chunk's count.
Bytes elementBytes(const Bytes& file, std::string_view tag, std::size_t countOffset,
                   std::size_t size)
{
    const std::size_t start = find(file, tag) + countOffset + 4;
    return Bytes(file.begin() + static_cast<std::ptrdiff_t>(start),
                 file.begin() + static_cast<std::ptrdiff_t>(start + size));
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
    EXPECT_EQ(elementBytes(file, "FUND", 24, 92), fundament);

    const Bytes tube{0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0,
                     0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0xFF, 0xFF, 0xFF, 0xFF, 0x3F, 0x80, 0, 0,
                     0, 0, 0, 0};
    EXPECT_EQ(elementBytes(file, "TUBE", 24, 48), tube);

    Bytes segment{0, 0, 0, 2, 0x00, 1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF,
                  0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 36,
                  // kind 2 block: r(3), b, f f f, r(4), g g, i, r(10)
                  0, 0, 0, 0xFD, 0x3F, 0x80, 0, 0, 0, 0, 0, 0, 0xC1, 0x20, 0, 0, 0, 0, 0, 0,
                  0xFF, 0x00, 1, 2, 3, 4};
    segment.resize(37 + 36, 0);
    const std::size_t segments = find(file, "SEGM") + 4 + 4 + 4 + 1 + 16;
    EXPECT_TRUE(std::equal(segment.begin(), segment.end(),
                           file.begin() + static_cast<std::ptrdiff_t>(segments)));
}

TEST(TrackWriterTest, WritesFlagsOtherThanOneAsFalse)
{
    Track track = makeNewTrack();
    track.headerFlag = 2;
    EXPECT_EQ(encodeTrack(track)[13], 0x00);
    track.headerFlag = 1;
    EXPECT_EQ(encodeTrack(track)[13], 0xFF);
    track.headerFlag = -1;
    EXPECT_EQ(encodeTrack(track)[13], 0x00);
}

TEST(TrackWriterTest, WritesATextUpToItsFirstZeroByte)
{
    Track track = makeNewTrack();
    track.infoText = std::string("ab\0cd", 5);
    const Bytes file = encodeTrack(track);
    const std::size_t info = find(file, "INFO");
    EXPECT_EQ(int32At(file, info + 24), 2);
    EXPECT_EQ(file[info + 28], 'a');
    EXPECT_EQ(file[info + 29], 'b');
    EXPECT_EQ(int32At(file, info + 30), 0);  // the child count follows at once
    EXPECT_EQ(file[info + 34], 'B');
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
    EXPECT_EQ(int32At(file, 28), 5);
    EXPECT_EQ(encodeTrack(makeRichTrack()), file);
}

}  // namespace
}  // namespace pw
