#include "TrackFile.h"

#include "ChunkReader.h"
#include "ChunkTags.h"
#include "ElementLayouts.h"
#include "TrackOperations.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fstream>
#include <new>
#include <system_error>

namespace pw {

namespace {

// Reads `count` elements. Room is reserved only for as many as the bytes left can hold, and an
// element that the bytes end inside of is dropped.
template <class T, class Decode>
std::vector<T> readList(ChunkReader& in, std::int32_t count, std::size_t minimumSize,
                        Decode decode)
{
    std::vector<T> list;
    if (count <= 0) {
        return list;
    }
    list.reserve(std::min(static_cast<std::size_t>(count), in.remaining() / minimumSize));
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

// A list whose elements have a fixed layout, preceded by its count.
template <class T, class Layout>
void readCountedList(ChunkReader& in, std::vector<T>& list, std::size_t minimumSize, Layout layout)
{
    const std::int32_t count = in.readInt32();
    if (!in.ok()) {
        return;
    }
    list = readList<T>(in, count, minimumSize, [&](ChunkReader& r, T& element) {
        LayoutReader io{r};
        layout(io, element);
    });
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
    track.slots = readList<TrackSlot>(in, slotCount, slotMinimumSize,
                                      [](ChunkReader& r, TrackSlot& slot) {
                                          LayoutReader io{r};
                                          slotLayout(io, slot);
                                      });
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
    in.read(track.vertexLength);
    in.skipBytes(16);
    readCountedList(in, track.vertices, vertexEncodedSize,
                    [](LayoutReader& io, Vertex& v) { vertexLayout(io, v); });
    in.skipBytes(16);
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
    track.segments = readList<Segment>(in, count, segmentMinimumSize,
                                       [](ChunkReader& r, Segment& segment) {
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
    in.read(track.fundamentLength);
    in.skipBytes(16);
    readCountedList(in, track.fundaments, fundamentEncodedSize,
                    [](LayoutReader& io, Fundament& f) { fundamentLayout(io, f); });
    in.skipBytes(16);
}

void decodeRailConnectors(ChunkReader& in, Track& track)
{
    in.read(track.railConnectorLength);
    in.skipBytes(16);
    const std::int32_t count = in.readInt32();
    if (!in.ok()) {
        return;
    }
    track.groups = readList<RailConnectorGroup>(
        in, count, groupMinimumSize, [](ChunkReader& r, RailConnectorGroup& group) {
            readCountedList(r, group.connectors, railConnectorEncodedSize,
                            [](LayoutReader& io, RailConnector& c) { railConnectorLayout(io, c); });
        });
    in.skipBytes(16);
    in.skipBytes(4);  // the child count, which the tag scan would otherwise step over
}

void decodeFreeNodes(ChunkReader& in, Track& track)
{
    in.read(track.freeNodeLength);
    in.skipBytes(16);
    readCountedList(in, track.freeNodes, freeNodeEncodedSize,
                    [](LayoutReader& io, FreeNode& n) { freeNodeLayout(io, n); });
    in.skipBytes(16);
}

void decodeTubes(ChunkReader& in, Track& track)
{
    in.read(track.tubeLength);
    in.skipBytes(16);
    readCountedList(in, track.tubes, tubeEncodedSize,
                    [](LayoutReader& io, Tube& t) { tubeLayout(io, t); });
    in.skipBytes(16);
}

void decodeCatwalk(ChunkReader& in, Catwalk& catwalk)
{
    for (auto& value : catwalk.values) {
        value = in.readInt32();
    }
    const std::int32_t byteCount = in.readInt32();
    if (!in.ok()) {
        return;
    }
    catwalk.bytes = readList<std::int8_t>(in, byteCount, 1, [](ChunkReader& r, std::int8_t& b) {
        b = r.readInt8();
    });
}

void decodeCatwalks(ChunkReader& in, Track& track)
{
    in.read(track.catwalkLength);
    in.skipBytes(16);
    const std::int32_t count = in.readInt32();
    if (!in.ok()) {
        return;
    }
    track.catwalks = readList<Catwalk>(in, count, catwalkMinimumSize, decodeCatwalk);
    in.skipBytes(16);
}

void decodeScenery(ChunkReader& in, Track& track)
{
    in.read(track.sceneryLength);
    in.skipBytes(16);
    readCountedList(in, track.sceneryItems, sceneryItemSize,
                    [](LayoutReader& io, SceneryItem& item) { sceneryItemLayout(io, item); });
    in.skipBytes(16);
    in.read(track.sceneryChildCount);
}

void decodeSceneryObjects(ChunkReader& in, Track& track)
{
    in.read(track.sceneryObjectLength);
    in.skipBytes(16);
    readCountedList(in, track.sceneryObjects, sceneryObjectMinimumSize,
                    [](LayoutReader& io, SceneryObject& o) { sceneryObjectLayout(io, o); });
    in.skipBytes(16);
}

void decodeEnvironment(ChunkReader& in, Track& track)
{
    in.read(track.environmentLength);
    in.skipBytes(16);
    in.read(track.environmentTextA);
    in.read(track.environmentTextB);
    in.skipBytes(16);
}

// Values beyond the fixed grid are read past and dropped.
void decodeTerrainGrid(ChunkReader& in, Terrain& terrain)
{
    const std::int32_t rows = terrain.terrainRows;
    const std::int32_t columns = terrain.terrainColumns;
    if (rows <= 0 || columns <= 0) {
        terrain.terrainGrid.clear();
        return;
    }
    terrain.terrainGrid.assign(terrainGridSize * terrainGridSize, 0.0f);
    for (std::int32_t r = 0; r < rows && in.ok(); ++r) {
        for (std::int32_t c = 0; c < columns && in.ok(); ++c) {
            const float value = in.readFloat32();
            if (in.ok() && r < terrainGridSize && c < terrainGridSize) {
                terrain.terrainGrid[static_cast<std::size_t>(r) * terrainGridSize + c] = value;
            }
        }
    }
}

void decodeTerrain(ChunkReader& in, Track& track)
{
    Terrain& terrain = track.terrain;
    in.read(terrain.terrainValue);
    in.read(terrain.terrainColumns);
    in.read(terrain.terrainRows);
    in.read(terrain.terrainF1);
    in.read(terrain.terrainF2);
    in.read(terrain.terrainTextA);
    in.read(terrain.terrainF3);
    in.read(terrain.terrainTextB);
    in.read(terrain.terrainF4);
    in.readFlag(terrain.terrainFlagA);
    in.read(terrain.terrainF5);
    in.read(terrain.terrainTextC);
    in.read(terrain.terrainF6);
    in.read(terrain.terrainByte);
    in.readFlag(terrain.terrainFlagB);
    in.read(terrain.terrainF7);
    in.skipBytes(10);
    if (!in.ok()) {
        return;
    }
    decodeTerrainGrid(in, terrain);
    in.skipBytes(16);
}

void decodeChunk(int tag, ChunkReader& in, Track& track)
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
    case TagTerrain: decodeTerrain(in, track); break;
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
// scenery chunk's length covers its scenery-object child, which it always has once written.
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
        moveChunkLength(track.sceneryLength, sceneryObjectChildOverhead + emptyListChunkLength);
        track.sceneryChildCount = std::max(track.sceneryChildCount, 1);
    }
}

}  // namespace

void readTrackBytes(std::span<const std::uint8_t> bytes, Track& track,
                    ReadDiagnostics* diagnostics)
{
    ReadDiagnostics found;
    std::array<bool, TagEnvironment + 1> decoded{};
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
        decodeChunk(tag, chunk, track);
        decoded[static_cast<std::size_t>(tag)] = true;
        scan.skipBytes(chunk.position());
        if (chunk.failure() == ReadFailure::CutShort) {
            ++found.chunksCutShort;
        } else if (chunk.failure() == ReadFailure::NegativeLength) {
            ++found.negativeTextLengths;
        } else if (tag != TagRailConnectors && tag != TagScenery) {
            expectedUntil = scan.position() + 4;  // the child count the chunk leaves to the scan
        }
    }
    giveAbsentChunksTheirEmptyLengths(decoded, track);
    if (diagnostics != nullptr) {
        *diagnostics = found;
    }
}

bool holdsTrackData(const Track& track)
{
    // The grid is storage, not data: the reader may size it whether or not a terrain was found.
    Track empty;
    empty.terrain.terrainGrid = track.terrain.terrainGrid;
    return !(track == empty);
}

int readTrackFile(const std::filesystem::path& path, Track& track, ReadDiagnostics* diagnostics)
{
    ReadDiagnostics unused;
    ReadDiagnostics& report = diagnostics != nullptr ? *diagnostics : unused;
    report = ReadDiagnostics{};

    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        report.openError = CoreError{ErrorCode::OpenedADirectory, path, {}, {}, 0};
        return 0;
    }
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        report.openError = CoreError{ErrorCode::CannotOpen, path, errnoCode(), {}, 0};
        return 0;
    }

    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    // The whole file is held in memory; one far beyond any track is refused before that.
    if (size > static_cast<std::streamoff>(largestTrackFileSize)) {
        report.openError = CoreError{ErrorCode::FileTooLarge, path, {}, {},
                                     static_cast<std::uint64_t>(size)};
        return 0;
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    } catch (const std::bad_alloc&) {
        report.openError = CoreError{ErrorCode::NoMemoryToRead, path, {}, {}, 0};
        return 0;
    }
    if (!bytes.empty()) {
        file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        // A file that shrank meanwhile decodes as far as it reached.
        bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(file.gcount(), 0)));
    }

    readTrackBytes(bytes, track, &report);
    return 1;
}

}  // namespace pw
