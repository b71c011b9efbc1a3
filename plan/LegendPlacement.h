#pragma once
// Where the legend goes on a plan canvas, and the area the drawing is fitted into beside it.

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

namespace pw {

struct CanvasLayout {
    QRectF drawing;                 // the whole plan is fitted into this area
    std::optional<QPointF> legend;  // the legend's top left corner; none when it is not shown
};

// The legend takes the canvas's right-hand side or its foot, whichever leaves the scene
// `sceneBounds` drawn larger, and never lies over the drawing's area. Hidden on request, and
// where neither side leaves the drawing a usable area.
CanvasLayout canvasLayout(QSizeF canvas, const QRectF& sceneBounds, bool legendShown);

}  // namespace pw
