#include "OrbitCamera.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace pw {

namespace {

constexpr float radiansPerDegree = std::numbers::pi_v<float> / 180.0f;

float tanHalfVertical()
{
    return std::tan(OrbitCamera::fieldOfViewDegrees * 0.5f * radiansPerDegree);
}

float aspect(QSize size)
{
    return size.height() > 0 ? static_cast<float>(size.width()) / static_cast<float>(size.height())
                             : 1.0f;
}

}  // namespace

Vector3 OrbitCamera::forward() const
{
    const float yaw = yaw_ * radiansPerDegree, pitch = pitch_ * radiansPerDegree;
    return {-std::sin(yaw) * std::cos(pitch), -std::sin(pitch), -std::cos(yaw) * std::cos(pitch)};
}

Vector3 OrbitCamera::right() const
{
    const float yaw = yaw_ * radiansPerDegree;
    return {std::cos(yaw), 0.0f, -std::sin(yaw)};
}

Vector3 OrbitCamera::up() const { return cross(right(), forward()); }

Vector3 OrbitCamera::eye() const { return pivot_ - forward() * distance_; }

void OrbitCamera::fit(Vector3 minimum, Vector3 maximum, QSize size)
{
    yaw_ = defaultYawDegrees;
    pitch_ = defaultPitchDegrees;
    pivot_ = (minimum + maximum) * 0.5f;
    const Vector3 f = forward(), r = right(), u = up();
    const float tanV = tanHalfVertical();
    const float tanH = tanV * aspect(size);
    // A margin of a twentieth on every side.
    const float margin = 0.9f;
    float needed = nearestDistance;
    for (int corner = 0; corner < 8; ++corner) {
        const Vector3 c{(corner & 1) != 0 ? maximum.x : minimum.x,
                        (corner & 2) != 0 ? maximum.y : minimum.y,
                        (corner & 4) != 0 ? maximum.z : minimum.z};
        const Vector3 offset = c - pivot_;
        // The corner at depth distance + dot(offset, f) must lie within both half angles.
        const float along = dot(offset, f);
        needed = std::max({needed, std::abs(dot(offset, r)) / (tanH * margin) - along,
                           std::abs(dot(offset, u)) / (tanV * margin) - along});
    }
    distance_ = std::clamp(needed, nearestDistance, farthestDistance);
}

void OrbitCamera::orbit(float yawDegrees, float pitchDegrees)
{
    yaw_ = std::remainder(yaw_ + yawDegrees, 360.0f);
    pitch_ = std::clamp(pitch_ + pitchDegrees, -89.0f, 89.0f);
}

void OrbitCamera::pan(QPointF pixels, QSize size)
{
    const float metres = 1.0f / pixelsPerMetre(distance_, size);
    pivot_ = pivot_ - right() * (static_cast<float>(pixels.x()) * metres) +
             up() * (static_cast<float>(pixels.y()) * metres);
}

void OrbitCamera::zoomTowards(float factor, Vector3 towards)
{
    const float next = std::clamp(distance_ / factor, nearestDistance, farthestDistance);
    const float applied = distance_ / next;
    // The eye moves along its ray to `towards` by the same share as the distance shrinks.
    pivot_ = pivot_ + (towards - pivot_) * (1.0f - 1.0f / applied);
    distance_ = next;
}

Vector3 OrbitCamera::pointAtPivotDepth(QPointF pixel, QSize size) const
{
    const Ray3d ray = rayThrough(pixel, size);
    const float along = dot(ray.direction, forward());
    return ray.origin + ray.direction * (along > 0.0f ? distance_ / along : distance_);
}

QMatrix4x4 OrbitCamera::view() const
{
    QMatrix4x4 m;
    const Vector3 e = eye(), p = pivot_, u = up();
    m.lookAt({e.x, e.y, e.z}, {p.x, p.y, p.z}, {u.x, u.y, u.z});
    return m;
}

QMatrix4x4 OrbitCamera::projection(QSize size, Vector3 sceneCentre, float sceneRadius) const
{
    const float centreDepth = dot(sceneCentre - eye(), forward());
    const float farPlane = std::max(centreDepth + sceneRadius, distance_) * 1.05f + 1.0f;
    // The depth buffer resolves about farPlane / nearPlane; 24 bits keep 1e4 fine enough.
    const float nearPlane = std::max({centreDepth - sceneRadius, farPlane * 1e-4f, 0.01f});
    QMatrix4x4 m;
    m.perspective(fieldOfViewDegrees, aspect(size), std::min(nearPlane, distance_ * 0.5f),
                  farPlane);
    return m;
}

Ray3d OrbitCamera::rayThrough(QPointF pixel, QSize size) const
{
    const float tanV = tanHalfVertical();
    const float x = (2.0f * static_cast<float>(pixel.x()) / std::max(size.width(), 1) - 1.0f) *
                    tanV * aspect(size);
    const float y =
        (1.0f - 2.0f * static_cast<float>(pixel.y()) / std::max(size.height(), 1)) * tanV;
    Vector3 d = forward() + right() * x + up() * y;
    d = d * (1.0f / std::sqrt(dot(d, d)));
    return {eye(), d};
}

std::optional<QPointF> OrbitCamera::pixelOf(Vector3 p, QSize size) const
{
    const Vector3 d = p - eye();
    const float depth = dot(d, forward());
    if (!(depth > 0.0f))
        return std::nullopt;
    const float tanV = tanHalfVertical();
    const float x = dot(d, right()) / (depth * tanV * aspect(size));
    const float y = dot(d, up()) / (depth * tanV);
    return QPointF((x + 1.0f) * 0.5f * static_cast<float>(size.width()),
                   (1.0f - y) * 0.5f * static_cast<float>(size.height()));
}

float OrbitCamera::pixelsPerMetre(float depth, QSize size) const
{
    return static_cast<float>(size.height()) / (2.0f * tanHalfVertical() * std::max(depth, 1e-6f));
}

}  // namespace pw
