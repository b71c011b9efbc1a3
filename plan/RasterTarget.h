#pragma once
// Opaque aliased marks written straight into a 32-bit image. The raster engine spends about 20 ns
// on each pixel of an aliased line and strokes every wide point as a path; a full view of a large
// track draws millions of such pixels and tens of thousands of points.

#include <QColor>
#include <QLineF>
#include <QPointF>
#include <QRect>
#include <QTransform>

#include <optional>
#include <span>

class QPainter;

namespace pw {

// Where a painter's marks can be written directly: its image, the transform from its logical
// coordinates to the image's pixels, and the pixels it may touch.
struct RasterTarget {
    QRgb* origin = nullptr;
    qsizetype rowStep = 0;  // in pixels
    QRect image;
    QRect pixels;  // within `image`
    QTransform toPixels;
    double devicePixelRatio = 1.0;
};

// The painter's target within `area` (in its logical coordinates) and its clip, the clip taken as
// its bounding rectangle. Empty when the painter cannot be written through: not a 32-bit raster
// image, a rotated or perspective view, another composition mode or opacity.
std::optional<RasterTarget> rasterTarget(QPainter& painter, const QRectF& area);

// One-pixel lines in logical coordinates: each lights the pixels its centre line crosses at every
// column (or row, for steep lines), both end pixels included.
void drawLines(const RasterTarget& target, std::span<const QLineF> lines, const QColor& colour);

enum class DotShape { Square, Round };
// Marks `diameter` logical pixels wide centred on each point: the pixels whose centres lie inside.
void drawDots(const RasterTarget& target, std::span<const QPointF> points, const QColor& colour,
              double diameter, DotShape shape);

}  // namespace pw
