#include "Matrix4.h"

#include "Matrix3.h"

#include <cmath>
#include <utility>

namespace pw {

namespace {

constexpr float singularLimit = 0.00001f;

using Row = std::array<float, 4>;

Row row(const Matrix4& m, int r)
{
    return {m.e[4 * r], m.e[4 * r + 1], m.e[4 * r + 2], m.e[4 * r + 3]};
}

void setRow(Matrix4& m, int r, const Row& values)
{
    for (int c = 0; c < 4; ++c)
        m.e[4 * r + c] = values[c];
}

// a * x + b * y, element by element.
Row combine(float a, const Row& x, float b, const Row& y)
{
    return {a * x[0] + b * y[0], a * x[1] + b * y[1], a * x[2] + b * y[2], a * x[3] + b * y[3]};
}

// Turns rows i and j in their plane: i' = c i - s j, j' = s i + c j, with s the angle's sine times
// `sense` (-1 for the Y axis, which turns z towards x).
Matrix4& turnRows(Matrix4& m, int i, int j, float angleDegrees, float sense = 1.0f)
{
    const float theta = angleDegrees * degreesToRadians;
    const float c = std::cos(theta);
    const float s = sense * std::sin(theta);
    const Row ri = row(m, i);
    const Row rj = row(m, j);
    setRow(m, i, combine(c, ri, -s, rj));
    setRow(m, j, combine(s, ri, c, rj));
    return m;
}

// Determinant of the 3x3 minor left after removing row `skipRow` and column `skipCol`.
float minor(const std::array<float, 16>& e, int skipRow, int skipCol)
{
    std::array<float, 9> m{};
    int k = 0;
    for (int r = 0; r < 4; ++r) {
        if (r == skipRow)
            continue;
        for (int c = 0; c < 4; ++c) {
            if (c != skipCol)
                m[k++] = e[4 * r + c];
        }
    }
    return determinant3(m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8]);
}

float cofactor(const std::array<float, 16>& e, int r, int c)
{
    const float value = minor(e, r, c);
    return (r + c) % 2 == 0 ? value : -value;
}

}  // namespace

Matrix4& Matrix4::identity()
{
    e = {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f,
         0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};
    return *this;
}

Matrix4& Matrix4::scale(float s) { return scale(s, s, s); }

Matrix4& Matrix4::scale(float sx, float sy, float sz)
{
    const float factors[3] = {sx, sy, sz};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c)
            e[4 * r + c] *= factors[r];
    }
    return *this;
}

Matrix4& Matrix4::translate(Vector3 v) { return translate(v.x, v.y, v.z); }

Matrix4& Matrix4::translate(float tx, float ty, float tz)
{
    const float offsets[3] = {tx, ty, tz};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c)
            e[4 * r + c] += offsets[r] * e[12 + c];
    }
    return *this;
}

Matrix4& Matrix4::rotate(float angleDegrees, float ax, float ay, float az)
{
    const float theta = angleDegrees * degreesToRadians;
    const float c = std::cos(theta);
    const float s = std::sin(theta);
    const float k = 1.0f - c;
    const float r[3][3] = {
        {c + k * ax * ax, k * ax * ay - s * az, k * ax * az + s * ay},
        {k * ax * ay + s * az, c + k * ay * ay, k * ay * az - s * ax},
        {k * ax * az - s * ay, k * ay * az + s * ax, c + k * az * az},
    };
    const Row old[4] = {row(*this, 0), row(*this, 1), row(*this, 2), row(*this, 3)};
    for (int i = 0; i < 3; ++i) {
        Row updated{};
        // The zero weight of row 3 is kept so signed zeros come out as the full product gives.
        for (int col = 0; col < 4; ++col) {
            updated[col] = r[i][0] * old[0][col] + r[i][1] * old[1][col] + r[i][2] * old[2][col] +
                           0.0f * old[3][col];
        }
        setRow(*this, i, updated);
    }
    return *this;
}

Matrix4& Matrix4::rotate(float angleDegrees, Vector3 axis)
{
    return rotate(angleDegrees, axis.x, axis.y, axis.z);
}

Matrix4& Matrix4::rotateX(float angleDegrees) { return turnRows(*this, 1, 2, angleDegrees); }

Matrix4& Matrix4::rotateY(float angleDegrees) { return turnRows(*this, 0, 2, angleDegrees, -1.0f); }

Matrix4& Matrix4::rotateZ(float angleDegrees) { return turnRows(*this, 0, 1, angleDegrees); }

Matrix4& Matrix4::transpose()
{
    std::swap(e[1], e[4]);
    std::swap(e[2], e[8]);
    std::swap(e[3], e[12]);
    std::swap(e[6], e[9]);
    std::swap(e[7], e[13]);
    std::swap(e[11], e[14]);
    return *this;
}

float Matrix4::determinant() const
{
    return e[0] * minor(e, 0, 0) - e[1] * minor(e, 0, 1) + e[2] * minor(e, 0, 2) -
           e[3] * minor(e, 0, 3);
}

Matrix4& Matrix4::invertGeneral()
{
    const float det = determinant();
    if (std::fabs(det) <= singularLimit)
        return identity();
    std::array<float, 16> inverse{};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c)
            inverse[4 * r + c] = cofactor(e, c, r) / det;  // adjugate: transposed cofactors
    }
    e = inverse;
    return *this;
}

Matrix4& Matrix4::invertAffine()
{
    Matrix3 block;
    block.e = {e[0], e[1], e[2], e[4], e[5], e[6], e[8], e[9], e[10]};
    // A singular block has no inverse; answer as the general inverse does.
    if (std::fabs(block.determinant()) <= singularLimit)
        return identity();
    block.invert();
    const Vector3 t{e[3], e[7], e[11]};
    const auto& b = block.e;
    e = {b[0], b[1], b[2], -(b[0] * t.x + b[1] * t.y + b[2] * t.z),
         b[3], b[4], b[5], -(b[3] * t.x + b[4] * t.y + b[5] * t.z),
         b[6], b[7], b[8], -(b[6] * t.x + b[7] * t.y + b[8] * t.z),
         0.0f, 0.0f, 0.0f, 1.0f};
    return *this;
}

Matrix4& Matrix4::invert()
{
    const bool affine = e[12] == 0.0f && e[13] == 0.0f && e[14] == 0.0f && e[15] == 1.0f;
    return affine ? invertAffine() : invertGeneral();
}

}  // namespace pw
