#pragma once
// The triangles of a footer model as the 3D view draws them: in the model's own frame with y up
// (the simulator's frame), node transforms applied, in metres.

#include "geometry/Vector3.h"

#include <cstdint>
#include <vector>

namespace pw {

struct ModelMesh {
    std::vector<Vector3> positions;
    std::vector<Vector3> normals;        // one per position, unit length
    std::vector<std::uint32_t> indices;  // three per triangle, into positions
};

}  // namespace pw
