#include "TrackFile.h"

#include "Catching.h"
#include "ChunkReader.h"
#include "ChunkTags.h"
#include "DamagedChunkLengths.h"
#include "ElementLayouts.h"
#include "FileSync.h"
#include "TrackOperations.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <system_error>

namespace pw {

namespace {

// Whether a list's elements hold texts, whose negative lengths stop the list early and let the
// scan go on: room for such a list is reserved only up to a bound, or a file repeating such a
// chunk would cost the memory of every element the remaining bytes could hold, once per copy.
// Other lists stop early only at the end of the bytes, which also ends the scan.
enum class ElementTexts { None, Some };

// Reads `count` elements. Room is reserved for at most as many as the bytes left can hold, and an
// element that the bytes end inside of is dropped.
template <class T, class Decode>
std::vector<T> readList(ChunkReader& in, std::int32_t count, std::size_t minimumSize, Decode decode,
                        ElementTexts texts = ElementTexts::None)
{
    std::vector<T> list;
    if (count <= 0) {
        return list;
    }
    std::size_t reserved = std::min(static_cast<std::size_t>(count), in.remaining() / minimumSize);
    if (texts == ElementTexts::Some) {
        reserved = std::min<std::size_t>(reserved, 1024);  // longer lists grow as they are read
    }
    list.reserve(reserved);
    for (std::int32_t i = 0; i < count; ++i) {
        T element{};
        decode(in, element);
        if (!in.ok()) {
            break;
        }
        list.push_back(std::move(element));
    }
    return list;
}

// An element's decoding from its fixed layout.
template <class T>
auto byLayout(void (*layout)(LayoutReader&, T&))
{
    return [layout](ChunkReader& r, T& element) {
        LayoutReader io{r};
        layout(io, element);
    };
}

// A list preceded by its count.
template <class T, class Decode>
void readCountedList(ChunkReader& in, std::vector<T>& list, std::size_t minimumSize, Decode decode,
                     ElementTexts texts = ElementTexts::None)
{
    const std::int32_t count = in.readInt32();
    if (!in.ok()) {
        return;
    }
    list = readList<T>(in, count, minimumSize, decode, texts);
}

// A chunk of one such list: its length, 16 reserved bytes, the list and 16 reserved bytes more.
template <class T, class Decode>
void decodeListChunk(ChunkReader& in, std::int32_t& length, std::vector<T>& list,
                     std::size_t minimumSize, Decode decode,
                     ElementTexts texts = ElementTexts::None)
{
    in.read(length);
    in.skipBytes(16);
    readCountedList(in, list, minimumSize, decode, texts);
    in.skipBytes(16);
}

void decodeFileHeader(ChunkReader& in, Track& track)
{
    in.read(track.headerValue);
    for (auto& value : track.headerBytes) {
        in.read(value);
    }
    in.readFlag(track.headerFlag);
    in.skipBytes(14);
}

void decodeTrackHeader(ChunkReader& in, Track& track)
{
    in.read(track.trackValueA);
    in.read(track.trackValueB);
    const std::int32_t slotCount = in.readInt32();
    in.read(track.trackValueC);
    if (!in.ok()) {
        return;
    }
    track.slots = readList<TrackSlot>(
        in, slotCount, slotMinimumSize,
        [](ChunkReader& r, TrackSlot& slot) {
            LayoutReader io{r};
            slotLayout(io, slot);
        },
        ElementTexts::Some);
    // The count follows the slots actually read: the writer pads to the count, and a claimed
    // count of millions in a cut-short file would make saving write gigabytes.
    track.slotCount = std::min(slotCount, static_cast<std::int32_t>(track.slots.size()));
    for (auto& colour : track.colours) {
        in.read(colour);
    }
    for (auto& value : track.trackBytes) {
        in.read(value);
    }
    in.read(track.trackValueD);
    in.readFlag(track.trackFlag);
    in.read(track.extraColour);
    in.skipBytes(3);
}

void decodeInfo(ChunkReader& in, Track& track)
{
    in.read(track.infoLength);
    in.skipBytes(16);
    in.read(track.infoText);
}

void decodeVertices(ChunkReader& in, Track& track)
{
    decodeListChunk(in, track.vertexLength, track.vertices, vertexEncodedSize,
                    byLayout(vertexLayout<LayoutReader, Vertex>));
}

void decodeSegments(ChunkReader& in, Track& track)
{
    in.read(track.segmentLength);
    const std::int32_t count = in.readInt32();
    in.readFlag(track.segmentFlag);
    in.skipBytes(16);
    if (!in.ok()) {
        return;
    }
    track.segments =
        readList<Segment>(in, count, segmentMinimumSize, [](ChunkReader& r, Segment& segment) {
            LayoutReader io{r};
            segmentLayout(io, segment);
        });
    in.skipBytes(16);
}

void decodeSupports(ChunkReader& in, Track& track)
{
    in.read(track.supportLength);
    in.skipBytes(32);
}

void decodeFundaments(ChunkReader& in, Track& track)
{
    decodeListChunk(in, track.fundamentLength, track.fundaments, fundamentEncodedSize,
                    byLayout(fundamentLayout<LayoutReader, Fundament>));
}

void decodeRailConnectors(ChunkReader& in, Track& track)
{
    decodeListChunk(in, track.railConnectorLength, track.groups, groupMinimumSize,
                    [](ChunkReader& r, RailConnectorGroup& group) {
                        readCountedList(r, group.connectors, railConnectorEncodedSize,
                                        byLayout(railConnectorLayout<LayoutReader, RailConnector>));
                    });
    in.skipBytes(4);  // the child count, which the tag scan would otherwise step over
}

void decodeFreeNodes(ChunkReader& in, Track& track)
{
    decodeListChunk(in, track.freeNodeLength, track.freeNodes, freeNodeEncodedSize,
                    byLayout(freeNodeLayout<LayoutReader, FreeNode>));
}

void decodeTubes(ChunkReader& in, Track& track)
{
    decodeListChunk(in, track.tubeLength, track.tubes, tubeEncodedSize,
                    byLayout(tubeLayout<LayoutReader, Tube>));
}

void decodeCatwalk(ChunkReader& in, Catwalk& catwalk)
{
    for (auto& value : catwalk.values) {
        value = in.readInt32();
    }
    readCountedList(in, catwalk.bytes, 1, [](ChunkReader& r, std::int8_t& b) { b = r.readInt8(); });
}

void decodeCatwalks(ChunkReader& in, Track& track)
{
    decodeListChunk(in, track.catwalkLength, track.catwalks, catwalkMinimumSize, decodeCatwalk);
}

void decodeScenery(ChunkReader& in, Track& track)
{
    decodeListChunk(in, track.sceneryLength, track.sceneryItems, sceneryItemSize,
                    byLayout(sceneryItemLayout<LayoutReader, SceneryItem>));
    in.read(track.sceneryChildCount);
}

void decodeSceneryObjects(ChunkReader& in, Track& track)
{
    decodeListChunk(in, track.sceneryObjectLength, track.sceneryObjects, sceneryObjectMinimumSize,
                    byLayout(sceneryObjectLayout<LayoutReader, SceneryObject>), ElementTexts::Some);
}

void decodeEnvironment(ChunkReader& in, Track& track)
{
    in.read(track.environmentLength);
    in.skipBytes(16);
    in.read(track.environmentTextA);
    in.read(track.environmentTextB);
    in.skipBytes(16);
}

// The terrain grid while the scan fills it. It is allocated once per read, and a later terrain
// chunk clears only the part an earlier one wrote, so that a repeated chunk costs what its own
// bytes cost rather than a fill of the whole grid.
struct TerrainGridStorage {
    std::vector<float> values;     // empty, or terrainGridSize * terrainGridSize values
    std::int32_t usedRows = 0;     // values may be non-zero only in rows [0, usedRows)
    std::int32_t usedColumns = 0;  // and columns [0, usedColumns)
    bool decoded = false;          // a terrain chunk reached its grid
    bool filled = false;           // the last one that did had a grid to store
};

// Values beyond the fixed grid are read past and dropped.
void decodeTerrainGrid(ChunkReader& in, const Terrain& terrain, TerrainGridStorage& grid)
{
    const std::int32_t rows = terrain.terrainRows;
    const std::int32_t columns = terrain.terrainColumns;
    grid.decoded = true;
    grid.filled = rows > 0 && columns > 0;
    if (!grid.filled) {
        return;
    }
    if (grid.values.empty()) {
        grid.values.assign(static_cast<std::size_t>(terrainGridSize) * terrainGridSize, 0.0f);
    } else {
        for (std::int32_t r = 0; r < grid.usedRows; ++r) {
            const auto row = grid.values.begin() + static_cast<std::ptrdiff_t>(r) * terrainGridSize;
            std::fill(row, row + grid.usedColumns, 0.0f);
        }
    }
    grid.usedRows = 0;
    grid.usedColumns = 0;
    for (std::int32_t r = 0; r < rows && in.ok(); ++r) {
        for (std::int32_t c = 0; c < columns && in.ok(); ++c) {
            const float value = in.readFloat32();
            if (in.ok() && r < terrainGridSize && c < terrainGridSize) {
                grid.values[static_cast<std::size_t>(r) * terrainGridSize + c] = value;
                grid.usedRows = r + 1;
                grid.usedColumns = std::max(grid.usedColumns, c + 1);
            }
        }
    }
}

void decodeTerrain(ChunkReader& in, Track& track, TerrainGridStorage& grid)
{
    Terrain& terrain = track.terrain;
    LayoutKeepingReader io{in};
    terrainHeaderLayout(io, terrain, terrain.terrainColumns, terrain.terrainRows);
    if (!in.ok()) {
        return;
    }
    decodeTerrainGrid(in, terrain, grid);
    in.skipBytes(16);
}

void decodeChunk(int tag, ChunkReader& in, Track& track, TerrainGridStorage& grid)
{
    switch (tag) {
    case TagFileHeader: decodeFileHeader(in, track); break;
    case TagTrackHeader: decodeTrackHeader(in, track); break;
    case TagInfo: decodeInfo(in, track); break;
    case TagVertices: decodeVertices(in, track); break;
    case TagSegments: decodeSegments(in, track); break;
    case TagSupports: decodeSupports(in, track); break;
    case TagFundaments: decodeFundaments(in, track); break;
    case TagRailConnectors: decodeRailConnectors(in, track); break;
    case TagFreeNodes: decodeFreeNodes(in, track); break;
    case TagTubes: decodeTubes(in, track); break;
    case TagCatwalks: decodeCatwalks(in, track); break;
    case TagScenery: decodeScenery(in, track); break;
    case TagSceneryObjects: decodeSceneryObjects(in, track); break;
    case TagTerrain: decodeTerrain(in, track, grid); break;
    case TagEnvironment: decodeEnvironment(in, track); break;
    default: break;
    }
}

// The fixed bodies of the custom chunk pair the writer adds: "CSTM" with its length and child
// count, "vrtx" with its length, one value and its child count. 0 for any other four bytes.
std::size_t customChunkBodySize(std::span<const std::uint8_t> tag)
{
    const auto is = [&](const char* name) { return std::equal(tag.begin(), tag.end(), name); };
    if (is("CSTM")) {
        return 8;
    }
    if (is("vrtx")) {
        return 12;
    }
    return 0;
}

// The writer writes every chunk, also one the file lacked. Such a chunk gets the length of its
// empty body, so that the lengths still match the bytes once elements are added to it. The
// scenery chunk's length covers its scenery-object child, which it always has once written; a
// scenery chunk read with a child count of 0 did not count one.
// A file in which no chunk was recognised is no track, and its record stays empty.
void giveAbsentChunksTheirEmptyLengths(const std::array<bool, TagEnvironment + 1>& decoded,
                                       Track& track)
{
    if (std::find(decoded.begin(), decoded.end(), true) == decoded.end()) {
        return;
    }
    struct EmptyChunk {
        int tag;
        std::int32_t Track::*length;
        std::int32_t emptyLength;
    };
    static const EmptyChunk emptyChunks[] = {
        {TagInfo, &Track::infoLength, encodedTextSize(std::string())},
        {TagVertices, &Track::vertexLength, emptyListChunkLength},
        {TagSegments, &Track::segmentLength, emptySegmentChunkLength},
        {TagSupports, &Track::supportLength, supportChunkLength},
        {TagFundaments, &Track::fundamentLength, emptyListChunkLength},
        {TagRailConnectors, &Track::railConnectorLength, emptyListChunkLength},
        {TagFreeNodes, &Track::freeNodeLength, emptyListChunkLength},
        {TagTubes, &Track::tubeLength, emptyListChunkLength},
        {TagCatwalks, &Track::catwalkLength, emptyListChunkLength},
        {TagSceneryObjects, &Track::sceneryObjectLength, emptyListChunkLength},
        {TagEnvironment, &Track::environmentLength, emptyEnvironmentChunkLength},
    };
    for (const EmptyChunk& chunk : emptyChunks) {
        if (!decoded[static_cast<std::size_t>(chunk.tag)]) {
            track.*chunk.length = chunk.emptyLength;
        }
    }
    if (!decoded[TagScenery]) {
        track.sceneryLength = emptyListChunkLength;
        moveChunkLength(track.sceneryLength,
                        std::int64_t{sceneryObjectChildOverhead} + track.sceneryObjectLength);
        track.sceneryChildCount = 1;
    } else if (!decoded[TagSceneryObjects]) {
        if (track.sceneryChildCount > 0) {
            // Its length counted a child the file lost (cut after the scenery chunk): it gets
            // the length of what is written, the empty child included.
            track.sceneryLength = 0;
            moveChunkLength(
                track.sceneryLength,
                emptySceneryChunkLength +
                    static_cast<std::int64_t>(track.sceneryItems.size()) * sceneryItemEncodedSize);
        } else {
            moveChunkLength(track.sceneryLength, sceneryObjectChildOverhead + emptyListChunkLength);
        }
        track.sceneryChildCount = std::max(track.sceneryChildCount, 1);
    }
}

}  // namespace

void readTrackBytes(std::span<const std::uint8_t> bytes, Track& track, ReadDiagnostics* diagnostics)
{
    ReadDiagnostics found;
    std::array<bool, TagEnvironment + 1> decoded{};
    std::array<bool, TagEnvironment + 1> cutShort{};  // by the chunk's last occurrence
    TerrainGridStorage grid;
    if (track.terrain.terrainGrid.size() ==
        static_cast<std::size_t>(terrainGridSize) * terrainGridSize) {
        grid.values = std::move(track.terrain.terrainGrid);
        grid.usedRows = terrainGridSize;
        grid.usedColumns = terrainGridSize;
    }
    ChunkReader scan(bytes);
    // Bytes the scan steps over that the layout accounts for (a decoded chunk's child count, the
    // custom chunk pair the writer always adds) are not reported as skipped: only what no known
    // layout explains is.
    std::size_t expectedUntil = 0;
    // The file is not walked as a tree: every four bytes that name a known chunk start one, and
    // whatever a decoded chunk leaves (child counts, unknown chunks) is stepped over four bytes
    // at a time.
    while (!scan.atEnd()) {
        const std::size_t tagStart = scan.position();
        const int tag = scan.readTag();
        if (tag == TagNone) {
            const std::size_t tagEnd = scan.position();
            if (tagEnd - tagStart == 4 && tagStart >= expectedUntil) {
                if (const std::size_t body = customChunkBodySize(bytes.subspan(tagStart, 4))) {
                    expectedUntil = tagEnd + body;
                }
            }
            if (tagEnd > expectedUntil) {
                found.bytesSkipped += tagEnd - std::max(tagStart, expectedUntil);
            }
            continue;
        }
        ChunkReader chunk = scan.rest();
        decodeChunk(tag, chunk, track, grid);
        decoded[static_cast<std::size_t>(tag)] = true;
        cutShort[static_cast<std::size_t>(tag)] = !chunk.ok();
        scan.skipBytes(chunk.position());
        if (chunk.failure() == ReadFailure::CutShort) {
            ++found.chunksCutShort;
        } else if (chunk.failure() == ReadFailure::NegativeLength) {
            ++found.negativeTextLengths;
        } else if (tag != TagRailConnectors && tag != TagScenery) {
            expectedUntil = scan.position() + 4;  // the child count the chunk leaves to the scan
        }
    }
    if (grid.decoded && !grid.filled) {
        track.terrain.terrainGrid.clear();
    } else if (!grid.values.empty()) {
        track.terrain.terrainGrid = std::move(grid.values);
    }
    giveAbsentChunksTheirEmptyLengths(decoded, track);
    fixLengthsOfDamagedChunks(cutShort, track);
    found.textsCutAtZero = textsCutAtZero(track);
    if (diagnostics != nullptr) {
        *diagnostics = found;
    }
}

bool isDamaged(const ReadDiagnostics& diagnostics)
{
    return diagnostics.bytesSkipped > 0 || diagnostics.chunksCutShort > 0 ||
           diagnostics.negativeTextLengths > 0 || diagnostics.textsCutAtZero > 0;
}

bool holdsTrackData(const Track& track)
{
    // The grid is storage, not data: the reader may size it whether or not a terrain was found.
    Track empty;
    empty.terrain.terrainGrid = track.terrain.terrainGrid;
    return !(track == empty);
}

namespace {

enum class WholeRead { Complete, TooLarge, Failed };

// Everything `in` holds, in one pass and never more than largestTrackFileSize bytes. A size
// known beforehand (a regular file's) makes it one allocation; a pipe's data, whose size nobody
// knows, grows the buffer as it comes. A read error (a bad sector, a share that went away) is
// Failed, not an early end: a part of a track must not pass for the whole.
WholeRead readWhole(std::FILE* in, std::uint64_t expectedSize, std::vector<std::uint8_t>& bytes)
{
    constexpr std::size_t blockSize = std::size_t{1} << 20;
    constexpr std::size_t limit = static_cast<std::size_t>(largestTrackFileSize) + 1;
    // One byte more than expected, to see the end without growing the buffer.
    std::size_t nextSize = expectedSize > 0 && expectedSize <= largestTrackFileSize
                               ? static_cast<std::size_t>(expectedSize) + 1
                               : blockSize;
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() >= limit) {
                return WholeRead::TooLarge;
            }
            bytes.resize(std::min(std::max(nextSize, bytes.size() * 2), limit));
        }
        const std::size_t got = std::fread(bytes.data() + filled, 1, bytes.size() - filled, in);
        filled += got;
        if (got == 0 || std::feof(in) || std::ferror(in)) {
            break;
        }
    }
    if (std::ferror(in)) {
        return WholeRead::Failed;
    }
    bytes.resize(filled);
    return WholeRead::Complete;
}

