#pragma once
// Single-precision 3-vector, a plain value.

#include <iosfwd>

namespace pw {

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    friend bool operator==(const Vector3&, const Vector3&) = default;
};

float dot(Vector3 a, Vector3 b);
Vector3 cross(Vector3 a, Vector3 b);  // right-handed
float length(Vector3 a);
// In place; a vector whose squared length is below 1e-6 is left unchanged.
void normalize(Vector3& a);
Vector3 operator-(Vector3 a, Vector3 b);
Vector3 operator+(Vector3 a, Vector3 b);
Vector3 operator*(Vector3 a, float s);
bool isFinite(Vector3 a);

// Writes "(x, y, z)" in the stream's current number format.
std::ostream& operator<<(std::ostream& out, Vector3 a);

}  // namespace pw
