#include "examples/FooterModels.h"
#include "examples/ThreeDsModel.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <span>
#include <utility>

namespace pw {
namespace {

// An independent reader of the chunk tree: every length must fit its parent exactly.
struct Chunk {
    std::uint16_t id = 0;
    std::uint32_t length = 0;
    std::span<const std::uint8_t> body;  // after the header, before any children
    std::string name;                    // object chunks only
    std::vector<Chunk> children;
};

std::uint16_t readU16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t readU32(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

bool isContainer(std::uint16_t id)
{
    return id == chunkMain || id == chunkEditor || id == chunkObject || id == chunkTriangleMesh;
}

std::optional<std::vector<Chunk>> parseChunks(std::span<const std::uint8_t> bytes)
{
    std::vector<Chunk> chunks;
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < chunkHeaderSize)
            return std::nullopt;
        Chunk c;
        c.id = readU16(bytes, at);
        c.length = readU32(bytes, at + 2);
        if (c.length < chunkHeaderSize || c.length > bytes.size() - at)
            return std::nullopt;
        auto inner = bytes.subspan(at + chunkHeaderSize, c.length - chunkHeaderSize);
        if (c.id == chunkObject) {
            std::size_t nul = 0;
            while (nul < inner.size() && inner[nul] != 0)
                ++nul;
            if (nul == inner.size())
                return std::nullopt;
            c.name.assign(inner.begin(), inner.begin() + static_cast<std::ptrdiff_t>(nul));
            inner = inner.subspan(nul + 1);
        }
        if (isContainer(c.id)) {
            auto children = parseChunks(inner);
            if (!children)
                return std::nullopt;
            c.children = std::move(*children);
        } else {
            c.body = inner;
        }
        at += c.length;
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

std::vector<std::uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ThreeDsModel, OneTriangleEncodesToTheExpectedBytes)
{
    const Mesh mesh{"t", {{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}}, {{0, 1, 2}}};
    const auto bytes = encodeThreeDs(mesh);

    // main 6 + version 10 + editor (6 + mesh version 10 + object (6 + "t\0" + trimesh
    // (6 + vertices (6 + 2 + 36) + faces (6 + 2 + 8))))
    ASSERT_EQ(bytes.size(), 106u);
    const std::vector<std::uint8_t> head{
        0x4D, 0x4D, 106, 0, 0, 0,                      // main
        0x02, 0x00, 10,  0, 0, 0, 3, 0, 0, 0,          // version 3
        0x3D, 0x3D, 90,  0, 0, 0,                      // editor
        0x3E, 0x3D, 10,  0, 0, 0, 3, 0, 0, 0,          // mesh version 3
        0x00, 0x40, 74,  0, 0, 0, 't', 0,              // object "t"
        0x00, 0x41, 66,  0, 0, 0,                      // triangle mesh
        0x10, 0x41, 44,  0, 0, 0, 3, 0};               // vertex list, 3 vertices
    ASSERT_EQ(head.size(), 54u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 54), head);
    // First vertex x = 1.0f, little-endian.
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 54, bytes.begin() + 58),
              (std::vector<std::uint8_t>{0x00, 0x00, 0x80, 0x3F}));
    // Face list: id, length 16, count 1, indices 0 1 2, flags 7.
    const std::vector<std::uint8_t> faces{0x20, 0x41, 16, 0, 0, 0, 1, 0, 0, 0, 1, 0, 2, 0, 7, 0};
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.end() - 16, bytes.end()), faces);
}

TEST(ThreeDsModel, EverySampleModelIsAWellFormedChunkTree)
{
    for (const FooterModelFile& model : sampleFooterModels()) {
        SCOPED_TRACE(model.fileName);
        const auto bytes = encodeThreeDs(model.mesh);
        const auto tree = parseChunks(bytes);
        ASSERT_TRUE(tree.has_value());
        ASSERT_EQ(idsOf(*tree), (std::vector<std::uint16_t>{chunkMain}));
        const Chunk& main = tree->front();
        EXPECT_EQ(main.length, bytes.size());
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

        const auto vertices = trimesh.children[0].body;
        ASSERT_GE(vertices.size(), 2u);
        const std::uint16_t vertexCount = readU16(vertices, 0);
        EXPECT_EQ(vertexCount, 8);
        EXPECT_EQ(vertices.size(), 2u + 12u * vertexCount);

        const auto faces = trimesh.children[1].body;
        ASSERT_GE(faces.size(), 2u);
        const std::uint16_t faceCount = readU16(faces, 0);
        EXPECT_EQ(faceCount, 12);
        ASSERT_EQ(faces.size(), 2u + 8u * faceCount);
        for (std::size_t f = 0; f < faceCount; ++f)
            for (std::size_t k = 0; k < 3; ++k)
                EXPECT_LT(readU16(faces, 2 + 8 * f + 2 * k), vertexCount);
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
                   a.z * (double(b.x) * c.y - double(b.y) * c.x)) / 6.0;
    }
    for (const auto& [edge, count] : edges) {
        EXPECT_EQ(count, 1);
        EXPECT_EQ(edges.count({edge.second, edge.first}), 1u);
    }
    const double a1 = base * base, a2 = top * top;
    EXPECT_NEAR(volume, height / 3.0 * (a1 + a2 + std::sqrt(a1 * a2)), 1e-5);  // 7.0

    float lowest = 1e9f, highest = -1e9f;
    for (const Float3& v : mesh.vertices) {
        lowest = std::min(lowest, v.z);
        highest = std::max(highest, v.z);
    }
    EXPECT_EQ(lowest, -0.5f);
    EXPECT_EQ(highest, 2.5f);
}

TEST(ThreeDsModel, SampleModelsAreTheSixFilesAndGrowWithTheClass)
{
    const auto models = sampleFooterModels();
    ASSERT_EQ(models.size(), 6u);
    const char* names[] = {"small.3ds", "medium.3ds", "large.3ds",
                           "xlarge.3ds", "xxlarge.3ds", "default.3ds"};
    float previousWidth = 0.0f;
    for (std::size_t i = 0; i < models.size(); ++i) {
        EXPECT_EQ(models[i].fileName, names[i]);
        if (i < 5) {
            const float width = 2.0f * models[i].mesh.vertices[1].x;
            EXPECT_GT(width, previousWidth) << names[i];
            previousWidth = width;
        }
    }
}

TEST(ThreeDsModel, CommittedModelFilesMatchTheGenerator)
{
    for (const FooterModelFile& model : sampleFooterModels()) {
        const auto committed =
            readFile(std::string(PLINTHWRIGHT_EXAMPLES_DIR) + "/models/" + model.fileName);
        EXPECT_EQ(committed, encodeThreeDs(model.mesh))
            << model.fileName << " is stale: build the regenerate_examples target";
    }
}

}  // namespace
}  // namespace pw
