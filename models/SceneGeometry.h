#pragma once
// The vertices and triangles of a model read by assimp, through its node transforms.

#include "ModelMesh.h"
#include "geometry/Vector3.h"

#include <cstddef>
#include <vector>

struct aiScene;

namespace pw {

struct SceneGeometry {
    // Every finite vertex at every place its mesh is put, for the outline and the bounds.
    std::vector<Vector3> vertices;
    // The meshes placed once, merged in place into the first (with the identity placement), then
    // each mesh placed more than once, held once with its placements.
    std::vector<PlacedMesh> meshes;
    std::size_t placementsLeftOut = 0;  // places that would have put a vertex beyond float range
    bool tooLarge = false;  // more than `mostVertices` placed vertices: nothing is collected
};

// Flat: each triangle gets three corners of its own with the triangle's normal, the faceted look
// of a 3ds model without smoothing groups. Model: the normals assimp gives, shared between the
// triangles of a vertex.
enum class NormalSource { Flat, Model };

// Walks the node tree without recursion. Vertices that are not finite (after their node's
// transform, for a mesh placed once) are left out, with the triangles that use them; so is a place
// of a mesh placed more than once that would put one of its vertices beyond float range. A normal
// that assimp does not give, or that is not finite or has no length after the transform, is a
// triangle's own (flat) normal.
SceneGeometry collectSceneGeometry(const aiScene& scene, NormalSource normals,
                                   std::size_t mostVertices);

}  // namespace pw
