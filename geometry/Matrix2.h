#pragma once
// 2x2 single-precision matrix, row-major: a = (0, 0), b = (0, 1), c = (1, 0), d = (1, 1).

namespace pw {

struct Matrix2 {
    float a = 0.0f;
    float b = 0.0f;
    float c = 0.0f;
    float d = 0.0f;

    float determinant() const;
    Matrix2& invert();  // identity when |det| <= 0.00001

    friend bool operator==(const Matrix2&, const Matrix2&) = default;
};

}  // namespace pw
