#pragma once
// 4x4 single-precision placement matrix.
//
// Row-major: element (r, c) is e[4r + c]. Points are column vectors, p' = M * (x, y, z, 1), so
// the translation sits in e[3], e[7], e[11]. Every transform pre-multiplies (M <- T * M):
// identity().scale(s).rotate(a, axis).translate(p) scales first, rotates next, moves last.
// Angles are degrees, converted with the single-precision factor 0.017453294.
// These sixteen floats, in this order, are what a scenery object stores.

#include "Angles.h"
#include "Vector3.h"

#include <array>

namespace pw {

struct Matrix4 {
    std::array<float, 16> e{};  // all zeros until identity() or an assignment

    Matrix4& identity();
    Matrix4& scale(float s);
    Matrix4& scale(float sx, float sy, float sz);
    Matrix4& translate(Vector3 v);
    Matrix4& translate(float tx, float ty, float tz);
    // The axis is not normalised: pass a unit axis (a zero axis gives cos(angle) * I).
    Matrix4& rotate(float angleDegrees, float ax, float ay, float az);
    Matrix4& rotate(float angleDegrees, Vector3 axis);
    Matrix4& rotateX(float angleDegrees);
    Matrix4& rotateY(float angleDegrees);
    Matrix4& rotateZ(float angleDegrees);
    Matrix4& transpose();
    float determinant() const;
    Matrix4& invertGeneral();  // identity when |det| <= 0.00001
    // Inverts [B t; 0 0 0 1] as [B^-1, -B^-1 t; 0 0 0 1], whatever the bottom row holds;
    // identity when |det B| <= 0.00001.
    Matrix4& invertAffine();
    Matrix4& invert();  // affine path exactly when the bottom row is (0, 0, 0, 1)

    friend bool operator==(const Matrix4&, const Matrix4&) = default;
};

}  // namespace pw
