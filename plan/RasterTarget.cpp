#include "RasterTarget.h"

#include "raster/PixelRun.h"
#include "raster/RowStrips.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace pw {

namespace {

// Cuts the segment a-b to the box [left, right] x [top, bottom] (Cohen-Sutherland); false when it
// misses the box. Each cut end lands exactly on the edge it crossed, so that even a line from
// -1e300 to 1e300 keeps its place.
bool clipToBox(QPointF& a, QPointF& b, double left, double top, double right, double bottom)
{
    enum : unsigned { Left = 1, Right = 2, Above = 4, Below = 8 };
    const auto outside = [&](QPointF p) {
        return (p.x() < left ? Left : 0u) | (p.x() > right ? Right : 0u) |
               (p.y() < top ? Above : 0u) | (p.y() > bottom ? Below : 0u);
    };
    // Every cut settles an edge for good; more cuts than edges means rounding went astray.
    for (int cut = 0; cut <= 8; ++cut) {
        const unsigned outA = outside(a);
        const unsigned outB = outside(b);
        if ((outA | outB) == 0)
            return std::isfinite(a.x()) && std::isfinite(a.y()) && std::isfinite(b.x()) &&
                   std::isfinite(b.y());
        if ((outA & outB) != 0)
            return false;
        QPointF& end = outA != 0 ? a : b;
        const unsigned out = outA != 0 ? outA : outB;
        const QPointF from = a;
        const QPointF delta = b - a;
        if (out & Above)
            end = {from.x() + delta.x() * ((top - from.y()) / delta.y()), top};
        else if (out & Below)
            end = {from.x() + delta.x() * ((bottom - from.y()) / delta.y()), bottom};
        else if (out & Left)
            end = {left, from.y() + delta.y() * ((left - from.x()) / delta.x())};
        else
            end = {right, from.y() + delta.y() * ((right - from.x()) / delta.x())};
    }
    return false;
}

// One line's pixels along its major axis, from `first` to `last`, lit within `window`. The line
// between the given end points, which are clipped to a pixel beyond the image, is sampled at each
// pixel's centre, its end pixels at the end points themselves. The samples run in 16.16 fixed
// point from the line's first pixel in the image, whatever part of it is painted, so a strip
// uncovered by a pan lights exactly the pixels a whole paint would.
template <class Plot>
void walk(bool steep, double majorFrom, double minorFrom, double majorTo, double minorTo, int first,
          int last, const PixelWindow& window, Plot& plot)
{
    if (majorFrom > majorTo) {
        std::swap(majorFrom, majorTo);
        std::swap(minorFrom, minorTo);
    }
    const double span = majorTo - majorFrom;
    const double slope = span > 0.0 ? (minorTo - minorFrom) / span : 0.0;
    const auto anchorFirst = static_cast<int>(std::floor(majorFrom));
    const auto anchorLast = static_cast<int>(std::floor(majorTo));
    first = std::max({first, anchorFirst, steep ? window.low : window.left});
    last = std::min({last, anchorLast, steep ? window.high : window.right});
    if (first > last)
        return;
    // Lines are clipped to a pixel beyond the image: below `base` no sample falls.
    constexpr int base = -2;
    constexpr double unit = 65536.0;
    const auto sample = [&](int i) {
        const double at = std::clamp(i + 0.5, majorFrom, majorTo);
        return static_cast<int>(minorFrom + (at - majorFrom) * slope - base) + base;
    };
    const auto end = [&](int major) {
        const int minor = sample(major);
        const int minorLow = steep ? window.left : window.low;
        const int minorHigh = steep ? window.right : window.high;
        if (minor < minorLow || minor > minorHigh)
            return;
        if (steep)
            plot(minor, major);
        else
            plot(major, minor);
    };
    if (first == anchorFirst)
        end(first);
    if (last == anchorLast && last != anchorFirst)
        end(last);
    PixelRun inner;
    inner.steep = steep;
    inner.from = std::max(first, anchorFirst + 1);
    inner.to = std::min(last, anchorLast - 1);
    inner.at = anchorFirst + 1;
    // Worked out above `base`, as `sample` is, and moved back by whole pixels: the same rounding.
    inner.start = static_cast<std::int64_t>(std::floor(
                      (minorFrom + (anchorFirst + 1.5 - majorFrom) * slope - base) * unit)) +
                  std::int64_t{base} * 65536;
    inner.step = static_cast<std::int64_t>(std::llround(slope * unit));
    walkRun(inner, window, plot);
}

bool isFinite(QPointF p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }

}  // namespace

