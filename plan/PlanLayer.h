#pragma once
// The painted plan kept as an image between frames: a repaint with the same view copies it, a
// pan shifts it and paints only the strips that came into view, and only a zoom or a changed
// scene paints everything again.

#include "PlanPainter.h"
#include "PlanScene.h"

#include <QImage>
#include <QTransform>

class QPainter;

namespace pw {

class PlanLayer {
public:
    // The scene changed: the next frame paints everything.
    void invalidate() { valid_ = false; }
    // Draws the plan into `target` over the rectangle (0, 0, size), white behind it.
    void draw(QPainter& target, const PlanScene& scene, const QTransform& worldToDevice,
              QSize size, qreal devicePixelRatio = 1.0);

private:
    void paintArea(const PlanScene& scene, const QTransform& worldToDevice, const QRectF& area);

    PlanPainter painter_;
    QImage image_;
    QImage spare_;  // the shifted copy is made here, then the two change places
    QTransform transform_;
    bool valid_ = false;
};

}  // namespace pw
