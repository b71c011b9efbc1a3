#pragma once
// What lies under a point of the 3D view: the footer or support tube the ray through it meets
// first. Footers are their models' boxes as placed; tubes are cylinders, widened to `reach`
// pixels where they are thinner on screen.

#include "OrbitCamera.h"
#include "Scene3d.h"

#include <QSize>
#include <QString>

#include <array>
#include <optional>

namespace pw {

struct Pick3d {
    enum class Kind { None, Footer, PreviewFooter, Tube };
    Kind kind = Kind::None;
    std::size_t index = 0;  // into the scene's footers, preview or tubes
    float distance = 0.0f;  // along the ray
    friend bool operator==(const Pick3d&, const Pick3d&) = default;
};

// Where a ray enters the box [minimum, maximum] placed by `matrix` (row-major, column vectors),
// as a distance along the ray; nothing when it misses or the matrix cannot be inverted.
std::optional<float> rayHitsPlacedBox(const Ray3d& ray, const std::array<float, 16>& matrix,
                                      Vector3 minimum, Vector3 maximum);

// Where a ray comes within `radius` of the segment from `a` to `b`.
std::optional<float> rayHitsTube(const Ray3d& ray, Vector3 a, Vector3 b, float radius);

Pick3d pick3d(const Scene3d& scene, const OrbitCamera& camera, QPointF pixel, QSize size,
              float reachPixels = 3.0f);

// What the wheel zooms towards at `pixel`: the nearest footer or tube there, else the ground
// (height 0) in front of the eye, else the point at the pivot's depth. Zooming towards the
// ground keeps the eye above it.
Vector3 zoomTarget(const Scene3d& scene, const OrbitCamera& camera, QPointF pixel, QSize size);

// The plan's tooltip for a footer; class and ends for a tube; empty for nothing.
QString describePick(const Scene3d& scene, const Pick3d& pick);

}  // namespace pw
