#include "PlanScene.h"

#include "ConvexHull.h"
#include "ModelFootprints.h"
#include "footers/ObjectDirectory.h"
#include "footers/TubeEndPoints.h"
#include "footers/TrackCurve.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <utility>
#include <tuple>

namespace pw {

namespace {

constexpr int curveSamplesPerSegment = 16;

bool isFinite(QPointF p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }

bool isFinite(Vector3 p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

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
    for (int i = 0; i + 1 < static_cast<int>(track.vertices.size()); ++i) {
        if (!hasCurveSegment(i, track))
            continue;
        const Vertex& from = track.vertices[static_cast<std::size_t>(i)];
        const Vertex& to = track.vertices[static_cast<std::size_t>(i) + 1];
        const std::array<Vector3, 4> control{from.position, from.controlOut, to.controlIn,
                                             to.position};
        PlanCurvePiece piece;
        piece.points.reserve(curveSamplesPerSegment + 1);
        for (int k = 0; k <= curveSamplesPerSegment; ++k) {
            const float t = static_cast<float>(k) / curveSamplesPerSegment;
            piece.points.push_back(projected(view, bezierPoint(control, t)));
        }
        if (!std::all_of(piece.points.begin(), piece.points.end(),
                         [](QPointF p) { return isFinite(p); }))
            continue;
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

std::tuple<float, float, float> key(Vector3 p) { return {p.x, p.y, p.z}; }

// The size class of the tube standing at each fundament or free node, so that a footer on the
// default model is coloured by the class it serves.
class ClassesByPosition {
public:
    explicit ClassesByPosition(const Track& track)
    {
        for (const Tube& tube : track.tubes) {
            const std::optional<TubeSizeClass> sizeClass = sizeClassOfCode(tube.sizeClass);
            if (!sizeClass)
                continue;
            for (const TubeEnd* end : {&tube.endA, &tube.endB}) {
                if (end->kind == TubeEndFundament && hasIndex(track.fundaments, end->index))
                    add(track.fundaments[static_cast<std::size_t>(end->index)].position,
                        *sizeClass);
                else if (end->kind == TubeEndFreeNode && hasIndex(track.freeNodes, end->index))
                    add(track.freeNodes[static_cast<std::size_t>(end->index)].position, *sizeClass);
            }
        }
        std::sort(entries_.begin(), entries_.end(),
                  [](const Entry& a, const Entry& b) { return key(a.position) < key(b.position); });
    }

    std::optional<int> at(Vector3 p) const
    {
        if (!isFinite(p))
            return std::nullopt;
        const auto found =
            std::lower_bound(entries_.begin(), entries_.end(), p,
                             [](const Entry& e, Vector3 q) { return key(e.position) < key(q); });
        if (found == entries_.end() || !(found->position == p))
            return std::nullopt;
        return found->style;
    }

private:
    struct Entry {
        Vector3 position;
        int style;
    };
    // Non-finite positions would break the ordering; no footer stands there anyway.
    void add(Float3 p, TubeSizeClass sizeClass)
    {
        if (isFinite(p))
            entries_.push_back({p, static_cast<int>(sizeClass)});
    }
    std::vector<Entry> entries_;
};

int styleOfModel(const std::string& modelFile)
{
    for (const TubeSizeClass sizeClass : allSizeClasses)
        if (modelFile == ownModelFile(sizeClass))
            return static_cast<int>(sizeClass);
    return otherFooterStyle;
}

Vector3 placed(const std::array<float, 16>& e, Vector3 p)
{
    return {e[0] * p.x + e[1] * p.y + e[2] * p.z + e[3],
            e[4] * p.x + e[5] * p.y + e[6] * p.z + e[7],
            e[8] * p.x + e[9] * p.y + e[10] * p.z + e[11]};
}

const ModelFootprint& footprintOf(const PlanFooter& footer, const std::string& modelPath,
                                  FootprintSources footprints, bool installed)
{
    static const ModelFootprint unitSquare = unitSquareFootprint({});
    if (installed && footprints.installed != nullptr) {
        const ModelFootprint& copy = footprints.installed->of(modelPath);
        if (copy.readable || footprints.modelDirectory == nullptr)
            return copy;
    }
    return footprints.modelDirectory != nullptr ? footprints.modelDirectory->of(footer.modelFile)
                                                : unitSquare;
}

std::optional<PlanFooter> makeFooter(const SceneryObject& object, PlanView view,
                                     FootprintSources footprints, bool installed,
                                     const ClassesByPosition& classes)
{
    std::optional<std::string> modelFile = footerModelFileOf(object.textB);
    if (!modelFile)
        return std::nullopt;
    const auto& e = object.matrix;
    PlanFooter footer;
    footer.modelFile = std::move(*modelFile);
    footer.position = {e[3], e[7], e[11]};
    footer.style = classes.at(footer.position).value_or(styleOfModel(footer.modelFile));

    const float scale = std::sqrt(e[0] * e[0] + e[4] * e[4] + e[8] * e[8]);
    footer.scale = scale;
    const float up = scale > 0.0f ? std::clamp(e[5] / scale, -1.0f, 1.0f) : 1.0f;
    const float tilt = std::acos(up) * 180.0f / std::numbers::pi_v<float>;
    footer.tilted = tilt > 0.01f;
    footer.angleDegrees =
        footer.tilted ? tilt : std::atan2(e[2], e[0]) * 180.0f / std::numbers::pi_v<float>;

    const ModelFootprint& footprint = footprintOf(footer, object.textB, footprints, installed);
    std::vector<QPointF> points;
    points.reserve(footprint.points.size());
    for (const Vector3 p : footprint.points)
        points.push_back(projected(view, placed(e, p)));
    if (!std::all_of(points.begin(), points.end(), [](QPointF p) { return isFinite(p); }) ||
        !isFinite(footer.position))
        return std::nullopt;
    convexHullInPlace(points);
    footer.outline = QPolygonF(points.begin(), points.end());
    footer.bounds = footer.outline.boundingRect();
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
    const auto near = [](qreal v) { return std::abs(v) <= planFitReachMetres; };
    if (!near(more.left()) || !near(more.right()) || !near(more.top()) || !near(more.bottom()))
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
    const ClassesByPosition classes(track);
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

    const ClassesByPosition classes(track);
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
