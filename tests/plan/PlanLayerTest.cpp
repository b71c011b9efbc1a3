#include "plan/PlanLayer.h"

#include "tests/support/TrackFixtures.h"

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
                    std::abs(qBlue(p) - qBlue(q)) > 120)
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

}  // namespace
}  // namespace pw
