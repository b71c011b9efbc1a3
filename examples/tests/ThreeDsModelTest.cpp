#include "examples/FooterModels.h"
#include "examples/ThreeDsModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <span>

namespace pw {
namespace {

using Bytes = std::vector<std::uint8_t>;

// An independent reader of the chunk tree: every length must fit its parent exactly.
struct Chunk {
    std::uint16_t id = 0;
    std::span<const std::uint8_t> body;  // after the header (and an object's name); leaves only
    std::string name;                    // object chunks only
    std::vector<Chunk> children;
};

std::uint32_t littleEndian(std::span<const std::uint8_t> b, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | b[at + i];
    return value;
}

std::optional<std::vector<Chunk>> parseChunks(std::span<const std::uint8_t> bytes)
{
    std::vector<Chunk> chunks;
    for (std::size_t at = 0; at < bytes.size();) {
        if (bytes.size() - at < chunkHeaderSize)
            return std::nullopt;
        const std::uint32_t length = littleEndian(bytes, at + 2, 4);
        if (length < chunkHeaderSize || length > bytes.size() - at)
            return std::nullopt;
        Chunk c;
        c.id = static_cast<std::uint16_t>(littleEndian(bytes, at, 2));
        auto inner = bytes.subspan(at + chunkHeaderSize, length - chunkHeaderSize);
        if (c.id == chunkObject) {
            const auto nul = std::find(inner.begin(), inner.end(), 0);
            if (nul == inner.end())
                return std::nullopt;
            c.name.assign(inner.begin(), nul);
            inner = inner.subspan(c.name.size() + 1);
        }
        if (c.id == chunkMain || c.id == chunkEditor || c.id == chunkObject ||
            c.id == chunkTriangleMesh) {
            auto children = parseChunks(inner);
            if (!children)
                return std::nullopt;
            c.children = std::move(*children);
        } else {
            c.body = inner;
        }
        at += length;
        chunks.push_back(std::move(c));
    }
    return chunks;
}

std::vector<std::uint16_t> idsOf(const std::vector<Chunk>& chunks)
{
    std::vector<std::uint16_t> ids;
    for (const Chunk& c : chunks)
        ids.push_back(c.id);
    return ids;
}

TEST(ThreeDsModel, OneTriangleEncodesToTheExpectedBytes)
{
    const Mesh mesh{
        "t", {{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}}, {{0, 1, 2}}, {}};
    const Bytes bytes = encodeThreeDs(mesh);

    // main 6 + version 10 + editor (6 + mesh version 10 + object (6 + "t\0" + trimesh
    // (6 + vertices (6 + 2 + 36) + faces (6 + 2 + 8))))
    ASSERT_EQ(bytes.size(), 106u);
    const Bytes head{0x4D, 0x4D, 106,  0,   0, 0,                // main
                     0x02, 0x00, 10,   0,   0, 0, 3,   0, 0, 0,  // version 3
                     0x3D, 0x3D, 90,   0,   0, 0,                // editor
                     0x3E, 0x3D, 10,   0,   0, 0, 3,   0, 0, 0,  // mesh version 3
                     0x00, 0x40, 74,   0,   0, 0, 't', 0,        // object "t"
                     0x00, 0x41, 66,   0,   0, 0,                // triangle mesh
                     0x10, 0x41, 44,   0,   0, 0, 3,   0,        // vertex list, 3 vertices
                     0x00, 0x00, 0x80, 0x3F};                    // the first x, 1.0f
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 58), head);
    // Face list: id, length 16, count 1, indices 0 1 2, flags 7.
    EXPECT_EQ(Bytes(bytes.end() - 16, bytes.end()),
              (Bytes{0x20, 0x41, 16, 0, 0, 0, 1, 0, 0, 0, 1, 0, 2, 0, 7, 0}));
}

