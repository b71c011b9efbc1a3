#pragma once
// Opaque aliased marks written straight into a 32-bit image. Qt's raster engine works out the
// colour anew for each pixel of an aliased line and strokes every wide point as a path, and a
// full view of a large track draws millions of such pixels and tens of thousands of points.

#include <QColor>
#include <QLineF>
#include <QPointF>
#include <QRect>
#include <QTransform>

#include <optional>
#include <span>

class QPainter;

namespace pw {

// Where a painter's marks can be written directly: its image, the transform from the marks'
// coordinates to the image's pixels, and the pixels it may touch.
struct RasterTarget {
    QRgb* origin = nullptr;
    qsizetype rowStep = 0;  // in pixels
    QRect image;
    QRect pixels;  // within `image`
    QTransform toPixels;
};

// The painter's target within `area` and its clip, both in the painter's logical coordinates, the
// clip taken as its bounding rectangle. `world` maps the marks' coordinates onto those: the
// painted pixels are worked out without going through its inverse, which a far zoom makes
// inexact. Empty when the painter cannot be written through: not a 32-bit raster image, a rotated
// or perspective view, another composition mode or opacity.
std::optional<RasterTarget> rasterTarget(QPainter& painter, const QRectF& area,
                                         const QTransform& world = QTransform());

// One-pixel lines in the marks' coordinates: each lights the pixels its centre line crosses at
// every column (or row, for steep lines), both end pixels included. Thousands of lines are shared
// between up to four threads by strips of rows; the call returns when all are drawn.
void drawLines(const RasterTarget& target, std::span<const QLineF> lines, const QColor& colour);

enum class DotShape { Square, Round };
// Marks `diameter` pixels of the image wide, as a cosmetic pen's width is on any screen, centred on
// each point (in the marks' coordinates): the pixels whose centres lie inside.
void drawDots(const RasterTarget& target, std::span<const QPointF> points, const QColor& colour,
              double diameter, DotShape shape);

}  // namespace pw
