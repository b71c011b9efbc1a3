#include "HostileTracks.h"

#include "tracklib/ChunkWriter.h"
#include "tracklib/ElementLayouts.h"
#include "tracklib/TrackFile.h"
#include "tracklib/TrackOperations.h"

#include <cmath>

namespace pw {

namespace {

Track freshTrack()
{
    Track track;
    newTrack(track);
    return track;
}

std::vector<std::uint8_t> emptySegments(std::size_t size)
{
    Track track = freshTrack();
    const std::size_t count = size / segmentCommonEncodedSize;
    track.segments.resize(count);  // kind 0: the common part alone
    moveChunkLength(track.segmentLength,
                    static_cast<std::int64_t>(count) * segmentCommonEncodedSize);
    return encodeTrack(track);
}

// Appends copies of `chunk` after a new track's file until it holds about `size` bytes.
std::vector<std::uint8_t> repeated(const std::vector<std::uint8_t>& chunk, std::size_t size)
{
    std::vector<std::uint8_t> file = encodeTrack(freshTrack());
    file.reserve(size + chunk.size());
    while (file.size() + chunk.size() <= size)
        file.insert(file.end(), chunk.begin(), chunk.end());
    return file;
}

std::vector<std::uint8_t> terrainOfOneValue()
{
    ChunkWriter out;
    out.writeRawTag("TERA");
    // The header as the writer lays it out, of a terrain one value wide and one deep.
    LayoutWriter io{out};
    const Terrain empty;
    const std::int32_t one = 1;
    terrainHeaderLayout(io, empty, one, one);
    out.writeFloat32(1.5f);  // the one grid value
    out.writeZeros(16);
    out.writeInt32(0);
    return out.take();
}

std::vector<std::uint8_t> trackHeaderClaimingSlots()
{
    ChunkWriter out;
    out.writeRawTag("TRCK");
    out.writeInt32(88);
    out.writeInt32(1);
    out.writeInt32(0x7FFFFFFF);  // slotCount
    out.writeInt32(6);
    out.writeBool(0);  // slot 0's flag
    out.writeZeros(7);
    out.writeInt32(-1);  // and its text, whose length ends the chunk
    return out.take();
}

// A winding ride of `segments` segments with one rail connector each, and two tubes per segment
// standing on fundaments: the first for every segment in turn, then the second.
std::vector<std::uint8_t> tubesOverSegments(std::size_t size)
{
    constexpr std::size_t bytesPerSegment = 60 + 37 + 28 + 2 * 48 + 92;
    const int segments = static_cast<int>(std::max<std::size_t>(size / bytesPerSegment, 2));
    Track track = freshTrack();
    while (vertexCount(track) > 0)
        removeVertex(0, track);
    for (int v = 0; v <= segments; ++v) {
        const float angle = static_cast<float>(v) * 0.05f;
        const float x = 400.0f * std::cos(angle * 0.01f) + 20.0f * std::sin(angle);
        const float z = 400.0f * std::sin(angle * 0.01f) + 20.0f * std::cos(angle);
        const Float3 at{x, 10.0f, z};
        addVertex(at, {x - 1.0f, 10.0f, z}, {x + 1.0f, 10.0f, z}, 0.0f, 0, 0, 0, track);
    }
    for (int s = 1; s <= segments; ++s)
        addSegment(0, s, 0, {}, {}, {}, 0, 0, track);
    for (int s = 0; s < segments; ++s) {
        addRailConnector(s, 0, 0.5f, track);
        const Vertex& v = track.vertices[static_cast<std::size_t>(s)];
        addFundament(0, 0.0f, 0, 0.0f, 0, 0, v.position.x, 0.0f, v.position.z, track);
    }
    const int smallTubeCode = 2;
    for (int pass = 0; pass < 2; ++pass)
        for (int s = 0; s < segments; ++s)
            addTube(TubeEndRailConnector, 0, s, TubeEndFundament, s, 0, smallTubeCode, 0, 0, track);
    return encodeTrack(track);
}

}  // namespace

std::string hostileShapeName(HostileShape shape)
{
    switch (shape) {
    case HostileShape::EmptySegments: return "empty-segments";
    case HostileShape::RepeatedTerrain: return "repeated-terrain";
    case HostileShape::RepeatedTrackHeaders: return "repeated-track-headers";
    case HostileShape::TubesOverSegments: return "tubes-over-segments";
    }
    return "";
}

std::vector<std::uint8_t> makeHostileTrack(HostileShape shape, std::size_t size)
{
    switch (shape) {
    case HostileShape::EmptySegments: return emptySegments(size);
    case HostileShape::RepeatedTerrain: return repeated(terrainOfOneValue(), size);
    case HostileShape::RepeatedTrackHeaders: return repeated(trackHeaderClaimingSlots(), size);
    case HostileShape::TubesOverSegments: return tubesOverSegments(size);
    }
    return {};
}

}  // namespace pw
