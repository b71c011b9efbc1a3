#pragma once
// The painted plan kept as an image between frames: a repaint with the same view copies it, a
// pan shifts it and paints only the strips that came into view, and only a zoom or a changed
// scene paints everything again. While the view is still changing, the kept picture can stand in
// for the new view, moved and scaled, at a fraction of a full paint's cost.

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
    void draw(QPainter& target, const PlanScene& scene, const QTransform& worldToDevice, QSize size,
              qreal devicePixelRatio = 1.0);
    // Draws the kept picture moved and scaled into the new view, white where it does not reach,
    // without painting the scene. False, drawing nothing, when no picture of this scene is kept.
    bool drawInterim(QPainter& target, const QTransform& worldToDevice, QSize size) const;
    // Takes a picture of this scene painted elsewhere (see paintWholeView) as the kept one.
    void adopt(QImage image, const QTransform& worldToDevice);
    // Whether the last painting of the whole view took longer than a frame can spare.
    bool slowToPaint() const { return wholeViewMs_ > slowPaintMs; }

private:
    void paintArea(const PlanScene& scene, const QTransform& worldToDevice, const QRectF& area);

    PlanPainter painter_;
    QImage image_;
    QImage spare_;  // the shifted copy is made here, then the two change places
    QTransform transform_;
    bool valid_ = false;
    qint64 wholeViewMs_ = 0;
    static constexpr qint64 slowPaintMs = 8;  // half a frame at 60 per second
};

// The whole view painted into a new image, white behind it. Touches nothing shared, so it may run
// in a thread of its own with a scene of its own.
QImage paintWholeView(const PlanScene& scene, const QTransform& worldToDevice, QSize size,
                      qreal devicePixelRatio);

}  // namespace pw
