#include "view3d/Scene3d.h"

#include "testsupport/TrackFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace pw {
namespace {

constexpr float nan = std::numeric_limits<float>::quiet_NaN();

// A tetrahedron standing on the ground, 1 m high.
ModelFootprint tetrahedron()
{
    ModelFootprint footprint;
    footprint.readable = true;
    ModelMesh& mesh = footprint.meshes.emplace_back(PlacedMesh{{}, {identityPlacement}}).mesh;
    mesh.positions = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, 1, 0}};
    mesh.normals = {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}, {0, 1, 0}};
    mesh.indices = {0, 1, 2, 0, 1, 3, 0, 2, 3, 1, 2, 3};
    return footprint;
}

TEST(Scene3d, ModelsThatCannotBeDrawnHaveNoTriangles)
{
    struct Case {
        const char* name;
        void (*spoil)(ModelMesh&);
    };
    const Case cases[] = {
        {"non-finite vertex", [](ModelMesh& m) { m.positions[2].y = nan; }},
        {"infinite vertex",
         [](ModelMesh& m) { m.positions[0].x = std::numeric_limits<float>::infinity(); }},
        {"no triangles", [](ModelMesh& m) { m.indices.clear(); }},
        {"index out of range", [](ModelMesh& m) { m.indices[5] = 4; }},
        {"a triangle cut short", [](ModelMesh& m) { m.indices.pop_back(); }},
    };
    for (const Case& c : cases) {
        ModelFootprint footprint = tetrahedron();
        c.spoil(footprint.meshes.front().mesh);
        EXPECT_TRUE(drawableModel(footprint).meshes.empty()) << c.name;
    }
}

TEST(Scene3d, DrawableModelKeepsTheMeshAndMendsItsNormals)
{
    const Model3d whole = drawableModel(tetrahedron());
    ASSERT_EQ(whole.meshes.size(), 1u);
    EXPECT_EQ(whole.meshes.front().mesh.indices.size(), 12u);
    EXPECT_EQ(whole.minimum, (Vector3{0, 0, 0}));
    EXPECT_EQ(whole.maximum, (Vector3{1, 1, 1}));

    ModelFootprint noNormals = tetrahedron();
    noNormals.meshes.front().mesh.normals.clear();
    const Model3d mended = drawableModel(noNormals);
    ASSERT_EQ(mended.meshes.front().mesh.normals.size(), 4u);
    for (const Vector3 n : mended.meshes.front().mesh.normals)
        EXPECT_NEAR(length(n), 1.0f, 1e-5f);

    // A model that could not be read is the plan's 1 m square, seen from above and below.
    const Model3d square = drawableModel(unitSquareFootprint(CoreError(ModelError::NotFound)));
    ASSERT_EQ(square.meshes.size(), 1u);
    EXPECT_EQ(square.meshes.front().mesh.indices.size(), 12u);
    EXPECT_EQ(square.minimum, (Vector3{-0.5f, 0.0f, -0.5f}));
    EXPECT_EQ(square.maximum, (Vector3{0.5f, 0.0f, 0.5f}));
}

// A mesh placed twice is held once; its box covers both places, and a place that is not finite
// is left out.
TEST(Scene3d, DrawableModelKeepsEveryFinitePlacementOfAMesh)
{
    ModelFootprint twice = tetrahedron();
    Placement up = identityPlacement, broken = identityPlacement;
    up[7] = 5.0f;
    broken[3] = nan;
    twice.meshes.front().placements = {identityPlacement, broken, up};
    const Model3d model = drawableModel(twice);
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_EQ(model.meshes.front().placements, (std::vector<Placement>{identityPlacement, up}));
    EXPECT_EQ(model.minimum, (Vector3{0, 0, 0}));
    EXPECT_EQ(model.maximum, (Vector3{1, 6, 1}));

    twice.meshes.front().placements = {broken};
    EXPECT_TRUE(drawableModel(twice).meshes.empty());
}

TEST(Scene3d, HoldsTubesFundamentsAndFootersOfTheTrack)
{
    Track track = makeRichTrack();
    const std::array<float, 16> placed{1, 0, 0, 1234, 0, 1, 0, 0, 0, 0, 1, -60, 0, 0, 0, 1};
    std::array<float, 16> spoiled = placed;
    spoiled[5] = nan;
    track.sceneryObjects.push_back({"a", "rich/fundament-xxlarge.3ds", placed});
    track.sceneryObjects.push_back({"b", "rich/fundament-small.3ds", placed});
    track.sceneryObjects.push_back({"c", "rich/fundament-medium.3ds", spoiled});
    const std::vector<SceneryObject> preview{{"d", "rich/fundament-large.3ds", placed}};

    const Scene3d scene = buildScene3d(track, {}, preview);
    EXPECT_EQ(scene.curve.size(), 5u);
    EXPECT_EQ(scene.tubes.size(), 8u);
    EXPECT_EQ(scene.fundaments.size(), track.fundaments.size());
    // Ordered by class; the one with a non-finite value is left out.
    ASSERT_EQ(scene.footers.size(), 2u);
    EXPECT_EQ(scene.footers[0].facts.style, static_cast<int>(TubeSizeClass::Small));
    EXPECT_EQ(scene.footers[1].facts.style, static_cast<int>(TubeSizeClass::XXLarge));
    EXPECT_EQ(scene.footers[0].matrix, placed);
    ASSERT_EQ(scene.preview.size(), 1u);
    EXPECT_EQ(scene.preview[0].facts.modelFile, "large.3ds");
    // Without a model directory every footer shares the one square.
    ASSERT_EQ(scene.models.size(), 1u);
    EXPECT_EQ(scene.preview[0].model, 0);
    EXPECT_EQ(scene.bounds.maximum.x, 1234.0f);

    // A runaway footer and fundament are drawn but not fitted: the camera keeps the track.
    std::array<float, 16> runaway = placed;
    runaway[3] = 1e30f;
    track.sceneryObjects.push_back({"e", "rich/fundament-small.3ds", runaway});
    track.fundaments.front().position.z = -2e7f;
    const Scene3d wild = buildScene3d(track, {}, preview);
    EXPECT_EQ(wild.footers.size(), 3u);
    EXPECT_EQ(wild.fundaments.size(), track.fundaments.size());
    EXPECT_EQ(wild.bounds.maximum, scene.bounds.maximum);
    EXPECT_EQ(wild.bounds.minimum, scene.bounds.minimum);
}

TEST(Scene3d, TubesGrowThickerWithTheirClass)
{
    float previous = 0.0f;
    for (int style = 0; style < sizeClassCount; ++style) {
        EXPECT_GT(tubeRadius(style), previous);
        previous = tubeRadius(style);
    }
    EXPECT_EQ(tubeRadius(otherFooterStyle), tubeRadius(0));
    EXPECT_EQ(tubeRadius(-3), tubeRadius(0));
}

}  // namespace
}  // namespace pw