// Each a well-formed chunk tree, growing with the class, and the same as the committed file.
TEST(ThreeDsModel, SampleModelsAreTheSixCommittedFiles)
{
    const auto models = sampleFooterModels();
    const char* names[] = {"small.3ds",  "medium.3ds",  "large.3ds",
                           "xlarge.3ds", "xxlarge.3ds", "default.3ds"};
    ASSERT_EQ(models.size(), std::size(names));
    float previousHalfWidth = 0.0f;
    for (std::size_t i = 0; i < models.size(); ++i) {
        const FooterModelFile& model = models[i];
        SCOPED_TRACE(model.fileName);
        EXPECT_EQ(model.fileName, names[i]);
        if (i < 5) {
            EXPECT_GT(model.mesh.vertices[1].x, previousHalfWidth);
            previousHalfWidth = model.mesh.vertices[1].x;
        }
        const Bytes bytes = encodeThreeDs(model.mesh);
        std::ifstream in(std::string(PLINTHWRIGHT_EXAMPLES_DIR) + "/models/" + model.fileName,
                         std::ios::binary);
        EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
                  bytes)
            << "stale: build the regenerate_examples target";

        const auto tree = parseChunks(bytes);
        ASSERT_TRUE(tree.has_value());
        ASSERT_EQ(idsOf(*tree), (std::vector<std::uint16_t>{chunkMain}));
        const Chunk& main = tree->front();
        ASSERT_EQ(idsOf(main.children), (std::vector<std::uint16_t>{chunkVersion, chunkEditor}));
        const Chunk& editor = main.children[1];
        ASSERT_EQ(idsOf(editor.children),
                  (std::vector<std::uint16_t>{chunkMeshVersion, chunkObject}));
        const Chunk& object = editor.children[1];
        EXPECT_EQ(object.name, model.mesh.name);
        EXPECT_LE(object.name.size(), 10u);
        ASSERT_EQ(idsOf(object.children), (std::vector<std::uint16_t>{chunkTriangleMesh}));
        const Chunk& trimesh = object.children[0];
        ASSERT_EQ(idsOf(trimesh.children),
                  (std::vector<std::uint16_t>{chunkVertexList, chunkFaceList}));

        // 8 vertices of 12 bytes; 12 faces of three indices and flags.
        const auto vertices = trimesh.children[0].body;
        ASSERT_GE(vertices.size(), 2u);
        EXPECT_EQ(littleEndian(vertices, 0, 2), 8u);
        EXPECT_EQ(vertices.size(), 2u + 12u * 8);
        const auto faces = trimesh.children[1].body;
        ASSERT_GE(faces.size(), 2u);
        EXPECT_EQ(littleEndian(faces, 0, 2), 12u);
        ASSERT_EQ(faces.size(), 2u + 8u * 12);
        for (std::size_t f = 0; f < 12; ++f)
            for (std::size_t k = 0; k < 3; ++k)
                EXPECT_LT(littleEndian(faces, 2 + 8 * f + 2 * k, 2), 8u);
    }
}

// Closed, consistently wound outwards: every directed edge appears once and its reverse once,
// and the divergence theorem gives the frustum's positive volume.
TEST(ThreeDsModel, PlinthIsAClosedOutwardFacingSolid)
{
    const float base = 2.0f, top = 1.0f, bottom = -0.5f, height = 3.0f;
    const Mesh mesh = plinthMesh("p", base, top, bottom, height);

    std::map<std::pair<int, int>, int> edges;
    double volume = 0.0;
    for (const MeshFace& f : mesh.faces) {
        const int idx[3] = {f.a, f.b, f.c};
        for (int k = 0; k < 3; ++k)
            ++edges[{idx[k], idx[(k + 1) % 3]}];
        const Float3 a = mesh.vertices[f.a], b = mesh.vertices[f.b], c = mesh.vertices[f.c];
        volume += (a.x * (double(b.y) * c.z - double(b.z) * c.y) -
                   a.y * (double(b.x) * c.z - double(b.z) * c.x) +
                   a.z * (double(b.x) * c.y - double(b.y) * c.x)) /
                  6.0;
    }
    for (const auto& [edge, count] : edges) {
        EXPECT_EQ(count, 1);
        EXPECT_EQ(edges.count({edge.second, edge.first}), 1u);
    }
    const double a1 = base * base, a2 = top * top;
    EXPECT_NEAR(volume, height / 3.0 * (a1 + a2 + std::sqrt(a1 * a2)), 1e-5);  // 7.0

    const auto [lowest, highest] =
        std::minmax_element(mesh.vertices.begin(), mesh.vertices.end(),
                            [](const Float3& p, const Float3& q) { return p.z < q.z; });
    EXPECT_EQ(lowest->z, -0.5f);
    EXPECT_EQ(highest->z, 2.5f);
}

}  // namespace
}  // namespace pw
