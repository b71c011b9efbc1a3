#pragma once
// The triangles of a footer model as the 3D view draws them: in the model's own frame with y up
// (the simulator's frame), in metres.

#include "geometry/Vector3.h"

#include <array>
#include <cstdint>
#include <vector>

namespace pw {

struct ModelMesh {
    std::vector<Vector3> positions;
    std::vector<Vector3> normals;        // one per position, unit length
    std::vector<std::uint32_t> indices;  // three per triangle, into positions
};

// Where a model puts a mesh: row-major, column vectors, translation in elements 3, 7 and 11, the
// last row 0, 0, 0, 1.
using Placement = std::array<float, 16>;
inline constexpr Placement identityPlacement{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// A mesh held once with every place its model puts it: a mesh that keyframer nodes instance many
// times costs its triangles once.
struct PlacedMesh {
    ModelMesh mesh;
    std::vector<Placement> placements;
};

}  // namespace pw
