#include "TrackFile.h"

#include "AtomicFile.h"
#include "Catching.h"
#include "ChunkTags.h"
#include "ChunkWriter.h"
#include "ElementLayouts.h"
#include "TrackOperations.h"

#include <algorithm>
#include <cstdio>

namespace pw {

namespace {

std::int32_t countOf(std::size_t size) { return static_cast<std::int32_t>(size); }

template <class T, class Layout>
void writeCountedList(ChunkWriter& out, const std::vector<T>& list, Layout layout)
{
    out.writeInt32(countOf(list.size()));
    LayoutWriter io{out};
    for (const T& element : list) {
        layout(io, element);
    }
}

// The common start of most chunks: tag, length and a reserved run.
void writeChunkStart(ChunkWriter& out, int tag, std::int32_t length)
{
    out.writeTag(tag);
    out.writeInt32(length);
    out.writeZeros(16);
}

// The common ending of most chunks: a reserved run and a child count of 0.
void writeChunkEnd(ChunkWriter& out)
{
    out.writeZeros(16);
    out.writeInt32(0);
}

// A chunk that is one counted list of elements: tag, length, reserved(16), the list, the end.
template <class T, class Layout>
void writeListChunk(ChunkWriter& out, int tag, std::int32_t length, const std::vector<T>& list,
                    Layout layout)
{
    writeChunkStart(out, tag, length);
    writeCountedList(out, list, layout);
    writeChunkEnd(out);
}

void writeFileHeader(ChunkWriter& out, const Track& track)
{
    out.writeTag(TagFileHeader);
    out.writeInt32(track.headerValue);
    for (std::int8_t value : track.headerBytes) {
        out.writeInt8(value);
    }
    out.writeBool(track.headerFlag);
    out.writeZeros(14);
    out.writeInt32(track.terrain.terrainColumns != 0 ? 5 : 4);
}

void writeTrackHeader(ChunkWriter& out, const Track& track)
{
    out.writeTag(TagTrackHeader);
    out.writeInt32(track.trackValueA);
    out.writeInt32(track.trackValueB);
    out.writeInt32(track.slotCount);
    out.writeInt32(track.trackValueC);
    // Exactly slotCount slots, whatever the vector holds, so the file stays readable.
    LayoutWriter io{out};
    const TrackSlot emptySlot;
    for (std::int32_t i = 0; i < track.slotCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        slotLayout(io, index < track.slots.size() ? track.slots[index] : emptySlot);
    }
    for (const Colour& colour : track.colours) {
        out.writeColour(colour);
    }
    for (std::int8_t value : track.trackBytes) {
        out.writeInt8(value);
    }
    out.writeInt32(track.trackValueD);
    out.writeBool(track.trackFlag);
    out.writeColour(track.extraColour);
    out.writeZeros(3);
    out.writeInt32(4);
}

void writeInfo(ChunkWriter& out, const Track& track)
{
    writeChunkStart(out, TagInfo, track.infoLength);
    out.writeText(track.infoText);
    out.writeInt32(0);
}

void writeVertices(ChunkWriter& out, const Track& track)
{
    writeListChunk(out, TagVertices, track.vertexLength, track.vertices,
                   [](LayoutWriter& io, const Vertex& v) { vertexLayout(io, v); });
}

void writeSegments(ChunkWriter& out, const Track& track)
{
    out.writeTag(TagSegments);
    out.writeInt32(track.segmentLength);
    out.writeInt32(countOf(track.segments.size()));
    out.writeBool(track.segmentFlag);
    out.writeZeros(16);
    LayoutWriter io{out};
    for (const Segment& segment : track.segments) {
        segmentLayout(io, segment);
    }
    writeChunkEnd(out);
}

void writeSupports(ChunkWriter& out, const Track& track)
{
    out.writeTag(TagSupports);
    out.writeInt32(track.supportLength);
    out.writeZeros(32);
    out.writeInt32(5);

    writeListChunk(out, TagFundaments, track.fundamentLength, track.fundaments,
                   [](LayoutWriter& io, const Fundament& f) { fundamentLayout(io, f); });

    writeChunkStart(out, TagRailConnectors, track.railConnectorLength);
    out.writeInt32(countOf(track.groups.size()));
    for (const RailConnectorGroup& group : track.groups) {
        writeCountedList(out, group.connectors, [](LayoutWriter& io, const RailConnector& c) {
            railConnectorLayout(io, c);
        });
    }
    writeChunkEnd(out);

    writeListChunk(out, TagFreeNodes, track.freeNodeLength, track.freeNodes,
                   [](LayoutWriter& io, const FreeNode& n) { freeNodeLayout(io, n); });

    writeListChunk(out, TagTubes, track.tubeLength, track.tubes,
                   [](LayoutWriter& io, const Tube& t) { tubeLayout(io, t); });

    writeChunkStart(out, TagCatwalks, track.catwalkLength);
    out.writeInt32(countOf(track.catwalks.size()));
    for (const Catwalk& catwalk : track.catwalks) {
        for (std::int32_t value : catwalk.values) {
            out.writeInt32(value);
        }
        out.writeInt32(countOf(catwalk.bytes.size()));
        for (std::int8_t value : catwalk.bytes) {
            out.writeInt8(value);
        }
    }
    writeChunkEnd(out);
}

void writeScenery(ChunkWriter& out, const Track& track)
{
    writeChunkStart(out, TagScenery, track.sceneryLength);
    writeCountedList(out, track.sceneryItems, [](LayoutWriter& io, const SceneryItem& item) {
        sceneryItemLayout(io, item);
    });
    out.writeZeros(16);
    out.writeInt32(track.sceneryChildCount);

    writeListChunk(out, TagSceneryObjects, track.sceneryObjectLength, track.sceneryObjects,
                   [](LayoutWriter& io, const SceneryObject& o) { sceneryObjectLayout(io, o); });
}

void writeCustomData(ChunkWriter& out)
{
    out.writeRawTag("CSTM");
    out.writeInt32(14);
    out.writeInt32(1);
    out.writeRawTag("vrtx");
    out.writeInt32(8);
    out.writeInt32(0);
    out.writeInt32(0);
}

void writeEnvironment(ChunkWriter& out, const Track& track)
{
    writeChunkStart(out, TagEnvironment, track.environmentLength);
    out.writeText(track.environmentTextA);
    out.writeText(track.environmentTextB);
    writeChunkEnd(out);
}

// The grid holds at most terrainGridSize rows and columns; larger sizes are written clamped, so
// the header always matches the values that follow it.
void writeTerrain(ChunkWriter& out, const Terrain& terrain)
{
    const std::int32_t columns = std::min(terrain.terrainColumns, terrainGridSize);
    const std::int32_t rows = std::min(terrain.terrainRows, terrainGridSize);
    const bool haveGrid =
        terrain.terrainGrid.size() == static_cast<std::size_t>(terrainGridSize) * terrainGridSize;

    out.writeTag(TagTerrain);
    LayoutWriter io{out};
    terrainHeaderLayout(io, terrain, columns, rows);
    for (std::int32_t r = 0; r < rows; ++r) {
        for (std::int32_t c = 0; c < columns; ++c) {
            const auto index = static_cast<std::size_t>(r) * terrainGridSize + c;
            out.writeFloat32(haveGrid ? terrain.terrainGrid[index] : 0.0f);
        }
    }
    writeChunkEnd(out);
}

// Close to the encoded size (headers and a few texts are rounded up), so encoding a large track
// fills one buffer instead of regrowing it a dozen times.
std::size_t encodedSizeHint(const Track& track)
{
    std::size_t size =
        4096 + track.infoText.size() + track.environmentTextA.size() +
        track.environmentTextB.size() + track.slots.size() * slotMinimumSize +
        track.vertices.size() * vertexEncodedSize + track.fundaments.size() * fundamentEncodedSize +
        track.freeNodes.size() * freeNodeEncodedSize + track.tubes.size() * tubeEncodedSize +
        track.sceneryItems.size() * sceneryItemEncodedSize;
    for (const Segment& segment : track.segments) {
        size += static_cast<std::size_t>(segmentEncodedSize(segment));
    }
    for (const RailConnectorGroup& group : track.groups) {
        size += groupMinimumSize + group.connectors.size() * railConnectorEncodedSize;
    }
    for (const Catwalk& catwalk : track.catwalks) {
        size += catwalkFixedEncodedSize + catwalk.bytes.size();
    }
    for (const SceneryObject& object : track.sceneryObjects) {
        size += sceneryObjectFixedEncodedSize + object.textA.size() + object.textB.size();
    }
    if (track.terrain.terrainColumns != 0) {
        size += sizeof(float) * terrainGridSize * terrainGridSize;
    }
    return size;
}

}  // namespace

std::vector<std::uint8_t> encodeTrack(const Track& track)
{
    ChunkWriter out;
    out.reserve(encodedSizeHint(track));
    writeFileHeader(out, track);
    writeTrackHeader(out, track);
    writeInfo(out, track);
    writeVertices(out, track);
    writeSegments(out, track);
    writeSupports(out, track);
    writeScenery(out, track);
    writeCustomData(out);
    writeEnvironment(out, track);
    if (track.terrain.terrainColumns != 0) {
        writeTerrain(out, track.terrain);
    }
    return out.take();
}

Result<void> writeTrackFile(const std::filesystem::path& path, const Track& track)
{
    const Result<std::vector<std::uint8_t>> bytes = catchingAllocation(
        [&] { return encodeTrack(track); },
        CoreError(FileError::CannotSave, path, {}, {}, 0, "not enough memory to encode the track"));
    if (!bytes) {
        return bytes.error();
    }
    // Saving through a symbolic link replaces the file it points to; renaming over the link
    // would turn the link into a copy and leave that file as it was.
    return replaceFileAtomically(path, LinkAtDestination::Follow, [&](std::FILE* file) {
        return std::fwrite(bytes->data(), 1, bytes->size(), file) == bytes->size();
    });
}

}  // namespace pw
