#include "Quaternion.h"

#include <cmath>
#include <ostream>

namespace pw {

namespace {

constexpr float epsilon = 1.1920929e-7f;  // single-precision machine epsilon
constexpr double pi = 3.14159264;

float norm(const Quaternion& q) { return std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z); }

Quaternion weightedSum(float k0, const Quaternion& a, float k1, const Quaternion& b)
{
    return {k0 * a.w + k1 * b.w, k0 * a.x + k1 * b.x, k0 * a.y + k1 * b.y, k0 * a.z + k1 * b.z};
}

}  // namespace

Quaternion Quaternion::multiply(const Quaternion& r) const
{
    return {w * r.w - (x * r.x + y * r.y + z * r.z), w * r.x + r.w * x + y * r.z - r.y * z,
            w * r.y + r.w * y + r.x * z - x * r.z, w * r.z + r.w * z + x * r.y - r.x * y};
}

Quaternion& Quaternion::multiplyInPlace(const Quaternion& r)
{
    *this = multiply(r);
    return *this;
}

Quaternion& Quaternion::conjugate()
{
    x = -x;
    y = -y;
    z = -z;
    return *this;
}

Quaternion& Quaternion::normalize()
{
    const float n = norm(*this);
    if (n == 0.0f) {
        *this = Quaternion();
        return *this;
    }
    const float k = 1.0f / n;
    w *= k;
    x *= k;
    y *= k;
    z *= k;
    return *this;
}

Quaternion& Quaternion::unitInverse()
{
    float n = norm(*this);
    if (n == 0.0f)
        n = 1.0f;
    w = w / n;
    x = -x / n;
    y = -y / n;
    z = -z / n;
    return *this;
}

Quaternion& Quaternion::log()
{
    const float a = std::atan(std::sqrt(x * x + y * y + z * z) / w);
    w = 0.0f;
    x *= a;
    y *= a;
    z *= a;
    return *this;
}

Quaternion& Quaternion::exp()
{
    const float d = std::sqrt(x * x + y * y + z * z);
    const float k = static_cast<double>(d) > 0.0001 ? std::sin(d) / d : 1.0f;
    w = std::cos(d);
    x *= k;
    y *= k;
    z *= k;
    return *this;
}

Quaternion& Quaternion::fromAxisAngle(float angle, float ax, float ay, float az)
{
    const float n = std::sqrt(ax * ax + ay * ay + az * az);
    if (std::fabs(n) > epsilon) {
        const float h = -0.5f * angle;
        const float s = std::sin(h);
        const float inverse = 1.0f / n;
        x = s * ax * inverse;
        y = s * ay * inverse;
        z = s * az * inverse;
        w = std::cos(h);
    } else {
        *this = Quaternion();
    }
    return normalize();
}

Matrix4 Quaternion::toMatrix() const
{
    Matrix4 m;
    m.e = {1.0f - 2.0f * (y * y + z * z),
           2.0f * (x * y - z * w),
           2.0f * (x * z + y * w),
           0.0f,
           2.0f * (x * y + z * w),
           1.0f - 2.0f * (x * x + z * z),
           2.0f * (y * z - x * w),
           0.0f,
           2.0f * (x * z - y * w),
           2.0f * (y * z + x * w),
           1.0f - 2.0f * (x * x + y * y),
           0.0f,
           0.0f,
           0.0f,
           0.0f,
           1.0f};
    return m;
}

Quaternion& Quaternion::slerp(const Quaternion& q0, const Quaternion& q1, float t)
{
    const float c = q0.x * q1.x + q0.y * q1.y + q0.z * q1.z + q0.w * q1.w;
    if (1.0f + c > epsilon) {
        float k0 = 1.0f - t;
        float k1 = t;
        if (1.0f - c > epsilon) {
            const float omega = std::acos(c);
            const float s = std::sin(omega);
            k0 = std::sin((1.0f - t) * omega) / s;
            k1 = std::sin(t * omega) / s;
        }
        *this = weightedSum(k0, q0, k1, q1);
        return *this;
    }
    // q1 is (nearly) -q0: every great circle through q0 reaches it, so no plane is defined by
    // the two. Interpolate towards a fixed perpendicular p instead.
    const Quaternion p{q0.z, -q0.y, q0.x, -q0.w};
    const auto k0 = static_cast<float>(std::sin(static_cast<double>(1.0f - t) * pi / 2.0));
    const auto k1 = static_cast<float>(std::sin(static_cast<double>(t) * pi / 2.0));
    *this = weightedSum(k0, q0, k1, p);
    return *this;
}

std::ostream& operator<<(std::ostream& out, const Quaternion& q)
{
    return out << q.w << " + " << q.x << "i + " << q.y << "j + " << q.z << "k";
}

}  // namespace pw
