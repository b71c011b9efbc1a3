#pragma once
// Single-precision quaternion w + xi + yj + zk, scalar part first. Angles are radians.
// In-place operations return the changed quaternion so calls chain.

#include "Matrix4.h"

#include <iosfwd>

namespace pw {

struct Quaternion {
    float w = 1.0f;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr Quaternion() = default;
    constexpr Quaternion(float w_, float x_, float y_, float z_) : w(w_), x(x_), y(y_), z(z_) {}

    Quaternion multiply(const Quaternion& r) const;  // Hamilton product this * r
    Quaternion& multiplyInPlace(const Quaternion& r);
    Quaternion& conjugate();
    Quaternion& normalize();    // the zero quaternion becomes (1, 0, 0, 0)
    Quaternion& unitInverse();  // conjugate / norm; the zero quaternion stays zero
    // w <- 0 and the vector part scaled by atan(|v| / w) itself, not by that angle over |v|.
    Quaternion& log();
    Quaternion& exp();
    // Applied with toMatrix, turns points by -angle about the axis (right-hand sense); a zero
    // axis gives (1, 0, 0, 0).
    Quaternion& fromAxisAngle(float angle, float ax, float ay, float az);
    Matrix4 toMatrix() const;  // not normalised first
    // Does not take the shorter arc. For nearly opposite q0, q1 the result runs the quarter
    // circle from q0 to p = (q0.z, -q0.y, q0.x, -q0.w), perpendicular to q0: t = 1 gives p.
    Quaternion& slerp(const Quaternion& q0, const Quaternion& q1, float t);

    friend bool operator==(const Quaternion&, const Quaternion&) = default;
};

// Writes "w + xi + yj + zk" in the stream's current number format.
std::ostream& operator<<(std::ostream& out, const Quaternion& q);

}  // namespace pw
