#pragma once
// The ground plan of a footer model: its vertices read with assimp, in the model's own frame
// with y up (the simulator's frame), reduced to the points that can bound its outline.

#include "ModelMesh.h"
#include "geometry/Vector3.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace pw {

// Real footer models are a few hundred kilobytes; anything far beyond is no footer, and a
// hostile file must not keep the reader busy for long.
inline constexpr std::uintmax_t largestModelFileBytes = 16u * 1024u * 1024u;

// No footer reaches this far from its origin, nor spans this much: a model that does is drawn as
// the unit square rather than shrink the whole plan below a pixel.
inline constexpr float modelReachMetres = 10000.0f;

struct ModelFootprint {
    bool readable = false;
    std::string problem;          // why the model could not be read; empty when readable
    std::vector<Vector3> points;  // the unit square (-0.5..0.5 in x and z) when not readable
    Vector3 minimum;              // bounds of all vertices, in metres
    Vector3 maximum;
    ModelMesh mesh;  // empty when not readable
};

// The unit square a footer is drawn as when its model cannot be read.
ModelFootprint unitSquareFootprint(std::string problem);

// Reads the model's vertices through its node transforms. Never throws; a file that is missing,
// empty, larger than largestModelFileBytes, not a model, over the bounds of screenThreeDs or
// reaching beyond modelReachMetres gives the unit square and the problem.
ModelFootprint readModelFootprint(const std::filesystem::path& file);
// The same for a file's bytes already in memory (no size cap of its own).
ModelFootprint modelFootprintOf(std::span<const std::uint8_t> file);

}  // namespace pw