std::optional<RasterTarget> rasterTarget(QPainter& painter, const QRectF& area,
                                         const QTransform& world)
{
    QPaintDevice* const device = painter.device();
    if (device == nullptr || device->devType() != QInternal::Image ||
        painter.paintEngine() == nullptr || painter.paintEngine()->type() != QPaintEngine::Raster)
        return std::nullopt;
    auto& image = *static_cast<QImage*>(device);
    if (image.format() != QImage::Format_ARGB32_Premultiplied &&
        image.format() != QImage::Format_RGB32)
        return std::nullopt;
    RasterTarget target;
    const QTransform logicalToPixels = painter.deviceTransform();
    target.toPixels = world * logicalToPixels;
    if (target.toPixels.type() > QTransform::TxScale || painter.opacity() < 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return std::nullopt;
    QRectF bounds = logicalToPixels.mapRect(area);
    if (painter.hasClipping())
        bounds &= logicalToPixels.mapRect(painter.clipBoundingRect());
    target.image = image.rect();
    // The pixels whose centres lie inside, as the raster engine fills a rectangle.
    bounds &= QRectF(target.image);
    if (!std::isfinite(bounds.left()) || !std::isfinite(bounds.top()) ||
        !std::isfinite(bounds.right()) || !std::isfinite(bounds.bottom()) || bounds.isEmpty())
        return target;  // nothing to paint
    const auto firstCentreFrom = [](double edge) {
        return static_cast<int>(std::ceil(edge - 0.5));
    };
    target.pixels =
        QRect(QPoint(firstCentreFrom(bounds.left()), firstCentreFrom(bounds.top())),
              QPoint(firstCentreFrom(bounds.right()) - 1, firstCentreFrom(bounds.bottom()) - 1));
    target.origin = reinterpret_cast<QRgb*>(image.bits());
    target.rowStep = image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    return target;
}

namespace {

// The lines in pixels, each clipped to a pixel beyond the image, which fixes where its samples
// start; those wholly outside or not finite are left out.
std::vector<QLineF> linesInImage(const RasterTarget& target, std::span<const QLineF> lines)
{
    const QRectF box = QRectF(target.image).adjusted(-1.0, -1.0, 2.0, 2.0);
    std::vector<QLineF> inImage;
    inImage.reserve(lines.size());
    for (const QLineF& line : lines) {
        QPointF a = target.toPixels.map(line.p1());
        QPointF b = target.toPixels.map(line.p2());
        if (isFinite(a) && isFinite(b) &&
            clipToBox(a, b, box.left(), box.top(), box.right(), box.bottom()))
            inImage.emplace_back(a, b);
    }
    return inImage;
}

// Walks lines made by linesInImage over the target's pixels in rows `low` to `high` only.
void walkLines(const RasterTarget& target, std::span<const QLineF> inImage, QRgb value, int low,
               int high)
{
    const QRect& pixels = target.pixels;
    const PixelWindow window{pixels.left(), pixels.right(), low, high};
    const QRectF box = QRectF(QRect(QPoint(pixels.left(), low), QPoint(pixels.right(), high)))
                           .adjusted(-1.0, -1.0, 2.0, 2.0);
    QRgb* const origin = target.origin;
    const qsizetype rowStep = target.rowStep;
    auto plot = [origin, rowStep, value](int column, int row) {
        origin[row * rowStep + column] = value;
    };
    const auto floorOf = [](double v) { return static_cast<int>(std::floor(v)); };
    for (const QLineF& line : inImage) {
        const QPointF a = line.p1();
        const QPointF b = line.p2();
        QPointF from = a;
        QPointF to = b;
        if (!clipToBox(from, to, box.left(), box.top(), box.right(), box.bottom()))
            continue;
        if (std::abs(b.x() - a.x()) >= std::abs(b.y() - a.y()))
            walk(false, a.x(), a.y(), b.x(), b.y(), floorOf(std::min(from.x(), to.x())),
                 floorOf(std::max(from.x(), to.x())), window, plot);
        else
            walk(true, a.y(), a.x(), b.y(), b.x(), floorOf(std::min(from.y(), to.y())),
                 floorOf(std::max(from.y(), to.y())), window, plot);
    }
}

// Enough lines to be worth a strip of rows per thread: a full view of a large track.
constexpr std::size_t linesPerStrip = 2000;

}  // namespace

void drawLines(const RasterTarget& target, std::span<const QLineF> lines, const QColor& colour)
{
    const QRect& pixels = target.pixels;
    if (pixels.isEmpty())
        return;
    const QRgb value = colour.rgb();
    const std::vector<QLineF> inImage = linesInImage(target, lines);
    // Every line's samples start at the image's edge, so each strip lights exactly the pixels a
    // single pass would.
    fillInStrips(pixels.top(), pixels.bottom(), inImage.size(), linesPerStrip,
                 [&](int low, int high) { walkLines(target, inImage, value, low, high); });
}

void drawDots(const RasterTarget& target, std::span<const QPointF> points, const QColor& colour,
              double diameter, DotShape shape)
{
    const QRect& pixels = target.pixels;
    if (pixels.isEmpty())
        return;
    const QRgb value = colour.rgb();
    const double radius = diameter / 2.0;
    const double reach = radius * radius;
    for (const QPointF p : points) {
        const QPointF c = target.toPixels.map(p);
        if (!isFinite(c) || c.x() + radius < pixels.left() || c.x() - radius > pixels.right() + 1 ||
            c.y() + radius < pixels.top() || c.y() - radius > pixels.bottom() + 1)
            continue;
        // Pixel i is lit when its centre i + 0.5 lies in [c - radius, c + radius).
        const int left = std::max(static_cast<int>(std::ceil(c.x() - radius - 0.5)), pixels.left());
        const int right =
            std::min(static_cast<int>(std::ceil(c.x() + radius - 0.5)) - 1, pixels.right());
        const int top = std::max(static_cast<int>(std::ceil(c.y() - radius - 0.5)), pixels.top());
        const int bottom =
            std::min(static_cast<int>(std::ceil(c.y() + radius - 0.5)) - 1, pixels.bottom());
        for (int y = top; y <= bottom; ++y) {
            QRgb* const row = target.origin + y * target.rowStep;
            const double dy = y + 0.5 - c.y();
            for (int x = left; x <= right; ++x) {
                const double dx = x + 0.5 - c.x();
                if (shape == DotShape::Square || dx * dx + dy * dy < reach)
                    row[x] = value;
            }
        }
    }
}

}  // namespace pw
