#include "LegendPlacement.h"

#include "PlanPainter.h"

#include <algorithm>
#include <array>

namespace pw {

namespace {

constexpr double margin = 16.0;      // around the drawing
constexpr double legendInset = 8.0;  // between the legend and the canvas's edge
// Below this the drawing is no longer worth the legend's room.
constexpr double smallestDrawing = 80.0;

double fittedScale(const QRectF& scene, const QRectF& area)
{
    // As fitTransform scales: a point or a straight line counts as a metre across.
    return std::min(area.width() / std::max(scene.width(), 1.0),
                    area.height() / std::max(scene.height(), 1.0));
}

}  // namespace

CanvasLayout canvasLayout(QSizeF canvas, const QRectF& sceneBounds, bool legendShown)
{
    const QRectF whole(margin, margin, canvas.width() - 2 * margin, canvas.height() - 2 * margin);
    if (!legendShown)
        return {whole, std::nullopt};
    const QSizeF legend = legendSize();
    const double legendLeft = canvas.width() - legend.width() - legendInset;
    const std::array<CanvasLayout, 2> choices{{
        {whole.adjusted(0, 0, -(legend.width() + margin), 0), QPointF(legendLeft, legendInset)},
        {whole.adjusted(0, 0, 0, -(legend.height() + margin)),
         QPointF(legendLeft, canvas.height() - legend.height() - legendInset)},
    }};
    std::optional<CanvasLayout> best;
    for (const CanvasLayout& choice : choices) {
        const bool usable = choice.drawing.width() >= smallestDrawing &&
                            choice.drawing.height() >= smallestDrawing &&
                            QRectF(QPointF(), canvas).contains(QRectF(*choice.legend, legend));
        if (usable && (!best || fittedScale(sceneBounds, choice.drawing) >
                                    fittedScale(sceneBounds, best->drawing)))
            best = choice;
    }
    return best ? *best : CanvasLayout{whole, std::nullopt};
}

}  // namespace pw
