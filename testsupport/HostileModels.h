#pragma once
// Footer models built to attack a reader: each stands for a file seen from outside, well-formed
// as far as its chunks go, but costly or absurd. For tests, benchmarks and fuzz seeds.

#include "examples/ThreeDsModel.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pw {

// A box whose keyframer holds `nodes` object nodes, each the child of the one before.
std::vector<std::uint8_t> keyframerChainModel(std::size_t nodes);
// A box whose keyframer holds `nodes` object nodes side by side.
std::vector<std::uint8_t> flatKeyframerModel(std::size_t nodes);
// `vertices` points on a circle of radius 1 m, fanned into triangles: every point on the outline.
Mesh circleMesh(std::size_t vertices);
// A box with one corner moved to x = `far`.
Mesh farCornerMesh(float far);
// `meshes` meshes of `faces` triangles each, for the cost of large models.
std::vector<std::uint8_t> denseModel(std::size_t meshes, std::size_t faces);
// One strip of `faces` triangles placed by `nodes` keyframer nodes side by side, all naming it:
// a reader that copies the mesh once per node holds it `nodes` times.
std::vector<std::uint8_t> instancedModel(std::size_t nodes, std::size_t faces);
// A grid of `columns` x `rows` vertices 1 cm apart, `faces` triangles at most, in a plane across
// the axis along which assimp sorts positions to smooth normals, moved `offset` metres within it.
// With `smoothingGroups` the faces take turns in 32 groups.
Mesh tiltedGridMesh(std::size_t columns, std::size_t rows, std::size_t faces, double offset,
                    bool smoothingGroups);
// Two grids of 65,535 vertices and as many triangles, in a plane across the axis along which
// assimp sorts positions to smooth normals, so that every position sorts alike. With
// `smoothingGroups` every face is in group 1.
std::vector<std::uint8_t> tiltedGridModel(bool smoothingGroups);

}  // namespace pw
