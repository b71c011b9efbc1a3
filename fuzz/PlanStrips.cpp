#include "PlanStrips.h"

#include "plan/PlanPainter.h"
#include "plan/PlanScene.h"
#include "plan/RasterTarget.h"
#include "tracklib/TrackFile.h"

#include <QImage>
#include <QPainter>

namespace pw::hardening {

namespace {

constexpr QRgb white = 0xffffffff;

std::string paintStrip(QImage& image, const PlanScene& scene, const QTransform& view,
                       const QRect& strip)
{
    static PlanPainter painter;
    image.fill(white);
    {
        QPainter onImage(&image);
        onImage.setClipRect(strip);
        painter.paint(onImage, scene, view, QRectF(strip));
        if (const auto target = rasterTarget(onImage, QRectF(strip), view)) {
            drawLines(*target, scene.tubes, Qt::black);
            drawDots(*target, scene.fundaments, Qt::black, 5.0, DotShape::Square);
            drawDots(*target, scene.sceneryObjects, Qt::black, 4.0, DotShape::Round);
        }
    }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!strip.contains(x, y) && image.pixel(x, y) != white)
                return "pixel " + std::to_string(x) + "," + std::to_string(y) +
                       " outside the strip painted";
    return {};
}

}  // namespace

std::string checkPlanStrips(std::span<const std::uint8_t> bytes)
{
    Track track;
    readTrackBytes(bytes, track, nullptr);
    QImage image(96, 64, QImage::Format_ARGB32_Premultiplied);
    const QRect strip(20, 12, 40, 30);
    for (const PlanView view : {PlanView::Top, PlanView::Side}) {
        const PlanScene scene = buildPlanScene(track, view, {});
        const QTransform whole = fitTransform(scene.bounds, QRectF(image.rect()));
        const QTransform far =
            whole * QTransform::fromScale(1e4, 1e4) * QTransform::fromTranslate(-3e5, -2e5);
        for (const QTransform& zoom : {whole, far})
            if (std::string failure = paintStrip(image, scene, zoom, strip); !failure.empty())
                return failure;
    }
    return {};
}

}  // namespace pw::hardening
