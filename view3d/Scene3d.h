#pragma once
// What the 3D view draws, in the track's own frame (metres, y up): the track curve sampled as
// the plans sample it, every support tube between its ends, the fundaments, and every footer with
// the exact matrix stored for it and the model it is drawn with. Built once per load, generate,
// inspection or preview change; the renderer and the picking only read it.

#include "footers/TubeEndPoints.h"
#include "geometry/Vector3.h"
#include "models/ModelFootprint.h"
#include "models/ModelMesh.h"
#include "plan/PlanScene.h"
#include "tracklib/Track.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace pw {

struct Model3d {
    // Each mesh once with its placements in the model; none when nothing is drawable.
    std::vector<PlacedMesh> meshes;
    Vector3 minimum;  // bounds of the meshes where they are placed; the picking box
    Vector3 maximum;
};

struct Footer3d {
    PlanFooter facts;              // what a tooltip says; no outline
    std::array<float, 16> matrix;  // as stored: row-major, column vectors
    int model = -1;                // into Scene3d::models; -1 draws nothing
};

struct Tube3d {
    Vector3 a;
    Vector3 b;
    int style = otherFooterStyle;  // the size class, or none
};

struct Bounds3d {
    Vector3 minimum;
    Vector3 maximum;
    bool empty = true;
    void extend(Vector3 p);
};

struct Scene3d {
    std::vector<std::vector<Vector3>> curve;  // one polyline per segment
    std::vector<Tube3d> tubes;
    std::vector<Vector3> fundaments;
    std::vector<Model3d> models;
    std::vector<Footer3d> footers;  // in the track
    std::vector<Footer3d> preview;  // what generate would add
    Bounds3d bounds;  // of the track, tubes, fundaments and footer positions within 1e6 m
};

// The model a footer is drawn and picked as; null when it draws nothing (no model, or one
// without triangles).
const Model3d* drawnModel(const Scene3d& scene, const Footer3d& footer);

// Radius of a support tube of a style: its size class's, and for a tube of no class the first
// class's.
float tubeRadius(int style);
inline constexpr float trackTubeRadius = 0.5f;
// A fundament is a block this wide and deep, half as high, centred on its position.
inline constexpr float fundamentBlockSize = 0.5f;

// A model's meshes as drawn: a mesh without a triangle, with a non-finite vertex or an index out
// of range is left out, and so is a placement that is not finite; normals are made from the faces
// when they are missing or not finite. A model that could not be read at all is the 1 m square
// the plans draw for it.
Model3d drawableModel(const ModelFootprint& footprint);

// `preview` holds the objects a generation would add to `track`. Anything with a non-finite
// coordinate is left out; each model is read and made drawable once.
Scene3d buildScene3d(const Track& track, FootprintSources footprints,
                     std::span<const SceneryObject> preview = {},
                     const TubeEndTable* tubeEnds = nullptr);

}  // namespace pw
