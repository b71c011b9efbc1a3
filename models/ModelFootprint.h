#pragma once
// The ground plan of a footer model: its vertices in the model's own frame with y up (the
// simulator's frame), reduced to the points that can bound its outline, and its meshes. Models are
// read by a reader process of their own (ModelReaderClient.h).

#include "ModelError.h"
#include "ModelMesh.h"
#include "geometry/Vector3.h"

#include <cstddef>
#include <string>
#include <vector>

namespace pw {

// No footer reaches this far from its origin, nor spans this much: a model that does is drawn as
// the unit square rather than shrink the whole plan below a pixel.
inline constexpr float modelReachMetres = 10000.0f;

// Every footer of a model draws its outline from these points, so a model keeps at most this many.
inline constexpr std::size_t mostOutlinePoints = 1024;

struct ModelFootprint {
    bool readable = false;
    std::string problem;          // why the model could not be read; empty when readable
    std::vector<Vector3> points;  // the unit square (-0.5..0.5 in x and z) when not readable
    Vector3 minimum;              // bounds of all vertices, in metres
    Vector3 maximum;
    std::vector<PlacedMesh> meshes;     // none when not readable
    std::vector<std::string> warnings;  // what was left out of a readable model
};

// The unit square a footer is drawn as when its model cannot be read, with the reason why.
ModelFootprint unitSquareFootprint(const CoreError& why);

}  // namespace pw
