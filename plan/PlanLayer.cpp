#include "PlanLayer.h"

#include <QElapsedTimer>
#include <QPainter>

#include <cmath>
#include <utility>

namespace pw {

namespace {

// Whether two views differ by a whole-pixel shift alone, and by how much.
bool shiftBetween(const QTransform& from, const QTransform& to, QPoint& shift)
{
    if (from.m11() != to.m11() || from.m12() != to.m12() || from.m21() != to.m21() ||
        from.m22() != to.m22() || !from.isAffine() || !to.isAffine())
        return false;
    const double dx = to.dx() - from.dx();
    const double dy = to.dy() - from.dy();
    // A pan adds whole pixels; rounding in the sum leaves far less than a pixel's fraction.
    if (std::abs(dx - std::round(dx)) > 1e-6 || std::abs(dy - std::round(dy)) > 1e-6)
        return false;
    shift = QPoint(static_cast<int>(std::round(dx)), static_cast<int>(std::round(dy)));
    return true;
}

}  // namespace

void PlanLayer::paintArea(const PlanScene& scene, const QTransform& worldToDevice,
                          const QRectF& area)
{
    QElapsedTimer clock;
    clock.start();
    QPainter painter(&image_);
    painter.setClipRect(area);
    painter.fillRect(area, Qt::white);
    painter_.paint(painter, scene, worldToDevice, area);
    painter.end();
    if (area.size() == image_.deviceIndependentSize())
        wholeViewMs_ = clock.elapsed();
}

QImage paintWholeView(const PlanScene& scene, const QTransform& worldToDevice, QSize size,
                      qreal devicePixelRatio)
{
    QImage image(size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    const QRectF area(QPointF(0, 0), QSizeF(size));
    QPainter painter(&image);
    painter.fillRect(area, Qt::white);
    PlanPainter().paint(painter, scene, worldToDevice, area);
    return image;
}

void PlanLayer::adopt(QImage image, const QTransform& worldToDevice)
{
    image_ = std::move(image);
    transform_ = worldToDevice;
    valid_ = true;
}

bool PlanLayer::drawInterim(QPainter& target, const QTransform& worldToDevice, QSize size) const
{
    bool invertible = false;
    const QTransform keptToNew = transform_.inverted(&invertible) * worldToDevice;
    if (!valid_ || !invertible || image_.isNull())
        return false;
    target.save();
    target.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    // Nearest pixels: smoothing would cost more than the stand-in is worth for a few frames.
    target.setRenderHint(QPainter::SmoothPixmapTransform, false);
    target.setTransform(keptToNew, true);
    target.drawImage(QPointF(0, 0), image_);
    target.restore();
    return true;
}

void PlanLayer::draw(QPainter& target, const PlanScene& scene, const QTransform& worldToDevice,
                     QSize size, qreal devicePixelRatio)
{
    const QSize pixels = size * devicePixelRatio;
    QPoint shift;
    if (!valid_ || image_.size() != pixels || image_.devicePixelRatio() != devicePixelRatio) {
        image_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        image_.setDevicePixelRatio(devicePixelRatio);
        paintArea(scene, worldToDevice, QRectF(QPointF(0, 0), QSizeF(size)));
    } else if (worldToDevice != transform_) {
        if (shiftBetween(transform_, worldToDevice, shift) && std::abs(shift.x()) < size.width() &&
            std::abs(shift.y()) < size.height()) {
            if (spare_.size() != image_.size()) {
                spare_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
                spare_.setDevicePixelRatio(devicePixelRatio);
            }
            {
                QPainter copy(&spare_);
                copy.setCompositionMode(QPainter::CompositionMode_Source);
                copy.drawImage(QPointF(shift), image_);
            }
            std::swap(image_, spare_);
            // The strips the shift uncovered: one beside, one above or below.
            const QRectF whole(QPointF(0, 0), QSizeF(size));
            if (shift.x() > 0)
                paintArea(scene, worldToDevice, QRectF(0, 0, shift.x(), size.height()));
            else if (shift.x() < 0)
                paintArea(scene, worldToDevice,
                          QRectF(size.width() + shift.x(), 0, -shift.x(), size.height()));
            if (shift.y() > 0)
                paintArea(scene, worldToDevice, QRectF(0, 0, size.width(), shift.y()));
            else if (shift.y() < 0)
                paintArea(scene, worldToDevice,
                          QRectF(0, size.height() + shift.y(), size.width(), -shift.y()));
        } else {
            paintArea(scene, worldToDevice, QRectF(QPointF(0, 0), QSizeF(size)));
        }
    }
    transform_ = worldToDevice;
    valid_ = true;
    target.drawImage(QPointF(0, 0), image_);
}

}  // namespace pw
