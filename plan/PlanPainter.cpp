#include "PlanPainter.h"

#include "RasterTarget.h"
#include "footers/DrawingColours.h"

#include <QFont>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace pw {

namespace {

const QColor trackColour(trackRgb);
const QColor supportColour(supportRgb);
const QColor fundamentColour(fundamentRgb);
const QColor sceneryColour(sceneryRgb);
constexpr int footerFillAlpha = 150;
// Below this size on screen an element is drawn as a point or a straight line.
constexpr double smallestDrawnPixels = 3.0;
constexpr double pixelsPerCurveStep = 6.0;
constexpr std::size_t denseLines = 4000;
constexpr double markReachPixels = 4.0;
constexpr double legendRow = 18.0;
constexpr double legendWidth = 200.0;
constexpr int legendFixedRows = 4;  // track, support tube, fundament, scenery object

QPen cosmeticPen(const QColor& colour, double width, Qt::PenCapStyle cap = Qt::RoundCap)
{
    QPen pen(colour, width, Qt::SolidLine, cap, Qt::RoundJoin);
    pen.setCosmetic(true);
    return pen;
}

bool meets(const QRectF& a, const QRectF& b)
{
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() &&
           b.top() <= a.bottom();
}

bool meets(const QRectF& visible, const QLineF& line)
{
    return std::max(line.x1(), line.x2()) >= visible.left() &&
           std::min(line.x1(), line.x2()) <= visible.right() &&
           std::max(line.y1(), line.y2()) >= visible.top() &&
           std::min(line.y1(), line.y2()) <= visible.bottom();
}

// A footer generate would add is a dashed outline; one in the track is filled lightly.
void useFooterStyle(QPainter& painter, QPen pen, bool outline)
{
    if (outline)
        pen.setStyle(Qt::DashLine);
    QColor fill = pen.color();
    fill.setAlpha(footerFillAlpha);
    painter.setPen(pen);
    painter.setBrush(outline ? QBrush(Qt::NoBrush) : QBrush(fill));
}

}  // namespace

QColor footerColour(int style) { return QColor(footerRgb(style)); }

QString footerStyleLabel(int style)
{
    const int clamped = std::clamp(style, 0, otherFooterStyle);
    if (clamped == otherFooterStyle)
        return QStringLiteral("default or other model");
    return QStringLiteral("%1 footer")
        .arg(QLatin1String(sizeClassLabel(static_cast<TubeSizeClass>(clamped))));
}

QTransform fitTransform(const QRectF& world, const QRectF& device)
{
    // A single point or a straight line still gets a sensible scale.
    const double width = std::max(world.width(), 1.0);
    const double height = std::max(world.height(), 1.0);
    const double scale = std::min(device.width() / width, device.height() / height);
    const QPointF centre = world.center();
    QTransform t;
    t.translate(device.center().x(), device.center().y());
    t.scale(scale, scale);
    t.translate(-centre.x(), -centre.y());
    return t;
}