// Reads and decodes; `path` names the source in errors, empty for standard input.
Result<void> readTrackFrom(std::FILE* in, std::uint64_t expectedSize,
                           const std::filesystem::path& path, Track& track, ReadDiagnostics& report)
{
    Result<void> read = catchingAllocation(
        [&]() -> Result<void> {
            std::vector<std::uint8_t> bytes;
            errno = 0;
            switch (readWhole(in, expectedSize, bytes)) {
            case WholeRead::TooLarge:
                return CoreError(FileError::StreamTooLarge, path, {}, {}, largestTrackFileSize);
            case WholeRead::Failed:
                return CoreError(
                    FileError::CannotOpen, path,
                    errno != 0 ? errnoCode() : std::make_error_code(std::errc::io_error));
            case WholeRead::Complete: break;
            }
            readTrackBytes(bytes, track, &report);
            return {};
        },
        CoreError(FileError::NoMemoryToRead, path));
    if (!read && read.error().code == FileError::NoMemoryToRead) {
        // The caller passed an empty track; it gets one back rather than a part.
        track = Track{};
        report = ReadDiagnostics{};
    }
    return read;
}

}  // namespace

Result<void> readTrackFile(const std::filesystem::path& path, Track& track,
                           ReadDiagnostics* diagnostics)
{
    ReadDiagnostics unused;
    ReadDiagnostics& report = diagnostics != nullptr ? *diagnostics : unused;
    report = ReadDiagnostics{};

    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return CoreError(FileError::OpenedADirectory, path);
    }
    const Result<FileHandle> file = openFileForReading(path);
    if (!file) {
        return file.error();
    }
    // A regular file's size is known: one far beyond any track is refused unread. Pipes and
    // devices have none, and are read up to the same limit.
    std::uint64_t size = 0;
    if (std::filesystem::is_regular_file(path, ec)) {
        size = std::filesystem::file_size(path, ec);
        if (ec) {
            size = 0;
        }
    }
    if (size > largestTrackFileSize) {
        return CoreError(FileError::FileTooLarge, path, {}, {}, size);
    }
    return readTrackFrom(file->get(), size, path, track, report);
}

Result<void> readTrackFromOpenFile(std::FILE* in, std::uint64_t expectedSize,
                                   const std::filesystem::path& path, Track& track,
                                   ReadDiagnostics* diagnostics)
{
    ReadDiagnostics unused;
    ReadDiagnostics& report = diagnostics != nullptr ? *diagnostics : unused;
    report = ReadDiagnostics{};
    return readTrackFrom(in, expectedSize, path, track, report);
}

Result<void> readTrackFromStandardInput(Track& track, ReadDiagnostics* diagnostics)
{
    ReadDiagnostics unused;
    ReadDiagnostics& report = diagnostics != nullptr ? *diagnostics : unused;
    report = ReadDiagnostics{};
    setStandardInputBinary();
    return readTrackFrom(stdin, 0, {}, track, report);
}

}  // namespace pw
