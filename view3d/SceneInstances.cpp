#include "SceneInstances.h"

#include "footers/DrawingColours.h"

#include <algorithm>

namespace pw {

namespace {

FooterInstances footerInstances(const Scene3d& scene, const std::vector<Footer3d>& list,
                                float alpha)
{
    FooterInstances out;
    for (const Footer3d& footer : list) {
        // A model without triangles draws nothing, not even a point.
        const Model3d* drawn = drawnModel(scene, footer);
        if (drawn == nullptr)
            continue;
        const Model3d& model = *drawn;
        const auto& e = footer.matrix;
        const Vector3 centre = placed(e, (model.minimum + model.maximum) * 0.5f);
        const float stretch = std::max(
            {length({e[0], e[4], e[8]}), length({e[1], e[5], e[9]}), length({e[2], e[6], e[10]})});
        const float radius = 0.5f * stretch * length(model.maximum - model.minimum);
        out.instances.push_back(instanceOf(e, rgba(footerRgb(footer.facts.style), alpha)));
        out.cull.push_back({centre, radius, 0.0f});
        out.modelOf.push_back(footer.model);
    }
    return out;
}

}  // namespace

SceneInstances buildSceneInstances(const Scene3d& scene, float previewAlpha)
{
    SceneInstances out;
    out.footers = footerInstances(scene, scene.footers, 1.0f);
    out.preview = footerInstances(scene, scene.preview, previewAlpha);
    for (const Tube3d& tube : scene.tubes) {
        const float radius = tubeRadius(tube.style);
        out.tubes.push_back(cylinderInstance(tube.a, tube.b, radius, rgba(supportRgb)));
        out.tubeCull.push_back(
            {(tube.a + tube.b) * 0.5f, 0.5f * length(tube.b - tube.a) + radius, radius});
    }
    for (const std::vector<Vector3>& samples : scene.curve) {
        Bounds3d bounds;
        for (const Vector3 p : samples)
            bounds.extend(p);
        out.segmentCull.push_back({(bounds.minimum + bounds.maximum) * 0.5f,
                                   0.5f * length(bounds.maximum - bounds.minimum) + trackTubeRadius,
                                   trackTubeRadius});
    }
    out.segmentEnds = polylineEnds(scene.curve);
    for (const Vector3 p : scene.fundaments) {
        const float s = fundamentBlockSize;
        out.blocks.push_back(
            {{s, 0, 0, p.x, 0, 0.5f * s, 0, p.y, 0, 0, s, p.z}, rgba(fundamentRgb)});
        out.blockCull.push_back({p, s, 0.0f});
    }
    return out;
}

}  // namespace pw
