#include "view3d/OrbitCamera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pw {
namespace {

const QSize viewport(800, 500);

void expectNear(QPointF a, QPointF b, double tolerance)
{
    EXPECT_NEAR(a.x(), b.x(), tolerance);
    EXPECT_NEAR(a.y(), b.y(), tolerance);
}

TEST(OrbitCamera, DefaultLooksFromTheFrontRightAndAboveWithYUp)
{
    OrbitCamera camera;
    camera.orbit(-OrbitCamera::defaultYawDegrees, -OrbitCamera::defaultPitchDegrees);
    // Yaw 0, pitch 0: the view from the front of the plans, x right, y up, looking along -z.
    EXPECT_NEAR(camera.forward().z, -1.0f, 1e-6f);
    EXPECT_NEAR(camera.right().x, 1.0f, 1e-6f);
    EXPECT_NEAR(camera.up().y, 1.0f, 1e-6f);
    const std::optional<QPointF> pivot = camera.pixelOf(camera.pivot(), viewport);
    ASSERT_TRUE(pivot);
    expectNear(*pivot, QPointF(400, 250), 1e-3);
    // Up on the screen is up in the world.
    EXPECT_LT(camera.pixelOf({0, 1, 0}, viewport)->y(), 250.0);
    EXPECT_GT(camera.pixelOf({1, 0, 0}, viewport)->x(), 400.0);
}

TEST(OrbitCamera, PixelAndRayAreInverses)
{
    OrbitCamera camera;
    camera.fit({-60, 0, -35}, {60, 25, 35}, viewport);
    for (const QPointF pixel : {QPointF(0, 0), QPointF(799, 499), QPointF(123.5, 321.25)}) {
        const Ray3d ray = camera.rayThrough(pixel, viewport);
        const Vector3 far{ray.origin.x + 70 * ray.direction.x, ray.origin.y + 70 * ray.direction.y,
                          ray.origin.z + 70 * ray.direction.z};
        expectNear(*camera.pixelOf(far, viewport), pixel, 1e-2);
    }
    EXPECT_FALSE(camera.pixelOf(camera.eye() - camera.forward(), viewport));
}

TEST(OrbitCamera, FitShowsEveryCornerOfTheBox)
{
    struct Case {
        Vector3 minimum, maximum;
        QSize size;
    };
    for (const Case& c :
         {Case{{-60, 0, -35}, {60, 25, 35}, {1280, 800}}, Case{{-1, -1, -1}, {1, 1, 1}, {200, 600}},
          Case{{1000, 0, 1000}, {1000, 0, 1000}, {640, 480}}}) {
        OrbitCamera camera;
        camera.fit(c.minimum, c.maximum, c.size);
        EXPECT_NEAR(camera.pivot().x, 0.5f * (c.minimum.x + c.maximum.x), 1e-3f);
        bool touches = false;
        for (int corner = 0; corner < 8; ++corner) {
            const Vector3 p{(corner & 1) ? c.maximum.x : c.minimum.x,
                            (corner & 2) ? c.maximum.y : c.minimum.y,
                            (corner & 4) ? c.maximum.z : c.minimum.z};
            const QPointF pixel = *camera.pixelOf(p, c.size);
            EXPECT_GE(pixel.x(), 0.0);
            EXPECT_LE(pixel.x(), c.size.width());
            EXPECT_GE(pixel.y(), 0.0);
            EXPECT_LE(pixel.y(), c.size.height());
            // Within the twentieth of margin on some side: the fit is tight.
            touches = touches || pixel.x() < 0.06 * c.size.width() ||
                      pixel.x() > 0.94 * c.size.width() || pixel.y() < 0.06 * c.size.height() ||
                      pixel.y() > 0.94 * c.size.height();
        }
        EXPECT_TRUE(touches || camera.distance() == OrbitCamera::nearestDistance);
    }
}

TEST(OrbitCamera, ZoomKeepsThePointUnderThePointer)
{
    for (const float factor : {1.25f, 1.0f / 1.25f, 3.0f}) {
        for (const QPointF pointer : {QPointF(400, 250), QPointF(10, 20), QPointF(700, 480)}) {
            OrbitCamera camera;
            camera.fit({-60, 0, -35}, {60, 25, 35}, viewport);
            const Vector3 target = camera.pointAtPivotDepth(pointer, viewport);
            const float before = camera.distance();
            camera.zoomTowards(factor, target);
            EXPECT_NEAR(camera.distance(), before / factor, before * 1e-5f);
            expectNear(*camera.pixelOf(target, viewport), pointer, 0.05);
        }
    }
}

TEST(OrbitCamera, PanMovesWhatLiesAtThePivotWithThePointer)
{
    OrbitCamera camera;
    camera.fit({-60, 0, -35}, {60, 25, 35}, viewport);
    const Vector3 pivot = camera.pivot();
    camera.pan(QPointF(30, -20), viewport);
    expectNear(*camera.pixelOf(pivot, viewport), QPointF(430, 230), 0.05);
}

TEST(OrbitCamera, OrbitKeepsThePitchOffThePoles)
{
    OrbitCamera camera;
    camera.orbit(400.0f, 200.0f);
    EXPECT_FLOAT_EQ(camera.pitchDegrees(), 89.0f);
    EXPECT_NEAR(camera.yawDegrees(),
                std::remainder(OrbitCamera::defaultYawDegrees + 400.0f, 360.0f), 1e-4f);
    camera.orbit(0.0f, -400.0f);
    EXPECT_FLOAT_EQ(camera.pitchDegrees(), -89.0f);
}

}  // namespace
}  // namespace pw
