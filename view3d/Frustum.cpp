#include "Frustum.h"

#include <cmath>

namespace pw {

Frustum::Frustum(const QMatrix4x4& m)
{
    // Rows of the matrix combined as Gribb and Hartmann describe.
    const auto row = [&](int r) { return Plane{m(r, 0), m(r, 1), m(r, 2), m(r, 3)}; };
    const Plane w = row(3);
    for (int axis = 0; axis < 3; ++axis) {
        const Plane r = row(axis);
        for (int k = 0; k < 4; ++k) {
            planes_[2 * axis][k] = w[k] + r[k];
            planes_[2 * axis + 1][k] = w[k] - r[k];
        }
    }
    for (Plane& plane : planes_) {
        const float length =
            std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
        if (length > 0.0f)
            for (float& v : plane)
                v /= length;
    }
}

bool Frustum::sees(Vector3 centre, float radius) const
{
    for (const Plane& plane : planes_)
        if (distance(plane, centre) < -radius)
            return false;
    return true;
}

bool Frustum::sees(Vector3 a, Vector3 b, float radius) const
{
    for (const Plane& plane : planes_)
        if (distance(plane, a) < -radius && distance(plane, b) < -radius)
            return false;
    return true;
}

float Frustum::distance(const Plane& plane, Vector3 p)
{
    return plane[0] * p.x + plane[1] * p.y + plane[2] * p.z + plane[3];
}

}  // namespace pw
