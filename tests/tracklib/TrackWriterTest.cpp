#include "TracklibTestSupport.h"
#include "tracklib/TrackOperations.h"

#include <bit>
#include <string_view>

namespace pw {
namespace {

// Expected bytes, built one field at a time: i int32, f float, b int8, g flag, c colour, t text,
// r(n) reserved.
struct Encoded {
    Bytes bytes;
    Encoded& i(std::int32_t value)
    {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> shift));
        return *this;
    }
    Encoded& f(float value) { return i(std::bit_cast<std::int32_t>(value)); }
    Encoded& b(std::int8_t value)
    {
        bytes.push_back(static_cast<std::uint8_t>(value));
        return *this;
    }
    Encoded& g(Flag value) { return b(value == 1 ? -1 : 0); }
    Encoded& c(std::int8_t c0, std::int8_t c1, std::int8_t c2, std::int8_t c3)
    {
        return b(c0).b(c1).b(c2).b(c3);
    }
    Encoded& t(std::string_view text)
    {
        i(static_cast<std::int32_t>(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    Encoded& r(std::size_t count)
    {
        bytes.insert(bytes.end(), count, 0);
        return *this;
    }
};

TEST(TrackWriterTest, WritesANewTrackAs1684Bytes)
{
    const Bytes file = encodeTrack(makeNewTrack());
    ASSERT_EQ(file.size(), 1684u);
    // The file header: tag, then 28 bytes ending in the child count 4.
    const Bytes header{'N', 'L', 'I', 'M', 0, 0, 0, 0, 1, 6, 0, 0, 0, 0xFF, 0, 0,
                       0,   0,   0,   0,   0, 0, 0, 0, 0, 0, 0, 0, 0, 0,    0, 4};
    EXPECT_TRUE(std::equal(header.begin(), header.end(), file.begin()));
    EXPECT_EQ(find(file, "TERA"), file.size());
    const std::size_t info = find(file, "INFO");
    EXPECT_EQ(int32At(file, info + 4), 39);
    EXPECT_EQ(int32At(file, info + 24), 35);
    EXPECT_EQ(std::string(file.begin() + info + 28, file.begin() + info + 63),
              "Created with Vorels libcorvana v1.0");
    // The fixed custom pair and the environment chunk close the file.
    const Bytes tail{'C', 'S', 'T', 'M', 0, 0, 0, 14, 0, 0, 0,   1,   'v', 'r', 't', 'x', 0, 0,
                     0,   8,   0,   0,   0, 0, 0, 0,  0, 0, 'E', 'N', 'V', 'C', 0,   0,   0, 44};
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
    EXPECT_TRUE(
        std::all_of(file.end() - 20 - 1200, file.end(), [](std::uint8_t b) { return b == 0; }));
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

    Bytes fundament{0xFF, 0x3F, 0x80, 0,    0, 0x00, 0xC1, 0x20, 0, 0, 0xFE, 0,    0, 1,
                    2,    0,    0x3F, 0x80, 0, 0,    0,    0,    0, 0, 0xC1, 0x20, 0, 0};
    fundament.resize(92, 0);
    EXPECT_EQ(slice(file, find(file, "FUND") + 28, 92), fundament);

    const Bytes tube{0, 0, 0, 3, 0,    0,    0,    4,    0,    0,    0, 7, 0, 0, 0, 0,
                     0, 0, 0, 1, 0,    0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0,
                     0, 0, 0, 5, 0xFF, 0xFF, 0xFF, 0xFF, 0x3F, 0x80, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(slice(file, find(file, "TUBE") + 28, 48), tube);

    Bytes segment{0, 0, 0, 2, 0x00, 1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 9, 0, 0, 0,
                  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 36,
                  // kind 2 block: r(3), b, f f f, r(4), g g, i, r(10)
                  0, 0, 0, 0xFD, 0x3F, 0x80, 0, 0, 0, 0, 0, 0, 0xC1, 0x20, 0, 0, 0, 0, 0, 0, 0xFF,
                  0x00, 1, 2, 3, 4};
    segment.resize(37 + 36, 0);
    EXPECT_EQ(slice(file, find(file, "SEGM") + 4 + 4 + 4 + 1 + 16, segment.size()), segment);
}

// Every field gets its own value and neighbouring flags differ, so a swapped pair of fields or a
// moved reserved run changes the bytes; flag triples take two patterns for the same reason.
TEST(TrackWriterTest, LaysOutSegmentKindBlocksFieldByField)
{
    Track track = makeNewTrack();
    for (const std::int32_t kind : {1, 3, 4, 4})
        addSegment(kind, segmentCount(track) + 1, 0, {}, {}, {}, 0, 0, track);
    setSegmentKind1(
        1, SegmentKind1Data{1.1f, 2.2f,  3.3f,  4.4f,  -5, 6,     0,     7,     9.9f, 10,    -11, 1,
                            1,    14.4f, 15.5f, 16.6f, 1,  18.8f, 19.9f, 20.2f, 21,   22.2f, 1},
        track);
    setSegmentKind3(2, SegmentKind3Data{31.1f, 32.2f, 33.3f, 34, 1, 0, -37, 38, 39.9f}, track);
    const Flag patterns[2][3] = {{1, 0, 1}, {0, 1, 1}};
    for (int k = 0; k < 2; ++k) {
        const auto [x, y, z] = patterns[k];
        setSegmentKind4(3 + k,
                        SegmentKind4Data{41.1f, 42.2f, 43.3f, 44.4f, x, y, 47.7f, 48.8f, 49.9f, x,
                                         y, z, -53, 0x0E0D0C0B, x, 56.6f, 1},
                        track);
    }
    const Bytes file = encodeTrack(track);

    // Each block follows its segment's 37 common bytes.
    const std::size_t kind1At = find(file, "SEGM") + 4 + 4 + 4 + 1 + 16 + 37;
    const std::size_t kind3At = kind1At + 126 + 37;
    const std::size_t kind4At[] = {kind3At + 28 + 37, kind3At + 28 + 37 + 50 + 37};
    // kind 1 block: f f f f, b b, g, b, f, b b, g, r(1), g, f, r(4), f f, r(4), g, f f f, r(3),
    // b, f, g, r(55)
    EXPECT_EQ(slice(file, kind1At, 126), Encoded()
                                             .f(1.1f)
                                             .f(2.2f)
                                             .f(3.3f)
                                             .f(4.4f)
                                             .b(-5)
                                             .b(6)
                                             .g(0)
                                             .b(7)
                                             .f(9.9f)
                                             .b(10)
                                             .b(-11)
                                             .g(1)
                                             .r(1)
                                             .g(1)
                                             .f(14.4f)
                                             .r(4)
                                             .f(15.5f)
                                             .f(16.6f)
                                             .r(4)
                                             .g(1)
                                             .f(18.8f)
                                             .f(19.9f)
                                             .f(20.2f)
                                             .r(3)
                                             .b(21)
                                             .f(22.2f)
                                             .g(1)
                                             .r(55)
                                             .bytes);
    // kind 3 block: f f f, r(3), b, g g, b b, f, r(4)
    EXPECT_EQ(
        slice(file, kind3At, 28),
        Encoded().f(31.1f).f(32.2f).f(33.3f).r(3).b(34).g(1).g(0).b(-37).b(38).f(39.9f).r(4).bytes);
    // kind 4 block: f f f, r(4), f, g, g, f f f, g g g, b, i, g, f, g, r(2)
    for (int k = 0; k < 2; ++k) {
        const auto [x, y, z] = patterns[k];
        EXPECT_EQ(slice(file, kind4At[k], 50), Encoded()
                                                   .f(41.1f)
                                                   .f(42.2f)
                                                   .f(43.3f)
                                                   .r(4)
                                                   .f(44.4f)
                                                   .g(x)
                                                   .g(y)
                                                   .f(47.7f)
                                                   .f(48.8f)
                                                   .f(49.9f)
                                                   .g(x)
                                                   .g(y)
                                                   .g(z)
                                                   .b(-53)
                                                   .i(0x0E0D0C0B)
                                                   .g(x)
                                                   .f(56.6f)
                                                   .g(1)
                                                   .r(2)
                                                   .bytes)
            << k;
    }
}

// The remaining elements and chunk headers, in the same way: distinct values, mixed flags.
TEST(TrackWriterTest, LaysOutTheOtherElementsAndChunksFieldByField)
{
    Track track = makeNewTrack();
    setSlot(0, "Ab", 1, makeColour(1, 2, 3, 4), makeColour(5, 6, 7, 8), makeColour(9, 10, 11, 12),
            makeColour(13, 14, 15, 16), track);
    const Flag patterns[2][3] = {{1, 0, 1}, {0, 1, 1}};
    for (const auto& [x, y, z] : patterns)
        addVertex({1.1f, 2.2f, 3.3f}, {4.4f, 5.5f, 6.6f}, {7.7f, 8.8f, 9.9f}, 10.1f, x, y, z,
                  track);
    addSegment(5, 1, 0, {}, {}, {}, 0, 0, track);
    addRailConnector(0, 0x0A0B0C0D, 0.7f, track);
    addFreeNode(1.5f, -2.5f, 3.25f, track);
    track.freeNodes[0].value = 0x11223344;
    addCatwalk(Catwalk{{101, 102, 103, 104, 105, -106}, {-1, 2, 3}}, track);
    addSceneryItem(SceneryItem{1.25f, 2.5f, 3.75f, 0x01020304, 4.125f}, track);
    SceneryObject object{"Foot.3ds", "Pw", {}};
    for (int k = 0; k < 16; ++k)
        object.matrix[k] = 0.5f + static_cast<float>(k);
    addSceneryObject(object, track);
    setEnvironmentTexts("Sky", "Haze", track);
    track.environmentLength = 0x00654321;
    // clang-format off
    track.terrain = Terrain{.terrainValue = 0x7A7B7C7D, .terrainColumns = 3, .terrainRows = 2,
                            .terrainF1 = 61.1f, .terrainF2 = 62.2f, .terrainTextA = "Gr",
                            .terrainF3 = 63.3f, .terrainTextB = "Rock", .terrainF4 = 64.4f,
                            .terrainFlagA = 1, .terrainF5 = 65.5f, .terrainTextC = "Sand!",
                            .terrainF6 = 66.6f, .terrainByte = -67, .terrainFlagB = 0,
                            .terrainF7 = 68.8f, .terrainGrid = {}};
    // clang-format on
    const Bytes file = encodeTrack(track);

    Encoded vertices;
    for (const auto& [x, y, z] : patterns)
        vertices.f(1.1f)
            .f(2.2f)
            .f(3.3f)
            .f(4.4f)
            .f(5.5f)
            .f(6.6f)
            .f(7.7f)
            .f(8.8f)
            .f(9.9f)
            .f(10.1f)
            .g(x)
            .g(y)
            .g(z)
            .r(17);
    Encoded objects;
    objects.t("Foot.3ds").t("Pw");
    for (int k = 0; k < 16; ++k)
        objects.f(0.5f + static_cast<float>(k));
    objects.r(16);

    // Where each layout starts: its chunk tag plus the bytes before it.
    const struct {
        const char* tag;
        std::size_t offset;
        Bytes expected;
    } layouts[] = {
        // slot: g, r(7), t, c c c c
        {"TRCK", 4 + 16,
         Encoded()
             .g(1)
             .r(7)
             .t("Ab")
             .c(1, 2, 3, 4)
             .c(5, 6, 7, 8)
             .c(9, 10, 11, 12)
             .c(13, 14, 15, 16)
             .bytes},
        // vertex, after the new track's own: f x 10, g g g, r(17)
        {"BEZR", 4 + 4 + 16 + 4 + 60, vertices.bytes},
        // group count, connector count, then the connector: i, f, r(16)
        {"RASC", 4 + 4 + 16, Encoded().i(1).i(1).i(0x0A0B0C0D).f(0.7f).r(16).bytes},
        // free node: f f f, i, r(12)
        {"FREN", 4 + 4 + 16 + 4, Encoded().f(1.5f).f(-2.5f).f(3.25f).i(0x11223344).r(12).bytes},
        // catwalk: i x 6, byte count, bytes
        {"CATW", 4 + 4 + 16 + 4,
         Encoded().i(101).i(102).i(103).i(104).i(105).i(-106).i(3).b(-1).b(2).b(3).bytes},
        // scenery item: f f f, i, f, r(44)
        {"SCEN", 4 + 4 + 16 + 4,
         Encoded().f(1.25f).f(2.5f).f(3.75f).i(0x01020304).f(4.125f).r(44).bytes},
        // scenery object: t, t, f x 16, r(16)
        {"SCOB", 4 + 4 + 16 + 4, objects.bytes},
        // environment: length, r(16), t, t, r(16), child count
        {"ENVC", 4, Encoded().i(0x00654321).r(16).t("Sky").t("Haze").r(16).i(0).bytes},
        // terrain up to the grid: i i i, f f, t, f, t, f, g, f, t, f, b, g, f, r(10)
        {"TERA", 4,
         Encoded()
             .i(0x7A7B7C7D)
             .i(3)
             .i(2)
             .f(61.1f)
             .f(62.2f)
             .t("Gr")
             .f(63.3f)
             .t("Rock")
             .f(64.4f)
             .g(1)
             .f(65.5f)
             .t("Sand!")
             .f(66.6f)
             .b(-67)
             .g(0)
             .f(68.8f)
             .r(10)
             .bytes},
    };
    for (const auto& layout : layouts)
        EXPECT_EQ(slice(file, find(file, layout.tag) + layout.offset, layout.expected.size()),
                  layout.expected)
            << layout.tag;
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
