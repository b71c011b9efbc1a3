#include "view3d/Picking3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace pw {
namespace {

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
using Matrix = std::array<float, 16>;
const Matrix identity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

TEST(Picking3d, RayMeetsTheBoxAsPlaced)
{
    // Straight down from 10 m above the origin onto boxes of 1 m high.
    const Ray3d down{{0, 10, 0}, {0, -1, 0}};
    // Turned 90 degrees about y, stretched twice and moved: the box spans x 3..5 and z -1..1.
    const Matrix turned{0, 0, 2, 4, 0, 2, 0, 0, -2, 0, 0, 0, 0, 0, 0, 1};
    struct Case {
        const char* name;
        Ray3d ray;
        Matrix matrix;
        std::optional<float> hit;
    };
    const Case cases[] = {
        {"from above", down, identity, 9.0f},
        {"moved away", down, {1, 0, 0, 5, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, std::nullopt},
        {"scaled up", down, {3, 0, 0, 0, 0, 3, 0, 0, 0, 0, 3, 0, 0, 0, 0, 1}, 7.0f},
        {"turned and moved", {{4.0f, 10, 0.9f}, {0, -1, 0}}, turned, 8.0f},
        {"turned, beside it", {{4.0f, 10, 1.1f}, {0, -1, 0}}, turned, std::nullopt},
        {"from inside", {{0, 0.5f, 0}, {1, 0, 0}}, identity, 0.0f},
        {"pointing away", {{0, 10, 0}, {0, 1, 0}}, identity, std::nullopt},
        {"flattened", down, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, std::nullopt},
        {"not finite", down, {nan, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<float> hit =
            rayHitsPlacedBox(c.ray, c.matrix, {-0.5f, 0.0f, -0.5f}, {0.5f, 1.0f, 0.5f});
        ASSERT_EQ(hit.has_value(), c.hit.has_value()) << c.name;
        // Boxes are widened by a millimetre of their own frame, so that a flat one can be hit.
        if (hit) {
            EXPECT_NEAR(*hit, *c.hit, 4e-3f) << c.name;
        }
    }
}

TEST(Picking3d, RayMeetsTheTubeWithinItsRadius)
{
    // A vertical tube from the ground to 10 m, looked at along -z from 20 m away.
    const Vector3 a{0, 0, 0}, b{0, 10, 0};
    struct Case {
        Vector3 origin;
        float radius;
        std::optional<float> hit;
    };
    const Case cases[] = {
        {{0, 5, 20}, 0.2f, 20.0f},
        {{0.15f, 5, 20}, 0.2f, 20.0f},
        {{0.25f, 5, 20}, 0.2f, std::nullopt},
        {{0, 11, 20}, 0.2f, std::nullopt},  // above its upper end
        {{0, 10.1f, 20}, 0.2f, 20.0f},      // the end is rounded
        {{0, -3, 20}, 0.2f, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<float> hit = rayHitsTube({c.origin, {0, 0, -1}}, a, b, c.radius);
        ASSERT_EQ(hit.has_value(), c.hit.has_value()) << c.origin.x << ' ' << c.origin.y;
        if (hit) {
            EXPECT_NEAR(*hit, *c.hit, 1e-4f);
        }
    }
    // A tube of no length is a ball.
    EXPECT_TRUE(rayHitsTube({{0, 0, 20}, {0, 0, -1}}, a, a, 0.1f));
}

TEST(Picking3d, NearestOfFooterPreviewAndTubeWins)
{
    Scene3d scene;
    // Picked by its box: one triangle will do for a mesh.
    const ModelMesh triangle{
        {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}, {0, 1, 2}};
    scene.models.push_back(
        {{{triangle, {identityPlacement}}}, {-0.5f, 0.0f, -0.5f}, {0.5f, 1.0f, 0.5f}});
    scene.models.push_back({{}, {-0.5f, 0.0f, -0.5f}, {0.5f, 1.0f, 0.5f}});
    const auto at = [](float x, float z) {
        return std::array<float, 16>{1, 0, 0, x, 0, 1, 0, 0, 0, 0, 1, z, 0, 0, 0, 1};
    };
    scene.footers.push_back({{}, at(0, 0), 0});
    scene.footers.push_back({{}, at(0, -5), 0});
    scene.preview.push_back({{}, at(0, 5), 0});
    scene.footers.push_back({{}, at(10, 0), -1});  // no model: never hit
    scene.footers.push_back({{}, at(-10, 0), 1});  // no triangles: never hit
    scene.tubes.push_back({{-5, 0.5f, 3}, {5, 0.5f, 3}, 0});

    OrbitCamera camera;
    camera.orbit(-OrbitCamera::defaultYawDegrees, -OrbitCamera::defaultPitchDegrees);
    camera.zoomTowards(camera.distance() / 40.0f, camera.pivot());  // 40 m away, on +z
    const QSize size(400, 300);
    const auto pickAt = [&](Vector3 p) {
        return pick3d(scene, camera, *camera.pixelOf(p, size), size);
    };
    // Along the line of sight: the preview at z 5, then the tube at z 3, the footers behind.
    EXPECT_EQ(pickAt({0, 0.5f, 0}).kind, Pick3d::Kind::PreviewFooter);
    EXPECT_EQ(pickAt({3, 0.5f, 0}).kind, Pick3d::Kind::Tube);
    EXPECT_EQ(pickAt({10, 0.5f, 0}).kind, Pick3d::Kind::None);
    EXPECT_EQ(pickAt({-10, 0.5f, 0}).kind, Pick3d::Kind::None);
    camera.orbit(0.0f, 89.0f);  // from above: each footer on its own
    for (const std::size_t i : {0u, 1u}) {
        const Vector3 top{scene.footers[i].matrix[3], 1.0f, scene.footers[i].matrix[11]};
        const Pick3d pick = pickAt(top);
        EXPECT_EQ(pick.kind, Pick3d::Kind::Footer);
        EXPECT_EQ(pick.index, i);
    }
}

TEST(Picking3d, WheelZoomsTowardsWhatIsUnderThePointerAndStaysAboveTheGround)
{
    Scene3d scene;
    const ModelMesh triangle{
        {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}, {0, 1, 2}};
    scene.models.push_back({{{triangle, {identityPlacement}}}, {-1, 0, -1}, {1, 2, 1}});
    scene.footers.push_back({{}, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 0});
    const QSize size(400, 300);
    OrbitCamera camera;
    camera.fit({-50, 0, -50}, {50, 10, 50}, size);
    // On the footer: the point where the ray enters its box, in front of the point aimed at.
    const Vector3 aim{0, 1, 0};
    const Vector3 onFooter = zoomTarget(scene, camera, *camera.pixelOf(aim, size), size);
    EXPECT_LE(std::abs(onFooter.x), 1.01f);
    EXPECT_LE(std::abs(onFooter.z), 1.01f);
    EXPECT_GE(onFooter.y, -0.01f);
    EXPECT_LE(onFooter.y, 2.01f);
    EXPECT_LT(length(onFooter - camera.eye()), length(aim - camera.eye()) - 0.5f);
    // Near the bottom edge, where the pivot's depth lies under the ground: the ground instead,
    // and notch after notch the eye stays above it.
    const QPointF low(300, 290);
    EXPECT_NEAR(zoomTarget(scene, camera, low, size).y, 0.0f, 1e-3f);
    for (int notch = 0; notch < 30; ++notch) {
        camera.zoomTowards(1.25f, zoomTarget(scene, camera, low, size));
        EXPECT_GT(camera.eye().y, 0.0f) << notch;
    }
    // Above the horizon: the point at the pivot's depth.
    camera.orbit(0.0f, -camera.pitchDegrees());
    const Vector3 sky = zoomTarget(scene, camera, QPointF(200, 10), size);
    const Vector3 atPivotDepth = camera.pointAtPivotDepth(QPointF(200, 10), size);
    EXPECT_EQ(sky, atPivotDepth);
}

}  // namespace
}  // namespace pw
