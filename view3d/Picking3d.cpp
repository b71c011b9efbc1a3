#include "Picking3d.h"

#include "footers/SizeClasses.h"
#include "plan/PlanHitTest.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pw {

namespace {

// Slabs widened by this much, so that a flat model (a square) can still be hit.
constexpr float slabSlack = 1e-3f;

}  // namespace

std::optional<float> rayHitsPlacedBox(const Ray3d& ray, const std::array<float, 16>& m,
                                      Vector3 minimum, Vector3 maximum)
{
    // The linear part's columns; its inverse has the cross products of pairs as rows.
    const Vector3 c0{m[0], m[4], m[8]}, c1{m[1], m[5], m[9]}, c2{m[2], m[6], m[10]};
    const Vector3 r0 = cross(c1, c2), r1 = cross(c2, c0), r2 = cross(c0, c1);
    const float det = dot(c0, r0);
    if (!std::isfinite(det) || std::abs(det) < 1e-12f)
        return std::nullopt;
    const Vector3 toOrigin = ray.origin - Vector3{m[3], m[7], m[11]};
    const Vector3 o{dot(r0, toOrigin) / det, dot(r1, toOrigin) / det, dot(r2, toOrigin) / det};
    // Not normalised: a distance along it is a distance along the world ray.
    const Vector3 d{dot(r0, ray.direction) / det, dot(r1, ray.direction) / det,
                    dot(r2, ray.direction) / det};
    float enter = 0.0f, leave = std::numeric_limits<float>::infinity();
    const float origin[3] = {o.x, o.y, o.z}, direction[3] = {d.x, d.y, d.z};
    const float low[3] = {minimum.x, minimum.y, minimum.z},
                high[3] = {maximum.x, maximum.y, maximum.z};
    for (int axis = 0; axis < 3; ++axis) {
        const float lo = low[axis] - slabSlack, hi = high[axis] + slabSlack;
        if (std::abs(direction[axis]) < 1e-12f) {
            if (origin[axis] < lo || origin[axis] > hi)
                return std::nullopt;
            continue;
        }
        float t0 = (lo - origin[axis]) / direction[axis];
        float t1 = (hi - origin[axis]) / direction[axis];
        if (t0 > t1)
            std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
        if (enter > leave)
            return std::nullopt;
    }
    return enter;
}

std::optional<float> rayHitsTube(const Ray3d& ray, Vector3 a, Vector3 b, float radius)
{
    // The closest points of the ray and the segment's line, the latter kept on the segment.
    const Vector3 axis = b - a;
    const Vector3 w = ray.origin - a;
    const float aa = dot(axis, axis), ad = dot(axis, ray.direction), aw = dot(axis, w),
                dw = dot(ray.direction, w);
    const float denominator = aa - ad * ad;
    float s = aa > 0.0f ? (denominator > 1e-9f * aa ? (aw - ad * dw) / denominator : 0.0f) : 0.0f;
    if (aa > 0.0f)
        s = std::clamp(s, 0.0f, 1.0f);
    const Vector3 onSegment = a + axis * s;
    const float t = std::max(0.0f, dot(onSegment - ray.origin, ray.direction));
    const Vector3 gap = ray.origin + ray.direction * t - onSegment;
    if (dot(gap, gap) > radius * radius)
        return std::nullopt;
    return t;
}

Pick3d pick3d(const Scene3d& scene, const OrbitCamera& camera, QPointF pixel, QSize size,
              float reachPixels)
{
    const Ray3d ray = camera.rayThrough(pixel, size);
    Pick3d best;
    best.distance = std::numeric_limits<float>::infinity();
    const auto consider = [&](std::optional<float> hit, Pick3d::Kind kind, std::size_t index) {
        if (hit && *hit < best.distance)
            best = {kind, index, *hit};
    };
    const auto footers = [&](const std::vector<Footer3d>& list, Pick3d::Kind kind) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            const Footer3d& footer = list[i];
            if (const Model3d* model = drawnModel(scene, footer))
                consider(rayHitsPlacedBox(ray, footer.matrix, model->minimum, model->maximum), kind,
                         i);
        }
    };
    footers(scene.footers, Pick3d::Kind::Footer);
    footers(scene.preview, Pick3d::Kind::PreviewFooter);
    const Vector3 eye = camera.eye(), forward = camera.forward();
    for (std::size_t i = 0; i < scene.tubes.size(); ++i) {
        const Tube3d& tube = scene.tubes[i];
        // A thin tube far away is still hit within reach of the pointer.
        const float depth =
            std::max(std::min(dot(tube.a - eye, forward), dot(tube.b - eye, forward)),
                     OrbitCamera::nearestDistance);
        const float reach = reachPixels / camera.pixelsPerMetre(depth, size);
        const float radius = std::max(tubeRadius(tube.style), reach);
        consider(rayHitsTube(ray, tube.a, tube.b, radius), Pick3d::Kind::Tube, i);
    }
    if (best.kind == Pick3d::Kind::None)
        best.distance = 0.0f;
    return best;
}

Vector3 zoomTarget(const Scene3d& scene, const OrbitCamera& camera, QPointF pixel, QSize size)
{
    const Ray3d ray = camera.rayThrough(pixel, size);
    const Pick3d hit = pick3d(scene, camera, pixel, size);
    if (hit.kind != Pick3d::Kind::None)
        return ray.origin + ray.direction * hit.distance;
    if (ray.direction.y * ray.origin.y < 0.0f)
        return ray.origin + ray.direction * (-ray.origin.y / ray.direction.y);
    return camera.pointAtPivotDepth(pixel, size);
}

QString describePick(const Scene3d& scene, const Pick3d& pick)
{
    const auto point = [](Vector3 p) {
        return QStringLiteral("(%1, %2, %3)")
            .arg(QString::number(p.x, 'f', 2), QString::number(p.y, 'f', 2),
                 QString::number(p.z, 'f', 2));
    };
    switch (pick.kind) {
    case Pick3d::Kind::Footer: return describeFooter(scene.footers[pick.index].facts, false);
    case Pick3d::Kind::PreviewFooter: return describeFooter(scene.preview[pick.index].facts, true);
    case Pick3d::Kind::Tube: {
        const Tube3d& tube = scene.tubes[pick.index];
        const QString kind = tube.style < sizeClassCount
                                 ? QStringLiteral("%1 support tube")
                                       .arg(QString::fromLatin1(
                                           sizeClassLabel(static_cast<TubeSizeClass>(tube.style))))
                                 : QStringLiteral("support tube of no footer class");
        return QStringLiteral("%1\nfrom %2\nto %3").arg(kind, point(tube.a), point(tube.b));
    }
    case Pick3d::Kind::None: break;
    }
    return {};
}

}  // namespace pw
