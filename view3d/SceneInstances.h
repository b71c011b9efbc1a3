#pragma once
// Every instance a scene draws, with a sphere about it for leaving out what lies outside the
// view: made once per scene, read by each frame.

#include "Primitives3d.h"
#include "Scene3d.h"
#include "TubeJoints.h"

#include <vector>

namespace pw {

struct Cull {
    Vector3 centre;
    float radius;     // of the sphere around the instance
    float thickness;  // a tube's radius
};

struct FooterInstances {
    std::vector<Instance3d> instances;
    std::vector<Cull> cull;
    std::vector<int> modelOf;  // into Scene3d::models
};

struct SceneInstances {
    FooterInstances footers, preview;  // those drawn: a footer of no drawable model is left out
    std::vector<Instance3d> tubes, blocks;
    std::vector<Cull> tubeCull, blockCull;
    std::vector<Cull> segmentCull;          // about each segment's samples
    std::vector<PolylineEnds> segmentEnds;  // how the track runs on past each segment's ends
};

SceneInstances buildSceneInstances(const Scene3d& scene, float previewAlpha);

}  // namespace pw
