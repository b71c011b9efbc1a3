#pragma once
// The vertices and triangles of a model read by assimp, through its node transforms.

#include "ModelMesh.h"
#include "geometry/Vector3.h"

#include <vector>

struct aiScene;

namespace pw {

struct SceneGeometry {
    std::vector<Vector3> vertices;  // every finite vertex, for the outline and the bounds
    ModelMesh mesh;
};

// Flat: each triangle gets three corners of its own with the triangle's normal, the faceted look
// of a 3ds model without smoothing groups. Model: the normals assimp gives, shared between the
// triangles of a vertex.
enum class NormalSource { Flat, Model };

// Walks the node tree without recursion. Vertices that are not finite after their node's transform
// are left out, with the triangles that use them. A normal that assimp does not give, or that is
// not finite or has no length after the transform, is a triangle's own (flat) normal.
SceneGeometry collectSceneGeometry(const aiScene& scene, NormalSource normals);

}  // namespace pw
