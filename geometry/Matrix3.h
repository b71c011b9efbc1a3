#pragma once
// 3x3 single-precision matrix, row-major: element (r, c) is e[3r + c].

#include <array>

namespace pw {

// Determinant of the 3x3 matrix given row by row.
float determinant3(float a, float b, float c, float d, float e, float f, float g, float h, float i);

struct Matrix3 {
    std::array<float, 9> e{};  // all zeros until identity() or an assignment

    Matrix3& identity();
    float determinant() const;
    Matrix3& invert();  // identity when |det| <= 0.00001

    friend bool operator==(const Matrix3&, const Matrix3&) = default;
};

}  // namespace pw
