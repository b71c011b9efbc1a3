#include "Vector3.h"

#include <cmath>
#include <ostream>

namespace pw {

float dot(Vector3 a, Vector3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vector3 cross(Vector3 a, Vector3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float length(Vector3 a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }

void normalize(Vector3& a)
{
    // Too short to have a trustworthy direction: dividing would only magnify noise.
    if (a.x * a.x + a.y * a.y + a.z * a.z < 1e-6f)
        return;
    const float inverse = 1.0f / length(a);
    a.x *= inverse;
    a.y *= inverse;
    a.z *= inverse;
}

Vector3 operator-(Vector3 a, Vector3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

Vector3 operator+(Vector3 a, Vector3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

Vector3 operator*(Vector3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }

bool isFinite(Vector3 a) { return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z); }

std::ostream& operator<<(std::ostream& out, Vector3 a)
{
    return out << '(' << a.x << ", " << a.y << ", " << a.z << ')';
}

}  // namespace pw
