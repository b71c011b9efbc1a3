#include "Matrix2.h"

#include <cmath>

namespace pw {

float Matrix2::determinant() const { return a * d - b * c; }

Matrix2& Matrix2::invert()
{
    const float det = determinant();
    if (std::fabs(det) <= 0.00001f) {
        *this = {1.0f, 0.0f, 0.0f, 1.0f};
        return *this;
    }
    *this = {d / det, -b / det, -c / det, a / det};
    return *this;
}

}  // namespace pw
