#include "models/ModelFootprint.h"
#include "models/ModelFootprints.h"
#include "models/ModelReaderClient.h"
#include "plan/PlanScene.h"

#include "examples/ThreeDsModel.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <cmath>
#include <fstream>
#include <limits>

namespace pw {
namespace {

// A box 2 m wide in x, 1 m deep and 3 m high, standing on the ground, as 3ds modellers put it:
// z up.
Mesh boxMesh()
{
    Mesh mesh;
    mesh.name = "box";
    for (const float z : {0.0f, 3.0f})
        for (const float y : {-0.5f, 0.5f})
            for (const float x : {-1.0f, 1.0f})
                mesh.vertices.push_back({x, y, z});
    mesh.faces = {{0, 2, 1}, {1, 2, 3}, {4, 5, 6}, {5, 7, 6}, {0, 1, 4}, {1, 5, 4},
                  {2, 6, 3}, {3, 6, 7}, {0, 4, 2}, {2, 4, 6}, {1, 3, 5}, {3, 7, 5}};
    return mesh;
}

class ModelFiles : public testing::Test {
protected:
    std::filesystem::path write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const std::filesystem::path path = std::filesystem::path(dir.path().toStdString()) / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    // The one mesh of a model without instances.
    ModelMesh meshOf(const std::filesystem::path& file)
    {
        const ModelFootprint footprint = reader.read(file);
        return footprint.meshes.size() == 1 ? footprint.meshes.front().mesh : ModelMesh{};
    }
    QTemporaryDir dir;
    ModelReaderClient reader;
};

TEST_F(ModelFiles, BoxIsReadWithYUpAndItsEightCorners)
{
    const ModelFootprint footprint = reader.read(write("box.3ds", encodeThreeDs(boxMesh())));
    ASSERT_TRUE(footprint.readable) << footprint.problem;
    EXPECT_EQ(footprint.points.size(), 8u);
    EXPECT_FLOAT_EQ(footprint.minimum.x, -1.0f);
    EXPECT_FLOAT_EQ(footprint.maximum.x, 1.0f);
    EXPECT_FLOAT_EQ(footprint.minimum.y, 0.0f);
    EXPECT_FLOAT_EQ(footprint.maximum.y, 3.0f);
    EXPECT_FLOAT_EQ(footprint.minimum.z, -0.5f);
    EXPECT_FLOAT_EQ(footprint.maximum.z, 0.5f);
}

// The triangles keep the box's shape: every normal unit length and pointing out of its face, and
// a vertex that is not finite takes its triangles with it.
TEST_F(ModelFiles, MeshKeepsTrianglesWithOutwardUnitNormals)
{
    Mesh withNaN = boxMesh();
    withNaN.vertices[0].x = std::numeric_limits<float>::quiet_NaN();  // in 3 of the 12 faces
    const struct {
        const char* name;
        Mesh mesh;
        std::size_t triangles;
    } cases[] = {{"box.3ds", boxMesh(), 12}, {"nan.3ds", withNaN, 9}};
    for (const auto& c : cases) {
        const ModelMesh mesh = meshOf(write(c.name, encodeThreeDs(c.mesh)));
        ASSERT_EQ(mesh.indices.size(), 3 * c.triangles) << c.name;
        ASSERT_EQ(mesh.normals.size(), mesh.positions.size()) << c.name;
        for (std::size_t t = 0; t < mesh.indices.size(); t += 3) {
            const Vector3 a = mesh.positions.at(mesh.indices[t]);
            const Vector3 b = mesh.positions.at(mesh.indices[t + 1]);
            const Vector3 c3 = mesh.positions.at(mesh.indices[t + 2]);
            // The box's centre is (0, 1.5, 0) with y up; each face's centre lies outside it.
            const Vector3 centre{(a.x + b.x + c3.x) / 3, (a.y + b.y + c3.y) / 3 - 1.5f,
                                 (a.z + b.z + c3.z) / 3};
            Vector3 facing = cross(b - a, c3 - a);
            normalize(facing);
            EXPECT_GT(dot(facing, centre), 0.0f) << c.name << " triangle " << t / 3;
            for (int i = 0; i < 3; ++i) {
                const Vector3 n = mesh.normals[mesh.indices[t + i]];
                EXPECT_NEAR(length(n), 1.0f, 1e-5f) << c.name;
                EXPECT_GT(dot(n, facing), 0.99f) << c.name << " triangle " << t / 3;
            }
        }
    }
    EXPECT_TRUE(reader.read(write("text.3ds", {'n', 'o'})).meshes.empty());
}

// A tetrahedron whose four faces share one smoothing group: the normals are assimp's, shared by
// the faces at a corner. At the right-angled corner three faces facing -x, -y and -z meet (in
// y-up terms -x, -y and +z), so its normal is their mean, which no flat normal would be.
TEST_F(ModelFiles, SmoothingGroupsGiveSharedNormals)
{
    const ModelMesh mesh =
        meshOf(std::string(PLINTHWRIGHT_MODEL_SEED_DIR) + "/smoothing-groups.3ds");
    ASSERT_EQ(mesh.indices.size(), 12u);
    const float third = 1.0f / std::sqrt(3.0f);
    int atCorner = 0;
    for (const std::uint32_t i : mesh.indices) {
        EXPECT_NEAR(length(mesh.normals[i]), 1.0f, 1e-5f);
        if (mesh.positions[i] == Vector3{0, 0, 0}) {
            ++atCorner;
            EXPECT_NEAR(mesh.normals[i].x, -third, 1e-5f);
            EXPECT_NEAR(mesh.normals[i].y, -third, 1e-5f);
            EXPECT_NEAR(mesh.normals[i].z, third, 1e-5f);
        }
    }
    EXPECT_EQ(atCorner, 3);
}

TEST_F(ModelFiles, BadFilesGiveTheUnitSquareAndSayWhy)
{
    std::vector<std::uint8_t> box = encodeThreeDs(boxMesh());
    const std::vector<std::uint8_t> truncated(box.begin(), box.begin() + box.size() / 2);
    const std::vector<std::uint8_t> text{'m', 'o', 'd', 'e', 'l', '\n'};
    // A 3ds header that claims far more than the file holds, and chunks that claim nothing.
    std::vector<std::uint8_t> lying(box.begin(), box.begin() + 6);
    lying[2] = lying[3] = lying[4] = lying[5] = 0xFF;
    std::vector<std::uint8_t> zeroChunks = box;
    for (std::size_t i = 6; i < zeroChunks.size(); ++i)
        zeroChunks[i] = 0;

    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* problem;
    } cases[] = {
        {"empty.3ds", {}, "not a 3ds model"},
        {"truncated.3ds", truncated, "not a 3ds model"},
        {"text.3ds", text, "not a 3ds model"},
        {"lying.3ds", lying, "not a 3ds model"},
        {"zeros.3ds", zeroChunks, "not a 3ds model"},
    };
    for (const auto& c : cases) {
        const ModelFootprint footprint = reader.read(write(c.name, c.bytes));
        EXPECT_FALSE(footprint.readable) << c.name;
        EXPECT_EQ(footprint.problem, c.problem) << c.name;
        EXPECT_EQ(footprint.points.size(), 4u) << c.name;
        EXPECT_FLOAT_EQ(footprint.maximum.x, 0.5f) << c.name;
    }
    EXPECT_EQ(reader.read(dir.path().toStdString() + "/missing.3ds").problem, "not found");

