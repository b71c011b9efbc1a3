// Files crafted to make the reader allocate, store or index what is not there.

#include "DamagedInput.h"
#include "testsupport/SeedTracks.h"
#include "footers/FooterGeneration.h"
#include "testsupport/TrackFixtures.h"
#include "tracklib/TrackFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace pw::hardening {
namespace {

class HostileInputTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sandbox_ = std::make_unique<SimulatorSandbox>(); }
    static void TearDownTestSuite() { sandbox_.reset(); }

    static const SimulatorSandbox& sandbox() { return *sandbox_; }

    // Every hostile file must read, generate, save and read back, and open with success.
    static void expectHandled(const Bytes& bytes)
    {
        EXPECT_EQ(checkDamagedBytes(bytes, sandbox()), "");
        EXPECT_EQ(checkFileOpens(bytes, sandbox().root() / "hostile.nltrack"), "");
    }

    // The rich track with the int32 at `offsetFromTag` past `tag` set to `value`.
    Bytes richWith(std::string_view tag, std::size_t offsetFromTag, std::int32_t value) const
    {
        Bytes bytes = richBytes_;
        putInt32(bytes, tag, offsetFromTag, value);
        return bytes;
    }

    const Track rich_ = makeRichTrack();
    const Bytes richBytes_ = encodeTrack(rich_);

private:
    static inline std::unique_ptr<SimulatorSandbox> sandbox_;
};

struct FieldAt {
    const char* tag;
    std::size_t offsetFromTag;
};

// Where each count of a list sits, counted from its chunk's tag.
const FieldAt countFields[] = {
    {"TRCK", 12},                // slotCount
    {"BEZR", 24},                // vertex count
    {"SEGM", 8},                 // segment count, before the reserved run
    {"FUND", 24}, {"RASC", 24},  // group count
    {"RASC", 28},                // connector count of group 0
    {"FREN", 24}, {"TUBE", 24}, {"CATW", 24}, {"CATW", 52},  // byte count of catwalk 0
    {"SCEN", 24}, {"SCOB", 24},
};

TEST_F(HostileInputTest, HugeCountsAllocateOnlyWhatTheBytesHold)
{
    for (const std::int32_t count : {INT32_MAX, 0x10000000, 65536}) {
        for (const FieldAt& field : countFields) {
            SCOPED_TRACE(std::string(field.tag) + " +" + std::to_string(field.offsetFromTag) +
                         " = " + std::to_string(count));
            const Bytes bytes = richWith(field.tag, field.offsetFromTag, count);
            Track track;
            ReadDiagnostics diagnostics;
            readTrackBytes(bytes, track, &diagnostics);
            EXPECT_GE(diagnostics.chunksCutShort, 1);
            // The file header comes before every patched field.
            EXPECT_EQ(track.headerValue, 0x01020304);
            EXPECT_EQ(track.headerBytes, rich_.headerBytes);
            expectHandled(bytes);
        }
    }
}

TEST_F(HostileInputTest, NegativeCountsGiveEmptyListsAndTheScanGoesOn)
{
    for (const std::int32_t count : {-1, INT32_MIN}) {
        SCOPED_TRACE(count);
        const Bytes bytes = richWith("FUND", 24, count);
        Track track;
        readTrackBytes(bytes, track);
        EXPECT_TRUE(track.fundaments.empty());
        // The fundament elements are scanned over in four-byte steps, which land on "RASC".
        EXPECT_EQ(track.groups, rich_.groups);
        EXPECT_EQ(track.freeNodes, rich_.freeNodes);
        EXPECT_EQ(track.tubes, rich_.tubes);
        EXPECT_EQ(track.sceneryObjects, rich_.sceneryObjects);
        expectHandled(bytes);
    }
}

struct TextAt {
    FieldAt field;
    std::function<const std::string*(const Track&)> text;  // null when the record may be absent
};

TEST_F(HostileInputTest, NegativeTextLengthsGiveNoText)
{
    const TextAt texts[] = {
        {{"TRCK", 28}, nullptr},  // text of slot 0
        {{"INFO", 24}, [](const Track& t) { return &t.infoText; }},
        {{"SCOB", 28}, nullptr},  // textA of object 0
        {{"ENVC", 24}, [](const Track& t) { return &t.environmentTextA; }},
        {{"TERA", 24}, [](const Track& t) { return &t.terrain.terrainTextA; }},
    };
    for (const std::int32_t length : {-1, -4, INT32_MIN}) {
        for (const TextAt& text : texts) {
            SCOPED_TRACE(std::string(text.field.tag) + " +" +
                         std::to_string(text.field.offsetFromTag) + " = " + std::to_string(length));
            const Bytes bytes = richWith(text.field.tag, text.field.offsetFromTag, length);
            Track track;
            readTrackBytes(bytes, track);
            if (text.text) {
                EXPECT_EQ(*text.text(track), "");
            }
            expectHandled(bytes);
        }
    }
}

