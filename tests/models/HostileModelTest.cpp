#include "models/ModelFootprint.h"
#include "models/ModelReaderClient.h"
#include "models/ThreeDsScreening.h"

#include "examples/FooterModels.h"
#include "testsupport/HostileModels.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>

namespace pw {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A chunk as a 3ds file holds it: id and length little-endian, the length counting the header.
Bytes chunk(std::uint16_t id, const Bytes& body)
{
    const auto length = static_cast<std::uint32_t>(body.size() + 6);
    Bytes out{static_cast<std::uint8_t>(id), static_cast<std::uint8_t>(id >> 8)};
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes repeated(const Bytes& part, std::size_t times)
{
    Bytes out;
    for (std::size_t i = 0; i < times; ++i)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// An editor inside an editor, `depth` times.
Bytes nestedEditors(int depth)
{
    Bytes inner;
    for (int i = 0; i < depth; ++i)
        inner = chunk(0x3D3D, inner);
    return chunk(0x4D4D, inner);
}

class HostileModels : public testing::Test {
protected:
    ModelFootprint read(const Bytes& bytes)
    {
        const std::filesystem::path path =
            std::filesystem::path(dir.path().toStdString()) / "m.3ds";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return reader.read(path);
    }
    QTemporaryDir dir;
    ModelReaderClient reader;
};

// Each model stands for one seen from outside that crashed, froze or blanked the plan. The
// answers are exact: a readable box keeps its eight corners; the others name their bound.
TEST_F(HostileModels, EachIsAnsweredWithinItsBound)
{
    Mesh manyFaces = plinthMesh("faces", 1, 1, 0, 1);
    manyFaces.faces.assign(50000, {0, 1, 2});
    const struct {
        const char* name;
        Bytes bytes;
        const char* problem;  // empty when readable
        std::size_t points;
    } cases[] = {
        {"20,000-deep keyframer chain", keyframerChainModel(20000), "", 8},
        {"100,000 keyframer nodes side by side", flatKeyframerModel(100000), "", 8},
        {"keyframer chain at the bound", keyframerChainModel(mostKeyframerNodes), "", 8},
        {"corner at 3e38 m", encodeThreeDs(farCornerMesh(3e38f)), "reaches beyond 10 km", 4},
        {"corner at 10,001 m", encodeThreeDs(farCornerMesh(10001.0f)), "reaches beyond 10 km", 4},
        {"corner at 9,999 m", encodeThreeDs(farCornerMesh(9999.0f)), "", 8},
        {"three meshes of 50,000 faces", encodeThreeDs({manyFaces, manyFaces, manyFaces}, {}),
         "more than 131072 faces", 4},
        {"three meshes of 50,002 vertices", denseModel(3, 50000), "more than 131072 vertices", 4},
        {"70,000 chunks", chunk(0x4D4D, chunk(0x3D3D, repeated(chunk(0x3D3E, {}), 70000))),
         "more than 65536 chunks", 4},
        {"editors nested 10,000 deep", nestedEditors(10000), "not a 3ds model", 4},
        {"a 20,000-face mesh under 512 nodes", instancedModel(512, 20000),
         "more than 131072 vertices with their instances", 4},
        {"a 32,766-face mesh under 4 nodes, at the bound", instancedModel(4, 32766), "", 1024},
        {"tilted grids with smoothing groups", tiltedGridModel(true),
         "more than 100000000 vertex comparisons to smooth its normals", 4},
        {"tilted grids without", tiltedGridModel(false),
         "more than 100000000 vertex comparisons to smooth its normals", 4},
    };
    for (const auto& c : cases) {
        const ModelFootprint footprint = read(c.bytes);
        EXPECT_EQ(footprint.problem, c.problem) << c.name;
        EXPECT_EQ(footprint.readable, footprint.problem.empty()) << c.name;
        EXPECT_EQ(footprint.points.size(), c.points) << c.name;
    }
}

// Assimp compares a vertex with every corner at about its distance along its axis: a grid across
// that axis compares each with all, one tilted the other way with a few.
TEST_F(HostileModels, SmoothingComparisonsAreCountedAlongAssimpsAxis)
{
    const auto comparisonsProblem = [](std::size_t columns, bool acrossTheAxis) {
        Mesh grid;
        grid.name = "grid";
        for (std::size_t r = 0; r < columns; ++r)
            for (std::size_t c = 0; c < columns; ++c) {
                const float a = 0.01f * static_cast<float>(c), b = 0.01f * static_cast<float>(r);
                // Across the axis (0.8523, 0.34321, 0.5736): (-0.34321, 0.8523, 0) and (-0.5736,
                // 0, 0.8523) lie in its plane.
                grid.vertices.push_back(
                    acrossTheAxis ? Float3{-0.34321f * a - 0.5736f * b, 0.8523f * a, 0.8523f * b}
                                  : Float3{a, b, 0.0f});
            }
        for (std::size_t r = 0; r + 1 < columns; ++r)
            for (std::size_t c = 0; c + 1 < columns; ++c) {
                const auto at = [&](std::size_t rr, std::size_t cc) {
                    return static_cast<std::uint16_t>(rr * columns + cc);
                };
                grid.faces.push_back({at(r, c), at(r, c + 1), at(r + 1, c + 1)});
                grid.faces.push_back({at(r, c), at(r + 1, c + 1), at(r + 1, c)});
            }
        const ScreenedModel screened = screenThreeDs(encodeThreeDs(grid));
        return screened.refusal ? errorReason(*screened.refusal) : std::string();
    };
    // 64 x 64 vertices across the axis: 4,096 look-ups of all 23,814 corners.
    EXPECT_EQ(comparisonsProblem(64, true), "");
    EXPECT_EQ(comparisonsProblem(66, true),
              "more than 100000000 vertex comparisons to smooth its normals");
    EXPECT_EQ(comparisonsProblem(180, false), "");
}

// Nodes that name one mesh place it each: held once, with one placement per node.
TEST_F(HostileModels, AnInstancedMeshIsHeldOnceWithItsPlacements)
{
    const ModelFootprint footprint = read(instancedModel(3, 20));
    ASSERT_TRUE(footprint.readable) << footprint.problem;
    ASSERT_EQ(footprint.meshes.size(), 1u);
    EXPECT_EQ(footprint.meshes.front().mesh.indices.size(), 3u * 20u);
    EXPECT_EQ(footprint.meshes.front().placements.size(), 3u);
    EXPECT_EQ(footprint.points, read(denseModel(1, 20)).points);  // the strip placed once
}

TEST_F(HostileModels, KeyframerOverTheBoundIsLeftOutAndTheMeshStays)
{
    EXPECT_FALSE(screenThreeDs(keyframerChainModel(mostKeyframerNodes)).keyframerLeftOut);
    const ScreenedModel over = screenThreeDs(keyframerChainModel(mostKeyframerNodes + 1));
    EXPECT_TRUE(over.keyframerLeftOut);
    EXPECT_EQ(over.bytes, encodeThreeDs(plinthMesh("box", 1.0f, 1.0f, 0.0f, 1.0f)));
}

// Far over the count where only the outline is kept; the outline is found in n log n (a search per
// point took half a minute here), and of its more than 20,000 corners an even sample is kept.
TEST_F(HostileModels, CircleOfTheMostVerticesKeepsItsOutline)
{
    const ModelFootprint footprint = read(encodeThreeDs(circleMesh(65535)));
    ASSERT_TRUE(footprint.readable) << footprint.problem;
    EXPECT_EQ(footprint.points.size(), mostOutlinePoints);
    for (const Vector3 p : footprint.points)
        EXPECT_NEAR(p.x * p.x + p.z * p.z, 1.0f, 1e-5f);
    EXPECT_EQ(footprint.minimum.x, -1.0f);
    EXPECT_EQ(footprint.maximum.x, 1.0f);
    ASSERT_EQ(footprint.meshes.size(), 1u);
    EXPECT_EQ(footprint.meshes.front().mesh.indices.size(), 3u * 65533u);
}

// The sample models pass the walk byte for byte, and their outlines are the corners of the meshes
// they were made from, turned from z up to y up.
TEST_F(HostileModels, ExampleModelsAreUnchanged)
{
    for (const FooterModelFile& model : sampleFooterModels()) {
        const std::filesystem::path path =
            std::filesystem::path(PLINTHWRIGHT_EXAMPLES_DIR) / "models" / model.fileName;
        std::ifstream in(path, std::ios::binary);
        const Bytes file{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(screenThreeDs(file).bytes, file) << model.fileName;

        std::vector<Vector3> expected;
        for (const Float3& v : model.mesh.vertices)
            expected.push_back({v.x, v.z, -v.y});
        std::vector<Vector3> points = reader.read(path).points;
        const auto key = [](Vector3 p) { return std::make_tuple(p.x, p.y, p.z); };
        const auto less = [&](Vector3 a, Vector3 b) { return key(a) < key(b); };
        std::sort(expected.begin(), expected.end(), less);
        std::sort(points.begin(), points.end(), less);
        EXPECT_EQ(points, expected) << model.fileName;
    }
}

}  // namespace
}  // namespace pw