    // Too big to be a footer: refused by its size, before any byte is read.
    const std::filesystem::path huge = write("huge.3ds", box);
    std::filesystem::resize_file(huge, largestModelFileBytes + 1);
    EXPECT_EQ(reader.read(huge).problem, "larger than 16 MiB");
}

// Every cut and every flipped byte of a good model: the reader answers each one, readable or not,
// and a footprint it calls readable has points.
TEST_F(ModelFiles, CutAndFlippedModelsAreAnsweredWithoutCrash)
{
    const std::vector<std::uint8_t> box = encodeThreeDs(boxMesh());
    int readable = 0;
    for (std::size_t length = 0; length < box.size(); ++length) {
        const ModelFootprint footprint =
            reader.read(write("cut.3ds", {box.begin(), box.begin() + length}));
        EXPECT_EQ(footprint.readable, !footprint.points.empty() && footprint.problem.empty());
        readable += footprint.readable ? 1 : 0;
    }
    for (std::size_t i = 0; i < box.size(); ++i) {
        std::vector<std::uint8_t> flipped = box;
        flipped[i] ^= 0xFF;
        const ModelFootprint footprint = reader.read(write("flipped.3ds", flipped));
        EXPECT_FALSE(footprint.points.empty());
    }
    EXPECT_LT(readable, static_cast<int>(box.size()));
}

TEST_F(ModelFiles, DirectoryReadsEachModelOnceAndStaysInside)
{
    write("small.3ds", encodeThreeDs(boxMesh()));
    ModelFootprints footprints(dir.path().toStdString(), reader.fileReader());
    const ModelFootprint& first = footprints.of("small.3ds");
    EXPECT_TRUE(first.readable);
    std::filesystem::remove(footprints.directory() / "small.3ds");
    EXPECT_EQ(&footprints.of("small.3ds"), &first);  // not read again
    EXPECT_EQ(footprints.of("../small.3ds").problem, "not a model file name");
}

// A footer in the track is drawn as the copy the simulator shows; one a generation would add, as
// the model in the model directory that generate would copy.
TEST_F(ModelFiles, FootersInTheTrackShowTheInstalledCopy)
{
    std::filesystem::create_directories(std::filesystem::path(dir.path().toStdString()) /
                                        "objects/park");
    write("objects/park/fundament-small.3ds", encodeThreeDs(boxMesh()));  // 2 m wide
    std::filesystem::create_directories(std::filesystem::path(dir.path().toStdString()) / "models");
    write("models/small.3ds", encodeThreeDs(plinthMesh("small", 0.5f, 0.5f, 0.0f, 0.5f)));
    ModelFootprints installed(dir.path().toStdString() + "/objects", reader.fileReader());
    ModelFootprints models(dir.path().toStdString() + "/models", reader.fileReader());

    Track track;
    const SceneryObject footer{
        "", "park/fundament-small.3ds", {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    track.sceneryObjects = {footer};
    const PlanScene scene = buildPlanScene(track, PlanView::Top, {&models, &installed},
                                           std::vector<SceneryObject>{footer});
    ASSERT_EQ(scene.footers.size(), 1u);
    ASSERT_EQ(scene.preview.size(), 1u);
    EXPECT_FLOAT_EQ(static_cast<float>(scene.footers[0].bounds.width()), 2.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(scene.preview[0].bounds.width()), 0.5f);

    // Without the installed copy, the model directory's model stands in.
    track.sceneryObjects[0].textB = "elsewhere/fundament-small.3ds";
    EXPECT_FLOAT_EQ(
        static_cast<float>(
            buildPlanScene(track, PlanView::Top, {&models, &installed}).footers[0].bounds.width()),
        0.5f);
    EXPECT_EQ(installed.of("park/../../secret.3ds").problem, "not a model file name");
}

}  // namespace
}  // namespace pw
