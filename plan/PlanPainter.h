#pragma once
// The one drawing code of plans, for the window and for files: paints a PlanScene through a
// world-to-device transform, and the legend beside it.

#include "PlanScene.h"
#include "RasterTarget.h"

#include <QColor>
#include <QLineF>
#include <QPointF>
#include <QSizeF>
#include <QTransform>

#include <optional>
#include <vector>

class QPainter;
class QPen;

namespace pw {

QColor footerColour(int style);
// "small footer" ... "xx-large footer", "default or other model".
QString footerStyleLabel(int style);

// Scales `world` uniformly into `device`, centred; y of the world goes down the device.
QTransform fitTransform(const QRectF& world, const QRectF& device);

// Draws only what lies in view, and what is smaller than a few pixels as a point. Keeps its
// scratch buffers between frames, so a frame allocates nothing per element.
class PlanPainter {
public:
    void paint(QPainter& painter, const PlanScene& scene, const QTransform& worldToDevice,
               const QRectF& deviceArea);

private:
    // Draws points_ as `pen` would, straight into the image when `direct` is given.
    void drawPoints(QPainter& painter, const std::optional<RasterTarget>& direct, const QPen& pen);
    void paintFooters(QPainter& painter, const std::optional<RasterTarget>& direct,
                      const std::vector<PlanFooter>& footers, bool outlines, const QRectF& visible,
                      double pixelsPerMetre);

    std::vector<QLineF> lines_;
    std::vector<QPointF> points_;
};

QSizeF legendSize();
// The legend with its top left corner at `topLeft`, in device coordinates.
void paintLegend(QPainter& painter, QPointF topLeft, PlanView view, bool withPreview);

}  // namespace pw