void PlanPainter::paint(QPainter& painter, const PlanScene& scene, const QTransform& worldToDevice,
                        const QRectF& deviceArea)
{
    bool invertible = false;
    const QTransform deviceToWorld = worldToDevice.inverted(&invertible);
    if (!invertible)
        return;
    // Widened by the thickest mark, so that one standing just outside still shows its edge.
    const QRectF visible = deviceToWorld.mapRect(
        deviceArea.adjusted(-markReachPixels, -markReachPixels, markReachPixels, markReachPixels));
    const double pixelsPerMetre = std::sqrt(std::abs(worldToDevice.determinant()));

    // Aliased marks go straight into the image where the painter allows it.
    const std::optional<RasterTarget> direct = rasterTarget(painter, deviceArea, worldToDevice);
    painter.save();
    painter.setTransform(worldToDevice, true);
    painter.setBrush(Qt::NoBrush);
    const auto thinLines = [&](const QColor& colour) {
        if (direct) {
            drawLines(*direct, lines_, colour);
            return;
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(cosmeticPen(colour, 1.0));
        painter.drawLines(lines_.data(), static_cast<int>(lines_.size()));
    };

    lines_.clear();
    for (const QLineF& line : scene.tubes)
        if (meets(visible, line))
            lines_.push_back(line);
    // Smooth edges and a thick track cost the raster engine most per line; where thousands of
    // lines are in view, thin aliased ones keep zooming fluid and they cannot be told apart.
    const bool dense = lines_.size() > denseLines;
    if (dense) {
        thinLines(supportColour);
    } else {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(cosmeticPen(supportColour, 1.0));
        painter.drawLines(lines_.data(), static_cast<int>(lines_.size()));
    }

    // Each piece with as many straight steps as it spans pixels apart, all in one call.
    lines_.clear();
    for (const PlanCurvePiece& piece : scene.curve) {
        if (!meets(visible, piece.bounds))
            continue;
        const double extent =
            std::max(piece.bounds.width(), piece.bounds.height()) * pixelsPerMetre;
        const auto last = static_cast<int>(piece.points.size()) - 1;
        // Clamped before it becomes an int: a piece far beyond the fitted view spans more pixels
        // than an int holds.
        const int steps = static_cast<int>(
            std::clamp(extent / pixelsPerCurveStep, 1.0, double(std::max(last, 1))));
        int from = 0;
        for (int k = 1; k <= steps; ++k) {
            const int to = k * last / steps;
            lines_.emplace_back(piece.points[from], piece.points[to]);
            from = to;
        }
    }
    if (lines_.size() > denseLines) {
        thinLines(trackColour);
    } else {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(cosmeticPen(trackColour, 2.0));
        painter.drawLines(lines_.data(), static_cast<int>(lines_.size()));
    }
    painter.setRenderHint(QPainter::Antialiasing, !dense);
    // Markers and point-sized footers are aliased where the view is dense, and only then direct.
    const std::optional<RasterTarget> directPoints = dense ? direct : std::nullopt;

    const auto drawMarkers = [&](const std::vector<QPointF>& markers, const QPen& pen) {
        points_.clear();
        for (const QPointF p : markers)
            if (visible.contains(p))
                points_.push_back(p);
        drawPoints(painter, directPoints, pen);
    };
    drawMarkers(scene.fundaments, cosmeticPen(fundamentColour, 5.0, Qt::SquareCap));
    drawMarkers(scene.sceneryObjects, cosmeticPen(sceneryColour, 4.0));

    paintFooters(painter, directPoints, scene.footers, false, visible, pixelsPerMetre);
    paintFooters(painter, directPoints, scene.preview, true, visible, pixelsPerMetre);
    painter.restore();
}

void PlanPainter::drawPoints(QPainter& painter, const std::optional<RasterTarget>& direct,
                             const QPen& pen)
{
    if (direct) {
        drawDots(*direct, points_, pen.color(), pen.widthF(),
                 pen.capStyle() == Qt::RoundCap ? DotShape::Round : DotShape::Square);
        return;
    }
    painter.setPen(pen);
    painter.drawPoints(points_.data(), static_cast<int>(points_.size()));
}

void PlanPainter::paintFooters(QPainter& painter, const std::optional<RasterTarget>& direct,
                               const std::vector<PlanFooter>& footers, bool outlines,
                               const QRectF& visible, double pixelsPerMetre)
{
    // The footers come ordered by style: one pen and brush per run of a style.
    for (auto run = footers.begin(); run != footers.end();) {
        const int style = run->style;
        const QColor colour = footerColour(style);
        useFooterStyle(painter, cosmeticPen(colour, outlines ? 1.5 : 1.0), outlines);
        points_.clear();
        for (; run != footers.end() && run->style == style; ++run) {
            if (!meets(visible, run->bounds))
                continue;
            const double extent = std::max(run->bounds.width(), run->bounds.height());
            if (extent * pixelsPerMetre < smallestDrawnPixels)
                points_.push_back(run->bounds.center());
            else
                painter.drawPolygon(run->outline);
        }
        drawPoints(painter, direct, cosmeticPen(colour, smallestDrawnPixels, Qt::SquareCap));
    }
    painter.setBrush(Qt::NoBrush);
}

QSizeF legendSize()
{
    return {legendWidth, legendRow * (legendFixedRows + footerStyleCount + 1) + 24.0};
}

void paintLegend(QPainter& painter, QPointF topLeft, PlanView view, bool withPreview)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 220));
    painter.drawRect(QRectF(topLeft, legendSize()));

    double y = topLeft.y() + 6.0;
    const double left = topLeft.x() + 6.0;
    const auto label = [&](const QString& text) {
        painter.setPen(Qt::black);
        painter.drawText(QPointF(left + 24.0, y + 11.0), text);
        y += legendRow;
    };
    const auto line = [&](const QColor& colour, double width, const QString& text) {
        painter.setPen(QPen(colour, width));
        painter.drawLine(QPointF(left, y + 6.0), QPointF(left + 16.0, y + 6.0));
        label(text);
    };
    const auto marker = [&](const QColor& colour, double width, Qt::PenCapStyle cap,
                            const QString& text) {
        painter.setPen(QPen(colour, width, Qt::SolidLine, cap));
        painter.drawPoint(QPointF(left + 8.0, y + 6.0));
        label(text);
    };
    const auto box = [&](const QColor& colour, bool outline, const QString& text) {
        useFooterStyle(painter, QPen(colour), outline);
        painter.drawRect(QRectF(left + 2.0, y, 12.0, 12.0));
        painter.setBrush(Qt::NoBrush);
        label(text);
    };
    line(trackColour, 2.0, QStringLiteral("track"));
    line(supportColour, 1.0, QStringLiteral("support tube"));
    marker(fundamentColour, 5.0, Qt::SquareCap, QStringLiteral("fundament"));
    marker(sceneryColour, 4.0, Qt::RoundCap, QStringLiteral("scenery object"));
    for (int style = 0; style < footerStyleCount; ++style)
        box(footerColour(style), false, footerStyleLabel(style));
    if (withPreview)
        box(Qt::darkGray, true, QStringLiteral("footer generate would add"));
    else
        y += legendRow;
    painter.setPen(Qt::black);
    painter.drawText(QPointF(left, y + 14.0),
                     view == PlanView::Top ? QStringLiteral("from above: x right, z down")
                                           : QStringLiteral("from the front: x right, y up"));
    painter.restore();
}

}  // namespace pw
