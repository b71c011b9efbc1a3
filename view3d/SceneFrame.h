#pragma once
// What both of the renderer's paths share within a frame: where it looks from, and the 3D
// view's own colours and light. Only the renderer's files include this.

#include "Frustum.h"
#include "SceneRenderer.h"

#include <QMatrix4x4>
#include <QRgb>

namespace pw {

struct SceneRenderer::FrameView {
    QMatrix4x4 viewProjection;
    Frustum frustum;
    Vector3 eye, forward;
    float pixelsAtUnitDepth;
    QSize size;

    // On-screen size in pixels of `metres` at the nearest depth of a sphere.
    float pixels(const Cull& cull, float metres) const
    {
        const float depth = dot(cull.centre - eye, forward) - cull.radius;
        return depth <= 1e-3f ? 1e9f : metres * pixelsAtUnitDepth / depth;
    }
};

namespace scene3d {

// The track and the grid are drawn in colours of their own: the plan's black track would show
// no light at all.
inline constexpr QRgb track3dRgb = 0x505050;
inline constexpr QRgb gridRgb = 0xd8d8d8;
inline constexpr QRgb highlightRgb = 0xffd400;
inline constexpr QRgb backgroundRgb = 0xffffff;
inline constexpr float highlightPointPixels = 9.0f;

inline Vector3 lightDirection()
{
    Vector3 toLight{0.35f, 1.0f, 0.55f};
    normalize(toLight);
    return toLight;
}

inline void pushFlat(std::vector<float>& out, Vector3 p, const std::array<float, 4>& colour)
{
    out.insert(out.end(), {p.x, p.y, p.z, colour[0], colour[1], colour[2], colour[3]});
}

}  // namespace scene3d

}  // namespace pw