// The rich track's terrain with its grid replaced by values for the largest claimed size, so that
// a reader storing outside its 300 x 300 grid has the bytes to do so. Grid value i reads
// i % 1000 + 0.5.
Bytes terrainClaiming(const Bytes& original, std::int32_t columns, std::int32_t rows)
{
    Bytes bytes = original;
    putInt32(bytes, "TERA", 8, columns);
    putInt32(bytes, "TERA", 12, rows);
    // Tag, 3 int32, 2 floats, "grass", float, "", float, flag, float, 4-byte text, float, int8,
    // flag, float, reserved(10).
    const std::size_t gridStart =
        tagOffset(bytes, "TERA") + 4 + 12 + 8 + 9 + 4 + 4 + 4 + 1 + 4 + 8 + 4 + 1 + 1 + 4 + 10;
    bytes.resize(gridStart);
    for (int i = 0; i < 301 * 301; ++i) {
        appendFloat32(bytes, static_cast<float>(i % 1000) + 0.5f);
    }
    bytes.resize(bytes.size() + 20, 0);  // reserved(16) and the child count
    return bytes;
}

TEST_F(HostileInputTest, TerrainBeyondItsGridIsNeverStoredOutsideIt)
{
    const std::int32_t sizes[][2] = {{301, 3}, {4, 301}, {301, 301},     {-1, 3},
                                     {4, -1},  {-1, -1}, {INT32_MAX, 2}, {300, 300}};
    for (const auto& [columns, rows] : sizes) {
        SCOPED_TRACE(std::to_string(columns) + " columns, " + std::to_string(rows) + " rows");
        const Bytes bytes = terrainClaiming(richBytes_, columns, rows);

        Track track;
        readTrackBytes(bytes, track);
        // The grid is all or nothing: a fixed 300 x 300 or, when nothing was stored, empty.
        EXPECT_TRUE(track.terrain.terrainGrid.empty() ||
                    track.terrain.terrainGrid.size() == terrainGridSize * terrainGridSize);
        // The fields before the grid are decoded whatever its size.
        EXPECT_EQ(track.terrain.terrainValue, 3);
        EXPECT_EQ(track.terrain.terrainF1, 10.5f);
        EXPECT_EQ(track.terrain.terrainTextC,
                  "r\xF6"
                  "ck");
        EXPECT_EQ(track.terrain.terrainF7, 4.5f);
        expectHandled(bytes);
    }
}

TEST_F(HostileInputTest, FullTerrainGridKeepsEveryValueInPlace)
{
    const Bytes bytes = terrainClaiming(richBytes_, 300, 300);
    Track track;
    readTrackBytes(bytes, track);
    ASSERT_EQ(track.terrain.terrainGrid.size(), terrainGridSize * terrainGridSize);
    // Grid value i of the file is element [i / 300][i % 300].
    EXPECT_EQ(track.terrain.terrainGrid[0], 0.5f);
    EXPECT_EQ(track.terrain.terrainGrid[299], 299.5f);
    EXPECT_EQ(track.terrain.terrainGrid[1 * terrainGridSize + 0], 300.5f);
    EXPECT_EQ(track.terrain.terrainGrid[299 * terrainGridSize + 299], 999.5f);
}

TEST_F(HostileInputTest, TubeEndsNamingMissingElementsAreSafeToGenerate)
{
    const Track track = trackWithDanglingTubeEnds();
    const Bytes bytes = encodeTrack(track);
    expectHandled(bytes);

    for (const GenerationVariant& variant : pairwiseVariants) {
        Track generated = track;
        const Result<GenerationReport> report =
            generateFooters(generated, sandbox().options(variant));
        ASSERT_TRUE(report.ok()) << report.error();
        // Only the three tubes whose far end is of no known kind get a footer, standing
        // upright; fundaments 0 and 1 also carry tubes left without one, so both stay.
        EXPECT_EQ(report->objectsAddedTotal(), 3);
        EXPECT_EQ(report->freeNodesAdded, variant.replaceFundaments ? 3 : 0);
        EXPECT_EQ(report->fundamentsRemoved, 0);
        EXPECT_EQ(generated.sceneryObjects.size(), track.sceneryObjects.size() + 3);
        EXPECT_EQ(generated.fundaments, track.fundaments);
        EXPECT_EQ(generated.vertices, track.vertices);
        EXPECT_EQ(generated.groups, track.groups);
    }
}

}  // namespace
}  // namespace pw::hardening
