#include "ThreeDsScreening.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <map>
#include <optional>

namespace pw {

namespace {

enum : std::uint16_t {
    idMain = 0x4D4D,
    idVersion = 0x0002,
    idEditor = 0x3D3D,
    idMeshVersion = 0x3D3E,
    idMasterScale = 0x0100,
    idObject = 0x4000,
    idTriangleMesh = 0x4100,
    idVertices = 0x4110,
    idFaces = 0x4120,
    idSmoothingGroups = 0x4150,
    idMeshMatrix = 0x4160,
    idKeyframer = 0xB000,
    idFirstNode = 0xB001,  // ambient, object, camera, target, light, spot target, spot
    idLastNode = 0xB007,
    idNodeHeader = 0xB010,
    idDummyName = 0xB011,
    idPivot = 0xB013,
    idPositionTrack = 0xB020,
    idRotationTrack = 0xB021,
    idScaleTrack = 0xB022,
};

constexpr std::size_t headerSize = 6;

struct Vector3f {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Reads little-endian values and never past its bytes: a read that does not fit fails and
// leaves the position where it was.
class Cursor {
public:
    explicit Cursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t left() const { return bytes_.size() - at_; }
    std::size_t at() const { return at_; }

    bool skip(std::size_t count)
    {
        if (count > left())
            return false;
        at_ += count;
        return true;
    }
    bool u16(std::uint16_t& value) { return unsigned_(value, 2); }
    bool u32(std::uint32_t& value) { return unsigned_(value, 4); }
    bool f32(float& value)
    {
        std::uint32_t bits = 0;
        if (!u32(bits))
            return false;
        value = std::bit_cast<float>(bits);
        return true;
    }
    // Past a text ended by a zero byte.
    bool skipText()
    {
        std::string ignored;
        return text(ignored);
    }
    bool text(std::string& value)
    {
        const auto rest = bytes_.subspan(at_);
        const auto zero = std::find(rest.begin(), rest.end(), std::uint8_t{0});
        if (zero == rest.end())
            return false;
        value.assign(rest.begin(), zero);
        return skip(value.size() + 1);
    }

private:
    template <typename T>
    bool unsigned_(T& value, std::size_t size)
    {
        if (size > left())
            return false;
        value = 0;
        for (std::size_t i = size; i > 0; --i)
            value = static_cast<T>(value << 8 | bytes_[at_ + i - 1]);
        at_ += size;
        return true;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

struct Chunk {
    std::uint16_t id = 0;
    std::span<const std::uint8_t> body;
};

// What the walk has seen so far, and the first reason to refuse the file.
struct Walk {
    std::size_t chunks = 0;
    std::size_t nodes = 0;
    std::size_t vertices = 0;
    std::size_t faces = 0;
    bool smoothingGroups = false;
    std::optional<CoreError> refusal;  // the first reason to refuse the file
    // Assimp puts each object's meshes once for every keyframer node that names the object.
    std::map<std::string, std::size_t> verticesOf, facesOf;  // by object name
    std::map<std::string, std::size_t> nodesNaming;
    std::uint64_t smoothingComparisons = 0;

    bool fail(ModelError code, std::string bound)
    {
        if (!refusal)
            refusal = CoreError(code, {}, {}, {}, 0, std::move(bound));
        return false;
    }
    // Bytes that are no 3ds model at all.
    bool damaged() { return fail(ModelError::NotThreeDs, {}); }
    // A model over one of our own bounds, which a real model may pass.
    bool beyond(std::string bound)
    {
        return fail(ModelError::BeyondReadingBounds, std::move(bound));
    }
};

// The chunks that fill `body`; nothing when one of them does not fit in it. A tail shorter than
// a header is left out.
std::optional<std::vector<Chunk>> splitChunks(std::span<const std::uint8_t> body, Walk& walk)
{
    std::vector<Chunk> chunks;
    Cursor in(body);
    while (in.left() >= headerSize) {
        Chunk chunk;
        std::uint32_t length = 0;
        in.u16(chunk.id);
        in.u32(length);
        if (length < headerSize || length - headerSize > in.left()) {
            walk.damaged();
            return std::nullopt;
        }
        if (++walk.chunks > mostThreeDsChunks) {
            walk.beyond("more than " + std::to_string(mostThreeDsChunks) + " chunks");
            return std::nullopt;
        }
        chunk.body = body.subspan(in.at(), length - headerSize);
        in.skip(length - headerSize);
        chunks.push_back(chunk);
    }
    return chunks;
}

void appendU16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

// Writes a chunk whose body `fill` appends, with the length of what it appended.
template <typename Fill>
bool writeChunk(std::vector<std::uint8_t>& out, std::uint16_t id, Fill fill)
{
    const std::size_t start = out.size();
    appendU16(out, id);
    out.insert(out.end(), 4, 0);
    if (!fill())
        return false;
    const auto length = static_cast<std::uint32_t>(out.size() - start);
    for (int i = 0; i < 4; ++i)
        out[start + 2 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    return true;
}

void copyChunk(std::vector<std::uint8_t>& out, const Chunk& chunk)
{
    writeChunk(out, chunk.id, [&] {
        out.insert(out.end(), chunk.body.begin(), chunk.body.end());
        return true;
    });
}

// Walks the children of a chunk whose own data takes the first `prefix` bytes: `child` writes or
// leaves out each one and fails the walk by returning false.
template <typename Child>
bool writeContainer(std::vector<std::uint8_t>& out, const Chunk& chunk, std::size_t prefix,
                    int depth, Walk& walk, Child child)
{
    if (depth > deepestThreeDsChunk)
        return walk.damaged();
    return writeChunk(out, chunk.id, [&] {
        out.insert(out.end(), chunk.body.begin(), chunk.body.begin() + prefix);
        const auto children = splitChunks(chunk.body.subspan(prefix), walk);
        if (!children)
            return false;
        for (const Chunk& c : *children)
            if (!child(c))
                return false;
        return true;
    });
}

// A keyframer track: a header, a key count, then keys of a frame number, spline flags, one float
// for each flag set among the lowest five, and the value.
bool trackFits(std::span<const std::uint8_t> body, std::size_t valueFloats)
{
    Cursor in(body);
    std::uint32_t keys = 0;
    if (!in.skip(10) || !in.u32(keys))
        return false;
    for (std::uint32_t k = 0; k < keys; ++k) {
        std::uint32_t frame = 0;
        std::uint16_t flags = 0;
        if (!in.u32(frame) || !in.u16(flags) ||
            !in.skip(4 * (std::popcount(static_cast<unsigned>(flags & 0x1F)) + valueFloats)))
            return false;
    }
    return true;
}

bool writeNode(std::vector<std::uint8_t>& out, const Chunk& node, int depth, Walk& walk)
{
    return writeContainer(out, node, 0, depth, walk, [&](const Chunk& c) {
        Cursor in(c.body);
        bool fits = false;
        std::string name;
        switch (c.id) {
        case idNodeHeader: fits = in.text(name) && in.skip(6); break;
        case idDummyName: fits = in.text(name); break;
        case idPivot: fits = in.skip(12); break;
        case idPositionTrack:
        case idScaleTrack: fits = trackFits(c.body, 3); break;
        case idRotationTrack: fits = trackFits(c.body, 4); break;
        default: break;
        }
        if (fits)
            copyChunk(out, c);
        // A dummy node may take its second name for its object's: both count.
        if (fits && (c.id == idNodeHeader || c.id == idDummyName))
            ++walk.nodesNaming[name];
        return true;
    });
}

bool writeKeyframer(std::vector<std::uint8_t>& out, const Chunk& keyframer, int depth, Walk& walk)
{
    return writeContainer(out, keyframer, 0, depth, walk, [&](const Chunk& c) {
        if (c.id < idFirstNode || c.id > idLastNode)
            return true;
        if (++walk.nodes > mostKeyframerNodes)
            return walk.beyond("more than " + std::to_string(mostKeyframerNodes) +
                               " keyframer nodes");
        return writeNode(out, c, depth + 1, walk);
    });
}

// The corners of a mesh's faces as assimp smooths their normals: it sorts every corner by its
// distance along one fixed axis, then for each vertex (once per smoothing group) compares it with
// every corner whose distance lies within a hundred-thousandth of the mesh's size of its own. The
// comparisons are counted without making them; corners in a plane across that axis, or one far
// vertex widening the window, make them grow with the square of the corners.
struct MeshCorners {
    std::vector<Vector3f> positions;
    std::vector<std::uint16_t> vertices;  // three per face
    std::vector<std::uint32_t> groups;    // one per face, as assimp assigns them: from the first
};

std::uint64_t smoothingComparisons(const MeshCorners& mesh)
{
    // The axis assimp 5.2 sorts along (SGSpatialSort), in its single precision.
    const float axisLength = std::sqrt(0.8523f * 0.8523f + 0.34321f * 0.34321f + 0.5736f * 0.5736f);
    const Vector3f axis{0.8523f / axisLength, 0.34321f / axisLength, 0.5736f / axisLength};
    const auto distance = [&](const Vector3f& p) {
        return p.x * axis.x + p.y * axis.y + p.z * axis.z;
    };
    if (mesh.vertices.empty())
        return 0;
    Vector3f low = mesh.positions[mesh.vertices.front()], high = low;
    std::vector<float> sorted;
    sorted.reserve(mesh.vertices.size());
    for (const std::uint16_t v : mesh.vertices) {
        const Vector3f& p = mesh.positions[v];
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        sorted.push_back(distance(p));
    }
    std::sort(sorted.begin(), sorted.end());
    const Vector3f size{high.x - low.x, high.y - low.y, high.z - low.z};
    const float window = std::sqrt(size.x * size.x + size.y * size.y + size.z * size.z) * 1e-5f;
    // One look-up per vertex and smoothing group: the corners it finds are not looked up again.
    std::vector<std::pair<std::uint16_t, std::uint32_t>> lookups;
    lookups.reserve(mesh.vertices.size());
    for (std::size_t c = 0; c < mesh.vertices.size(); ++c)
        lookups.emplace_back(mesh.vertices[c], c / 3 < mesh.groups.size() ? mesh.groups[c / 3] : 0);
    std::sort(lookups.begin(), lookups.end());
    lookups.erase(std::unique(lookups.begin(), lookups.end()), lookups.end());
    std::uint64_t comparisons = 0;
    for (const auto& [vertex, group] : lookups) {
        const float at = distance(mesh.positions[vertex]);
        comparisons +=
            static_cast<std::uint64_t>(std::upper_bound(sorted.begin(), sorted.end(), at + window) -
                                       std::lower_bound(sorted.begin(), sorted.end(), at - window));
    }
    return comparisons;
}

// A mesh's vertex list and its face list with their children, checked against each other.
bool writeTriangleMesh(std::vector<std::uint8_t>& out, const Chunk& mesh, const std::string& object,
                       int depth, Walk& walk)
{
    MeshCorners corners;
    std::uint32_t largestIndex = 0;
    const bool written = writeContainer(out, mesh, 0, depth, walk, [&](const Chunk& c) {
        Cursor in(c.body);
        std::uint16_t count = 0;
        switch (c.id) {
        case idVertices:
            if (!in.u16(count) || in.left() < 12 * std::size_t{count})
                return walk.damaged();
            for (std::uint16_t v = 0; v < count; ++v) {
                Vector3f& p = corners.positions.emplace_back();
                in.f32(p.x);
                in.f32(p.y);
                in.f32(p.z);
            }
            walk.vertices += count;
            walk.verticesOf[object] += count;
            if (walk.vertices > mostModelVertices)
                return walk.beyond("more than " + std::to_string(mostModelVertices) + " vertices");
            copyChunk(out, c);
            return true;
        case idFaces:
            if (!in.u16(count))
                return walk.damaged();
            for (std::uint16_t f = 0; f < count; ++f) {
                std::uint16_t corner[4] = {};
                for (std::uint16_t& value : corner)
                    if (!in.u16(value))
                        return walk.damaged();
                corners.vertices.insert(corners.vertices.end(), corner, corner + 3);
                largestIndex = std::max<std::uint32_t>(largestIndex,
                                                       std::max({corner[0], corner[1], corner[2]}));
            }
            walk.faces += count;
            walk.facesOf[object] += count;
            if (walk.faces > mostModelFaces)
                return walk.beyond("more than " + std::to_string(mostModelFaces) + " faces");
            return writeContainer(out, c, in.at(), depth + 1, walk, [&](const Chunk& g) {
                if (g.id != idSmoothingGroups)
                    return true;
                if (g.body.size() < 4 * std::size_t{count})
                    return walk.damaged();
                walk.smoothingGroups = true;
                Cursor groups(g.body);
                corners.groups.resize(corners.vertices.size() / 3);
                for (std::size_t f = 0; f < count && f < corners.groups.size(); ++f)
                    groups.u32(corners.groups[f]);
                copyChunk(out, g);
                return true;
            });
        case idMeshMatrix:
            if (in.skip(48))
                copyChunk(out, c);
            return true;
        default: return true;
        }
    });
    if (!written)
        return false;
    // Faces naming vertices the mesh does not have.
    if (!corners.vertices.empty() && largestIndex >= corners.positions.size())
        return walk.damaged();
    walk.smoothingComparisons += smoothingComparisons(corners);
    if (walk.smoothingComparisons > mostSmoothingComparisons)
        return walk.beyond("more than " + std::to_string(mostSmoothingComparisons) +
                           " vertex comparisons to smooth its normals");
    return true;
}

bool writeEditor(std::vector<std::uint8_t>& out, const Chunk& editor, int depth, Walk& walk)
{
    return writeContainer(out, editor, 0, depth, walk, [&](const Chunk& c) {
        Cursor in(c.body);
        float scale = 0.0f;
        switch (c.id) {
        case idMeshVersion: copyChunk(out, c); return true;
        case idMasterScale:
            if (in.f32(scale) && std::isfinite(scale) && scale > 0.0f)
                copyChunk(out, c);
            return true;
        case idObject: {
            std::string name;
            if (!in.text(name))
                return walk.damaged();
            return writeContainer(out, c, in.at(), depth + 1, walk, [&](const Chunk& m) {
                return m.id != idTriangleMesh || writeTriangleMesh(out, m, name, depth + 2, walk);
            });
        }
        default: return true;
        }
    });
}

// The vertices or faces of every object as often as it is placed: once, or once per node naming it.
std::size_t placedTotal(const std::map<std::string, std::size_t>& perObject, const Walk& walk)
{
    std::size_t total = 0;
    for (const auto& [object, count] : perObject) {
        const auto nodes = walk.nodesNaming.find(object);
        total += count * (nodes == walk.nodesNaming.end() ? 1 : nodes->second);
    }
    return total;
}

}  // namespace

ScreenedModel screenThreeDs(std::span<const std::uint8_t> file)
{
    ScreenedModel result;
    Walk walk;
    Cursor in(file);
    std::uint16_t id = 0;
    std::uint32_t length = 0;
    if (!in.u16(id) || !in.u32(length) || id != idMain || length < headerSize ||
        length > file.size()) {
        result.refusal = CoreError(ModelError::NotThreeDs);
        return result;
    }
    const Chunk main{id, file.subspan(headerSize, length - headerSize)};

    std::vector<std::uint8_t> out;
    out.reserve(length);
    const bool written = writeContainer(out, main, 0, 1, walk, [&](const Chunk& c) {
        switch (c.id) {
        case idVersion: copyChunk(out, c); return true;
        case idEditor: return writeEditor(out, c, 2, walk);
        case idKeyframer: {
            // The keyframer only places meshes that are already in place without it: one too
            // large to read safely is left out whole, and the model read without it.
            Walk keyframerWalk = walk;
            const std::size_t before = out.size();
            if (writeKeyframer(out, c, 2, keyframerWalk)) {
                walk = keyframerWalk;
            } else {
                out.resize(before);
                result.keyframerLeftOut = true;
            }
            return true;
        }
        default: return true;
        }
    });
    if (written && walk.vertices == 0)
        walk.damaged();
    if (placedTotal(walk.verticesOf, walk) > mostModelVertices)
        walk.beyond("more than " + std::to_string(mostModelVertices) +
                    " vertices with their instances");
    if (placedTotal(walk.facesOf, walk) > mostModelFaces)
        walk.beyond("more than " + std::to_string(mostModelFaces) + " faces with their instances");
    if (walk.refusal) {
        result.refusal = std::move(walk.refusal);
        return result;
    }
    result.bytes = std::move(out);
    result.smoothingGroups = walk.smoothingGroups;
    result.vertices = walk.vertices;
    result.faces = walk.faces;
    return result;
}

}  // namespace pw
