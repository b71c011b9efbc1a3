#pragma once
// The shapes the renderer draws besides the footers' own meshes, and the instance records its
// instanced draws take.

#include "geometry/Vector3.h"
#include "models/ModelMesh.h"

#include <QRgb>

#include <array>
#include <vector>

namespace pw {

// The per-instance values the mesh shader takes: the first three rows of the placement, then
// the colour with its alpha.
struct Instance3d {
    std::array<float, 12> rows;
    std::array<float, 4> colour;
};

std::array<float, 4> rgba(QRgb rgb, float alpha = 1.0f);

// `point` placed by the row-major affine matrix `e`.
Vector3 placed(const std::array<float, 16>& e, Vector3 point);

// An instance of a footer's row-major matrix.
Instance3d instanceOf(const std::array<float, 16>& matrix, std::array<float, 4> colour);

// The footer's placement times a mesh's placement in its model.
Instance3d placedInstance(const Instance3d& footer, const Placement& placement);
// The footer at each placement of a mesh, appended to `out` in the placements' order.
void appendPlaced(std::vector<Instance3d>& out, const Instance3d& footer,
                  const std::vector<Placement>& placements);

// The unit cylinder (radius 1, y from 0 to 1) stretched from `a` to `b` with `radius`.
Instance3d cylinderInstance(Vector3 a, Vector3 b, float radius, std::array<float, 4> colour);

// The unit cylinder, wound outwards: eight sides and a cap at each end.
ModelMesh cylinderMesh();

// The unit cube about the origin, a normal of its own on each face.
ModelMesh blockMesh();

}  // namespace pw
