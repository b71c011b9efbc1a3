#include "PlanScene.h"

#include "FooterStyles.h"
#include "models/ModelFootprints.h"
#include "footers/ObjectDirectory.h"
#include "footers/TubeEndPoints.h"
#include "footers/TrackCurve.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace pw {

namespace {

constexpr int curveSamplesPerSegment = 16;

bool isFinite(QPointF p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }

double turn(QPointF o, QPointF a, QPointF b)
{
    return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
}

// The convex hull of `points`, counter-clockwise in a y-up frame, without repeating the first
// point; fewer than three distinct points stay as they are. Andrew's monotone chain: sort once,
// then a lower and an upper chain.
void convexHullInPlace(std::vector<QPointF>& points)
{
    const auto less = [](QPointF a, QPointF b) {
        return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y());
    };
    std::sort(points.begin(), points.end(), less);
    points.erase(std::unique(points.begin(), points.end()), points.end());
    const std::size_t n = points.size();
    if (n < 3)
        return;

    std::vector<QPointF> hull(2 * n);
    std::size_t k = 0;
    for (std::size_t i = 0; i < n; ++i) {
        while (k >= 2 && turn(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    for (std::size_t i = n - 1, lower = k + 1; i > 0; --i) {
        while (k >= lower && turn(hull[k - 2], hull[k - 1], points[i - 1]) <= 0)
            --k;
        hull[k++] = points[i - 1];
    }
    hull.resize(k - 1);
    points = std::move(hull);
}

// Evaluated directly: the arc-length walk of CurveSegment is only needed for rail connectors.
Vector3 bezierPoint(const std::array<Vector3, 4>& p, float t)
{
    const float u = 1.0f - t;
    const float b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
    return {b0 * p[0].x + b1 * p[1].x + b2 * p[2].x + b3 * p[3].x,
            b0 * p[0].y + b1 * p[1].y + b2 * p[2].y + b3 * p[3].y,
            b0 * p[0].z + b1 * p[1].z + b2 * p[2].z + b3 * p[3].z};
}

std::vector<PlanCurvePiece> curvePieces(const Track& track, PlanView view)
{
    std::vector<PlanCurvePiece> pieces;
    for (const std::vector<Vector3>& samples : sampledCurve(track)) {
        PlanCurvePiece piece;
        piece.points.reserve(static_cast<qsizetype>(samples.size()));
        for (const Vector3 p : samples)
            piece.points.push_back(projected(view, p));
        piece.bounds = piece.points.boundingRect();
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

std::vector<QLineF> tubeLines(const Track& track, PlanView view, const TubeEndTable& ends)
{
    std::vector<QLineF> lines;
    lines.reserve(track.tubes.size());
    for (std::size_t t = 0; t < ends.tubeCount(); ++t) {
        const std::optional<Vector3> a = ends.pointOf(t, false);
        const std::optional<Vector3> b = ends.pointOf(t, true);
        if (a && b && isFinite(*a) && isFinite(*b))
            lines.emplace_back(projected(view, *a), projected(view, *b));
    }
    return lines;
}

Vector3 placed(const std::array<float, 16>& e, Vector3 p)
{
    return {e[0] * p.x + e[1] * p.y + e[2] * p.z + e[3],
            e[4] * p.x + e[5] * p.y + e[6] * p.z + e[7],
            e[8] * p.x + e[9] * p.y + e[10] * p.z + e[11]};
}

std::optional<PlanFooter> makeFooter(const SceneryObject& object, PlanView view,
                                     FootprintSources footprints, bool installed,
                                     const FooterStyles& styles)
{
    std::optional<PlanFooter> footer = footerFacts(object, styles);
    if (!footer)
        return std::nullopt;
    const ModelFootprint& footprint =
        footprintFor(footer->modelFile, object.textB, footprints, installed);
    std::vector<QPointF> points;
    points.reserve(footprint.points.size());
    for (const Vector3 p : footprint.points)
        points.push_back(projected(view, placed(object.matrix, p)));
    if (!std::all_of(points.begin(), points.end(), [](QPointF p) { return isFinite(p); }) ||
        !isFinite(footer->position))
        return std::nullopt;
    convexHullInPlace(points);
    footer->outline = QPolygonF(points.begin(), points.end());
    footer->bounds = footer->outline.boundingRect();
    return footer;
}

void sortByStyle(std::vector<PlanFooter>& footers)
{
    std::stable_sort(footers.begin(), footers.end(),
                     [](const PlanFooter& a, const PlanFooter& b) { return a.style < b.style; });
}

// A point or a horizontal line still counts, where QRectF::united would pass it over. Whatever
// reaches beyond planFitReachMetres is drawn but not fitted: one runaway value would shrink the
// whole plan below a pixel.
void extend(std::optional<QRectF>& bounds, const QRectF& more)
{
    const auto withinReach = [](qreal v) { return std::abs(v) <= planFitReachMetres; };
    if (!withinReach(more.left()) || !withinReach(more.right()) || !withinReach(more.top()) ||
        !withinReach(more.bottom()))
        return;
    if (!bounds)
        bounds = more;
    else
        bounds = QRectF(
            QPointF(std::min(bounds->left(), more.left()), std::min(bounds->top(), more.top())),
            QPointF(std::max(bounds->right(), more.right()),
                    std::max(bounds->bottom(), more.bottom())));
}

}  // namespace

std::vector<std::vector<Vector3>> sampledCurve(const Track& track)
{
    std::vector<std::vector<Vector3>> pieces;
    for (int i = 0; i + 1 < static_cast<int>(track.vertices.size()); ++i) {
        if (!hasCurveSegment(i, track))
            continue;
        const Vertex& from = track.vertices[static_cast<std::size_t>(i)];
        const Vertex& to = track.vertices[static_cast<std::size_t>(i) + 1];
        const std::array<Vector3, 4> control{from.position, from.controlOut, to.controlIn,
                                             to.position};
        std::vector<Vector3> samples;
        samples.reserve(curveSamplesPerSegment + 1);
        for (int k = 0; k <= curveSamplesPerSegment; ++k)
            samples.push_back(bezierPoint(control, static_cast<float>(k) / curveSamplesPerSegment));
        if (std::all_of(samples.begin(), samples.end(), [](Vector3 p) { return isFinite(p); }))
            pieces.push_back(std::move(samples));
    }
    return pieces;
}

QPointF projected(PlanView view, Vector3 p)
{
    return view == PlanView::Top ? QPointF(p.x, p.z) : QPointF(p.x, -p.y);
}

bool isFooterObject(const SceneryObject& object)
{
    return footerModelFileOf(object.textB).has_value();
}

std::vector<PlanFooter> buildPlanFooters(const Track& track, PlanView view,
                                         FootprintSources footprints,
                                         std::span<const SceneryObject> objects)
{
    const FooterStyles classes(track);
    std::vector<PlanFooter> footers;
    footers.reserve(objects.size());
    for (const SceneryObject& object : objects)
        if (std::optional<PlanFooter> footer = makeFooter(object, view, footprints, false, classes))
            footers.push_back(std::move(*footer));
    sortByStyle(footers);
    return footers;
}

PlanScene buildPlanScene(const Track& track, PlanView view, FootprintSources footprints,
                         std::span<const SceneryObject> preview, const TubeEndTable* tubeEnds)
{
    PlanScene scene;
    scene.view = view;
    scene.title = QString::fromLatin1(track.infoText);
    // An SVG title cannot carry control characters other than white space.
    for (QChar& c : scene.title)
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            c = u'?';
    scene.curve = curvePieces(track, view);
    // Rail connectors stand where the footer generation puts them: by arc-length fraction.
    if (tubeEnds != nullptr && tubeEnds->tubeCount() == track.tubes.size())
        scene.tubes = tubeLines(track, view, *tubeEnds);
    else
        scene.tubes = tubeLines(track, view, TubeEndTable(track));
    for (const Fundament& fundament : track.fundaments) {
        const QPointF p = projected(view, fundament.position);
        if (isFinite(p))
            scene.fundaments.push_back(p);
    }

    const FooterStyles classes(track);
    for (const SceneryObject& object : track.sceneryObjects) {
        if (std::optional<PlanFooter> footer =
                makeFooter(object, view, footprints, true, classes)) {
            ++scene.footersPerStyle[static_cast<std::size_t>(footer->style)];
            scene.footers.push_back(std::move(*footer));
        } else if (!isFooterObject(object)) {
            const QPointF p =
                projected(view, {object.matrix[3], object.matrix[7], object.matrix[11]});
            if (isFinite(p))
                scene.sceneryObjects.push_back(p);
        }
    }
    for (const SceneryObject& object : preview)
        if (std::optional<PlanFooter> footer = makeFooter(object, view, footprints, false, classes))
            scene.preview.push_back(std::move(*footer));
    sortByStyle(scene.footers);
    sortByStyle(scene.preview);

    std::optional<QRectF> bounds;
    for (const PlanCurvePiece& piece : scene.curve)
        extend(bounds, piece.bounds);
    for (const QLineF& line : scene.tubes)
        extend(bounds, QRectF(line.p1(), line.p2()).normalized());
    for (const auto* points : {&scene.fundaments, &scene.sceneryObjects})
        for (const QPointF p : *points)
            extend(bounds, QRectF(p, p));
    for (const auto* footers : {&scene.footers, &scene.preview})
        for (const PlanFooter& footer : *footers)
            extend(bounds, footer.bounds);
    scene.bounds = bounds.value_or(QRectF());
    return scene;
}

}  // namespace pw
