#pragma once
// The six planes of a view-projection matrix, to leave out what lies wholly outside the view.

#include "geometry/Vector3.h"

#include <QMatrix4x4>

#include <array>

namespace pw {

class Frustum {
public:
    explicit Frustum(const QMatrix4x4& viewProjection);

    // Whether any of a sphere may lie in view.
    bool sees(Vector3 centre, float radius) const;
    // Whether any of a tube of `radius` from `a` to `b` may lie in view: no plane has it all
    // outside.
    bool sees(Vector3 a, Vector3 b, float radius) const;

private:
    using Plane = std::array<float, 4>;  // unit normal and offset: inside where positive
    static float distance(const Plane& plane, Vector3 p);

    std::array<Plane, 6> planes_;
};

}  // namespace pw
