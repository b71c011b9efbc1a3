#include "TracklibTestSupport.h"
#include "tracklib/ChunkWriter.h"
#include "tracklib/TrackOperations.h"

namespace pw {
namespace {

// A file header chunk with recognisable values.
Bytes fileHeaderChunk()
{
    ChunkWriter out;
    out.writeRawTag("NLIM");
    out.writeInt32(-7);
    for (int b : {1, 2, 3, 4, 5})
        out.writeInt8(b);
    out.writeBool(1);
    out.writeZeros(14);
    out.writeInt32(4);
    return out.take();
}

// A fundament chunk holding `count` as its count and `written` fundaments with valueB 0, 1, ...
Bytes fundamentChunk(std::int32_t count, int written)
{
    ChunkWriter out;
    out.writeRawTag("FUND");
    out.writeInt32(40 + 92 * written);
    out.writeZeros(16);
    out.writeInt32(count);
    for (int i = 0; i < written; ++i) {
        out.writeBool(1);
        out.writeFloat32(0.5f);
        out.writeBool(0);
        out.writeFloat32(0.0f);
        out.writeInt8(i);
        out.writeInt32(i);
        out.writeZeros(1);
        out.writeFloat32(1.0f);
        out.writeFloat32(2.0f);
        out.writeFloat32(3.0f);
        out.writeZeros(64);
    }
    out.writeZeros(16);
    out.writeInt32(0);
    return out.take();
}

Bytes join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(TrackReaderTest, RoundTripsEveryChunkKind)
{
    const Track rich = makeRichTrack();
    const Bytes file = encodeTrack(rich);
    ReadDiagnostics diagnostics;
    const Track read = decode(file, &diagnostics);
    EXPECT_EQ(read, rich);
    EXPECT_EQ(encodeTrack(read), file);
    EXPECT_EQ(diagnostics.chunksCutShort, 0);
    EXPECT_EQ(diagnostics.negativeTextLengths, 0);
    // Child counts and the custom chunk pair are stepped over but are no unknown bytes.
    EXPECT_EQ(diagnostics.bytesSkipped, 0u);
}

// The chunks the file lacks are written all the same, so they get the lengths of empty ones.
TEST(TrackReaderTest, FileHeaderAloneSetsItsFieldsAndTheEmptyChunkLengths)
{
    const Track read = decode(fileHeaderChunk());
    Track expected;
    expected.headerValue = -7;
    expected.headerBytes = {1, 2, 3, 4, 5};
    expected.headerFlag = 1;
    expected.infoLength = 4;
    expected.vertexLength = 40;
    expected.segmentLength = 41;
    expected.supportLength = 36;
    expected.fundamentLength = expected.railConnectorLength = expected.freeNodeLength = 40;
    expected.tubeLength = expected.catwalkLength = expected.sceneryObjectLength = 40;
    expected.sceneryLength = 88;
    expected.sceneryChildCount = 1;
    expected.environmentLength = 44;
    EXPECT_EQ(read, expected);
    EXPECT_EQ(decode(Bytes{'j', 'u', 'n', 'k', 0, 1, 2, 3}), Track{});
}

TEST(TrackReaderTest, FindsTagsOnlyOnTheFourByteStride)
{
    const Bytes junk8{'j', 'u', 'n', 'k', 0, 1, 2, 3};
    const Bytes junk6{'j', 'u', 'n', 'k', 0, 1};
    const Bytes junk7{'X', 'Y', 'Z', 'W', 9, 9, 9};  // an unknown chunk of 7 bytes

    ReadDiagnostics diagnostics;
    EXPECT_EQ(decode(join({junk8, fileHeaderChunk()}), &diagnostics).headerValue, -7);
    EXPECT_EQ(diagnostics.bytesSkipped, 8u);  // the junk; the header's child count is expected
    EXPECT_EQ(decode(join({junk6, fileHeaderChunk()}), &diagnostics).headerValue, 0);
    EXPECT_EQ(diagnostics.bytesSkipped, 6u + 32u);
    EXPECT_EQ(decode(join({junk7, fileHeaderChunk()})).headerValue, 0);
    EXPECT_EQ(decode(join({junk7, Bytes{0}, fileHeaderChunk()})).headerValue, -7);
}

TEST(TrackReaderTest, ScansTheBlockOfAnUnknownSegmentKindAsTags)
{
    Track track = makeNewTrack();
    addSegment(9, 1, 1, {}, {}, {}, 1, 5, track);
    track.segments[0].extraLength = 20;
    const Bytes plain = encodeTrack(track);

    // The 20 block bytes the writer left out, put back after the segment's 37 common bytes.
    Bytes withBlock = plain;
    const std::size_t blockAt = find(plain, "SEGM") + 4 + 4 + 4 + 1 + 16 + 37;
    withBlock.insert(withBlock.begin() + static_cast<std::ptrdiff_t>(blockAt), 20, 0x11);

    ReadDiagnostics plainDiagnostics;
    ReadDiagnostics blockDiagnostics;
    const Track fromPlain = decode(plain, &plainDiagnostics);
    const Track fromBlock = decode(withBlock, &blockDiagnostics);
    EXPECT_EQ(fromPlain, track);
    EXPECT_EQ(fromBlock, track);
    EXPECT_EQ(fromBlock.segments[0].extraLength, 20);
    EXPECT_EQ(blockDiagnostics.bytesSkipped, plainDiagnostics.bytesSkipped + 20);
}

TEST(TrackReaderTest, ALaterChunkReplacesAnEarlierOne)
{
    const Track read = decode(join({fundamentChunk(3, 3), fundamentChunk(1, 1)}));
    ASSERT_EQ(read.fundaments.size(), 1u);
    EXPECT_EQ(read.fundamentLength, 40 + 92);
    EXPECT_EQ(read.fundaments[0].position, (Float3{1, 2, 3}));
}

TEST(TrackReaderTest, ACountBeyondTheBytesKeepsTheWholeElements)
{
    ReadDiagnostics diagnostics;
    const Bytes chunk = fundamentChunk(0x7FFFFFFF, 2);
    // Cut inside the third element's place: the two whole fundaments stay.
    const Track read = decode(chunk, &diagnostics);
    ASSERT_EQ(read.fundaments.size(), 2u);
    EXPECT_EQ(read.fundaments[1].valueB, 1);
    EXPECT_EQ(read.fundaments[1].flagA, 1);
    EXPECT_EQ(diagnostics.chunksCutShort, 1);

    Bytes partial = fundamentChunk(3, 3);
    partial.resize(24 + 2 * 92 + 50);
    EXPECT_EQ(decode(partial).fundaments.size(), 2u);
}

TEST(TrackReaderTest, ANegativeTextLengthEndsOnlyItsChunk)
{
    ChunkWriter info;
    info.writeRawTag("INFO");
    info.writeInt32(39);
    info.writeZeros(16);
    info.writeInt32(-1);
    info.writeInt32(0);
    ReadDiagnostics diagnostics;
    const Track read = decode(join({info.take(), fileHeaderChunk()}), &diagnostics);
    // The text is dropped, so the length counts the empty text that is written in its place.
    EXPECT_EQ(read.infoLength, 4);
    EXPECT_EQ(read.infoText, "");
    EXPECT_EQ(read.headerValue, -7);
    EXPECT_EQ(diagnostics.negativeTextLengths, 1);
    EXPECT_EQ(diagnostics.chunksCutShort, 0);
}

TEST(TrackReaderTest, StoresNoTerrainValueOutsideTheGrid)
{
    Track track;
    track.terrain.terrainColumns = 3;
    track.terrain.terrainRows = 0;
    Bytes terrain = encodeTrack(track);
    terrain.erase(terrain.begin(),
                  terrain.begin() + static_cast<std::ptrdiff_t>(find(terrain, "TERA")));

    // 302 columns and 2 rows of values 0, 1, 2, ... in place of the empty grid.
    const std::int32_t columns = 302, rows = 2;
    Bytes oversized(terrain.begin(), terrain.begin() + 89 - 20);
    oversized[8] = 0;
    oversized[9] = 0;
    oversized[10] = columns >> 8;
    oversized[11] = columns & 0xFF;
    oversized[15] = rows;
    ChunkWriter grid;
    for (int i = 0; i < columns * rows; ++i)
        grid.writeFloat32(static_cast<float>(i));
    grid.writeZeros(16);
    grid.writeInt32(0);
    const Track read = decode(join({oversized, grid.take(), fileHeaderChunk()}));

    ASSERT_EQ(read.terrain.terrainGrid.size(), 90000u);
    EXPECT_EQ(read.terrain.terrainColumns, 302);
    EXPECT_EQ(read.terrain.terrainGrid[299], 299.0f);
    EXPECT_EQ(read.terrain.terrainGrid[300], 302.0f);  // row 1 column 0
    EXPECT_EQ(read.terrain.terrainGrid[300 + 299], 302.0f + 299.0f);
    EXPECT_EQ(read.terrain.terrainGrid[600], 0.0f);
    EXPECT_EQ(read.headerValue, -7);  // the scan goes on after the grid
}

// The terrain chunk of a track whose grid has `rows` x `columns` values 1, 2, 3, ... in file order.
Bytes terrainChunk(std::int32_t rows, std::int32_t columns)
{
    Track track;
    track.terrain.terrainRows = rows;
    track.terrain.terrainColumns = columns;
    track.terrain.terrainGrid.assign(90000, 0.0f);
    for (int r = 0; r < std::max(rows, 0); ++r)
        for (int c = 0; c < std::max(columns, 0); ++c)
            track.terrain.terrainGrid[static_cast<std::size_t>(r) * 300 + c] =
                static_cast<float>(r * columns + c + 1);
    const Bytes file = encodeTrack(track);
    return slice(file, find(file, "TERA"), file.size() - find(file, "TERA"));
}

TEST(TrackReaderTest, ARepeatedTerrainChunkReplacesTheWholeGrid)
{
    const Terrain small = decode(terrainChunk(2, 2)).terrain;
    ASSERT_EQ(small.terrainGrid[301], 4.0f);
    // Whatever came before, the last terrain chunk's grid is all there is.
    for (const Bytes& before : {terrainChunk(3, 5), terrainChunk(300, 300), terrainChunk(-1, 4)}) {
        const Track read = decode(join({before, terrainChunk(2, 2)}));
        EXPECT_EQ(read.terrain, small);
        EXPECT_EQ(decode(join({before, terrainChunk(2, 2), before, terrainChunk(2, 2)})).terrain,
                  small);
    }
    EXPECT_TRUE(decode(join({terrainChunk(3, 5), terrainChunk(0, 4)})).terrain.terrainGrid.empty());
}

TEST(TrackReaderTest, SurvivesTheRichFileCutAtEveryOffset)
{
    const Track rich = makeRichTrack();
    const Bytes file = encodeTrack(rich);
    for (std::size_t cut = 0; cut <= file.size(); ++cut) {
        ReadDiagnostics diagnostics;
        const Track read = decode(slice(file, 0, cut), &diagnostics);
        ASSERT_LE(read.fundaments.size(), rich.fundaments.size()) << cut;
        ASSERT_TRUE(
            std::equal(read.fundaments.begin(), read.fundaments.end(), rich.fundaments.begin()))
            << cut;
        ASSERT_LE(read.sceneryObjects.size(), rich.sceneryObjects.size()) << cut;
        ASSERT_LE(diagnostics.chunksCutShort, 1) << cut;
    }
}

// For each chunk with a length field in a file as the writer lays it out: its length, and the
// bytes that follow the field to the chunk's end (for "INFO", its text's bytes alone; for
// "SCEN", up to the end of its object child). Chunks are found in the writer's order.
std::vector<std::pair<std::int32_t, std::int64_t>> lengthsAndBytes(const Bytes& file)
{
    const char* order[] = {"INFO", "BEZR", "SEGM", "SUPP", "FUND", "RASC", "FREN",
                           "TUBE", "CATW", "SCEN", "SCOB", "CSTM", "ENVC"};
    std::vector<std::size_t> at;
    std::size_t from = 0;
    for (const char* tag : order) {
        const Bytes rest = slice(file, from, file.size() - from);
        at.push_back(from + find(rest, tag));
        from = at.back() + 4;
    }
    at.push_back(find(file, "TERA") < file.size() ? find(file, "TERA") : file.size());
    std::vector<std::pair<std::int32_t, std::int64_t>> result;
    for (std::size_t i = 0; i + 1 < at.size(); ++i) {
        if (std::string_view(order[i]) == "CSTM")
            continue;
        const std::size_t end = std::string_view(order[i]) == "SCEN" ? at[i + 2] : at[i + 1];
        std::int64_t bytes = static_cast<std::int64_t>(end - (at[i] + 8));
        if (std::string_view(order[i]) == "INFO")
            bytes -= 16 + 4;  // the reserved run and the child count around the text
        result.emplace_back(int32At(file, at[i] + 4), bytes);
    }
    return result;
}

TEST(TrackReaderTest, EveryCutOfTheRichFileSavesWithLengthsThatMatchItsBytes)
{
    const Bytes file = encodeTrack(makeRichTrack());
    const auto intact = lengthsAndBytes(file);
    for (const auto& [length, bytes] : intact)
        ASSERT_EQ(length, bytes);
    for (std::size_t cut = 0; cut <= file.size(); ++cut) {
        const Track read = decode(slice(file, 0, cut));
        if (!holdsTrackData(read))
            continue;
        const auto saved = lengthsAndBytes(encodeTrack(read));
        for (std::size_t chunk = 0; chunk < saved.size(); ++chunk)
            ASSERT_EQ(saved[chunk].first, saved[chunk].second)
                << "cut " << cut << ", chunk " << chunk;
    }
}

TEST(TrackReaderTest, TextsWithAZeroByteAreCountedAndTheirChunksLoseTheCutBytes)
{
    // Each text holds '#' where the file will hold a zero byte; the lengths count every byte.
    Track track = makeRichTrack();
    setInfoText("ab#cd", track);
    setEnvironmentTexts("env#", track.environmentTextB, track);
    const std::int64_t added = 4 - static_cast<std::int64_t>(track.sceneryObjects[0].textA.size()) +
                               2 - static_cast<std::int64_t>(track.sceneryObjects[0].textB.size());
    track.sceneryObjects[0].textA = "x#yz";
    track.sceneryObjects[0].textB = "Q#";
    moveChunkLength(track.sceneryObjectLength, added);
    moveChunkLength(track.sceneryLength, added);
    track.slots[0].text = "s#";
    Bytes file = encodeTrack(track);
    for (const char* text : {"ab#cd", "env#", "x#yz", "Q#", "s#"}) {
        const std::size_t at = find(file, text);
        ASSERT_LT(at, file.size()) << text;
        file[at + std::string_view(text).find('#')] = 0;
    }

    ReadDiagnostics diagnostics;
    const Track read = decode(file, &diagnostics);
    EXPECT_EQ(diagnostics.textsCutAtZero, 5);
    EXPECT_TRUE(isDamaged(diagnostics));
    EXPECT_EQ(read.infoText, std::string("ab\0cd", 5));
    EXPECT_EQ(read.infoLength, 4 + 2);
    EXPECT_EQ(read.environmentLength, track.environmentLength - 1);
    EXPECT_EQ(read.sceneryObjectLength, track.sceneryObjectLength - 3 - 1);
    EXPECT_EQ(read.sceneryLength, track.sceneryLength - 3 - 1);
    EXPECT_EQ(read.fundamentLength,
              track.fundamentLength);  // chunks without such texts keep theirs
    for (const auto& [length, bytes] : lengthsAndBytes(encodeTrack(read)))
        EXPECT_EQ(length, bytes);
}

// A text that claims more bytes than its chunk holds runs into the chunks after it; cut at a zero
// byte, its chunk must get the length of what is written, whatever the stored length was.
TEST(TrackReaderTest, ChunksWithATextCutAtAZeroByteGetTheLengthOfWhatIsWritten)
{
    Track track = makeRichTrack();
    setInfoText("ab#cd", track);
    setEnvironmentTexts("e", "env#", track);
    track.sceneryObjects.resize(1);
    track.sceneryObjects[0].textA = "xyz";
    track.sceneryObjects[0].textB = "Q#";
    const std::int32_t objectsLength = 40 + 88 + 3 + 2;
    moveChunkLength(track.sceneryLength, objectsLength - track.sceneryObjectLength);
    track.sceneryObjectLength = objectsLength;
    const Bytes intact = encodeTrack(track);
    const struct {
        const char* text;
        std::int32_t Track::*length;
        std::int32_t written;
    } cases[] = {
        {"ab#cd", &Track::infoLength, 4 + 2},
        {"env#", &Track::environmentLength, 44 + 1 + 3},
        {"Q#", &Track::sceneryObjectLength, 40 + 88 + 3 + 1},
    };
    for (const auto& c : cases) {
        Bytes file = intact;
        const std::size_t at = find(file, c.text);
        ASSERT_LT(at, file.size()) << c.text;
        file[at + std::string_view(c.text).find('#')] = 0;
        file[at - 1] += 8;  // the text's length field claims 8 bytes more than its chunk holds
        const Track read = decode(file);
        EXPECT_EQ(read.*c.length, c.written) << c.text;
        EXPECT_EQ(read.sceneryLength - read.sceneryObjectLength,
                  track.sceneryLength - track.sceneryObjectLength)
            << c.text;
        for (const auto& [length, bytes] : lengthsAndBytes(encodeTrack(read)))
            EXPECT_EQ(length, bytes) << c.text;
    }
}

TEST(TrackReaderTest, SurvivesEveryByteOfTheRichFileFlipped)
{
    const Bytes file = encodeTrack(makeRichTrack());
    for (std::size_t at = 0; at < file.size(); ++at) {
        for (std::uint8_t mask : {0x80, 0xFF}) {
            Bytes damaged = file;
            damaged[at] ^= mask;
            const Track read = decode(damaged);
            ASSERT_TRUE(read.terrain.terrainGrid.empty() ||
                        read.terrain.terrainGrid.size() == 90000u)
                << at;
        }
    }
}

}  // namespace
}  // namespace pw
