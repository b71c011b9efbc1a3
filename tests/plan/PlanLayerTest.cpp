#include "plan/PlanLayer.h"

#include "testsupport/TrackFixtures.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdlib>

namespace pw {
namespace {

QImage drawn(PlanLayer& layer, const PlanScene& scene, const QTransform& view)
{
    QImage image(400, 300, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    layer.draw(painter, scene, view, image.size());
    return image;
}

// Pixels that differ by more than antialiasing could explain: a shifted line's edge pixels may
// round their coverage a few steps apart, a missing or stray mark differs by far more.
int differences(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                    std::abs(qBlue(p) - qBlue(q)) >
                120)
                ++count;
        }
    return count;
}

TEST(PlanLayer, PannedFrameMatchesOnePaintedAfresh)
{
    Track track = makeRichTrack();
    track.sceneryObjects.push_back(
        {"", "d/fundament-large.3ds", {4, 0, 0, 30, 0, 4, 0, 0, 0, 0, 4, -50, 0, 0, 0, 1}});
    const PlanScene scene = buildPlanScene(track, PlanView::Top, nullptr);
    const QTransform view = fitTransform(scene.bounds, QRectF(10, 10, 380, 280));

    PlanLayer panned;
    drawn(panned, scene, view);
    for (const QPoint shift : {QPoint(37, -21), QPoint(-50, 0), QPoint(0, 64)}) {
        const QTransform moved = view * QTransform::fromTranslate(shift.x(), shift.y());
        PlanLayer fresh;
        EXPECT_EQ(differences(drawn(panned, scene, moved), drawn(fresh, scene, moved)), 0)
            << shift.x() << ", " << shift.y();
        drawn(panned, scene, view);
    }

    // A changed scene is painted again, not shifted.
    PlanScene without = scene;
    without.footers.clear();
    panned.invalidate();
    PlanLayer fresh;
    EXPECT_EQ(differences(drawn(panned, without, view), drawn(fresh, without, view)), 0);
}

TEST(PlanLayer, StandInIsTheKeptPictureMovedAndScaled)
{
    const PlanScene scene = buildPlanScene(makeRichTrack(), PlanView::Top, nullptr);
    const QTransform view = fitTransform(scene.bounds, QRectF(10, 10, 380, 280));
    QImage standIn(400, 300, QImage::Format_ARGB32_Premultiplied);
    const auto drawStandIn = [&](const PlanLayer& layer, const QTransform& to) {
        standIn.fill(Qt::red);
        QPainter painter(&standIn);
        return layer.drawInterim(painter, to, standIn.size());
    };

    PlanLayer layer;
    EXPECT_FALSE(drawStandIn(layer, view));  // nothing kept yet
    const QImage kept = drawn(layer, scene, view);
    ASSERT_TRUE(drawStandIn(layer, view));
    EXPECT_EQ(standIn, kept);

    // Twice the size about (100, 80): each kept pixel covers two by two, white beyond its edge.
    const QTransform zoomed = view * QTransform::fromTranslate(-100, -80) *
                              QTransform::fromScale(2, 2) * QTransform::fromTranslate(100, 80);
    ASSERT_TRUE(drawStandIn(layer, zoomed));
    int marked = 0;
    for (int y = 40; y < 190; y += 3)
        for (int x = 50; x < 250; x += 3) {
            const QRgb source = kept.pixel(x, y);
            marked += source != qRgb(255, 255, 255);
            for (const QPoint corner : {QPoint(0, 0), QPoint(1, 1)})
                ASSERT_EQ(standIn.pixel(QPoint(2 * x - 100, 2 * y - 80) + corner), source)
                    << x << ", " << y;
        }
    EXPECT_GT(marked, 20);  // the comparison saw the plan, not only white
    const QTransform shrunk = view * QTransform::fromScale(0.5, 0.5);
    ASSERT_TRUE(drawStandIn(layer, shrunk));
    EXPECT_EQ(standIn.pixel(399, 299), qRgb(255, 255, 255));

    layer.invalidate();
    EXPECT_FALSE(drawStandIn(layer, view));  // the kept picture shows an old scene
}

}  // namespace
}  // namespace pw
