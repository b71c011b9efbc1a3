#pragma once
// The 3D view's camera: it looks at a pivot from a distance, turned about the vertical (yaw) and
// raised above the horizon (pitch). Yaw 0 and pitch 0 look along -z with x right and y up, as
// the plan's view from the front. Angles in degrees; the field of view is vertical.

#include "geometry/Vector3.h"

#include <QMatrix4x4>
#include <QPointF>
#include <QSize>

#include <optional>

namespace pw {

struct Ray3d {
    Vector3 origin;
    Vector3 direction;  // unit length
};

class OrbitCamera {
public:
    static constexpr float fieldOfViewDegrees = 45.0f;
    static constexpr float defaultYawDegrees = 30.0f;
    static constexpr float defaultPitchDegrees = 30.0f;
    static constexpr float nearestDistance = 0.5f;
    static constexpr float farthestDistance = 1e6f;

    Vector3 pivot() const { return pivot_; }
    float distance() const { return distance_; }
    float yawDegrees() const { return yaw_; }
    float pitchDegrees() const { return pitch_; }

    Vector3 eye() const;
    Vector3 forward() const;  // from the eye towards the pivot
    Vector3 right() const;
    Vector3 up() const;

    // The default direction, at the distance that shows the whole box in a viewport of `size`.
    void fit(Vector3 minimum, Vector3 maximum, QSize size);
    // Turns about the pivot; the pitch stays within 89 degrees of the horizon.
    void orbit(float yawDegrees, float pitchDegrees);
    // Moves the pivot so that what lies at its depth follows the pointer by `pixels`.
    void pan(QPointF pixels, QSize size);
    // Comes closer by `factor` (beyond 1) or goes away (below 1) keeping `towards`, a point on the
    // ray through the pointer, under the pointer.
    void zoomTowards(float factor, Vector3 towards);
    // The point under `pixel` at the pivot's depth.
    Vector3 pointAtPivotDepth(QPointF pixel, QSize size) const;

    QMatrix4x4 view() const;
    // Near and far planes enclose a scene of `sceneRadius` around `sceneCentre`.
    QMatrix4x4 projection(QSize size, Vector3 sceneCentre, float sceneRadius) const;
    Ray3d rayThrough(QPointF pixel, QSize size) const;
    // Where `p` shows in a viewport of `size`; nothing for a point behind the eye.
    std::optional<QPointF> pixelOf(Vector3 p, QSize size) const;
    // Pixels per metre at `depth` along the forward direction.
    float pixelsPerMetre(float depth, QSize size) const;

private:
    Vector3 pivot_{0.0f, 0.0f, 0.0f};
    float distance_ = 50.0f;
    float yaw_ = defaultYawDegrees;
    float pitch_ = defaultPitchDegrees;
};

}  // namespace pw
