#include "Matrix3.h"

#include <cmath>

namespace pw {

namespace {

constexpr float singularLimit = 0.00001f;

}  // namespace

float determinant3(float a, float b, float c, float d, float e, float f, float g, float h, float i)
{
    return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
}

Matrix3& Matrix3::identity()
{
    e = {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};
    return *this;
}

float Matrix3::determinant() const
{
    return determinant3(e[0], e[1], e[2], e[3], e[4], e[5], e[6], e[7], e[8]);
}

Matrix3& Matrix3::invert()
{
    const float det = determinant();
    if (std::fabs(det) <= singularLimit)
        return identity();
    // The adjugate is the transposed cofactor matrix.
    const std::array<float, 9> adjugate = {
        e[4] * e[8] - e[5] * e[7], e[2] * e[7] - e[1] * e[8], e[1] * e[5] - e[2] * e[4],
        e[5] * e[6] - e[3] * e[8], e[0] * e[8] - e[2] * e[6], e[2] * e[3] - e[0] * e[5],
        e[3] * e[7] - e[4] * e[6], e[1] * e[6] - e[0] * e[7], e[0] * e[4] - e[1] * e[3],
    };
    for (int k = 0; k < 9; ++k)
        e[k] = adjugate[k] / det;
    return *this;
}

}  // namespace pw
