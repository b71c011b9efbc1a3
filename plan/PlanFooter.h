#pragma once
// One footer as a plan draws it, and where the models that give it its outline are read.

#include "footers/DrawingColours.h"
#include "geometry/Vector3.h"

#include <QPolygonF>
#include <QRectF>

#include <string>

namespace pw {

class ModelFootprints;

struct PlanFooter {
    QPolygonF outline;  // closed implicitly; the convex hull of the model as placed
    QRectF bounds;
    int style = otherFooterStyle;
    std::string modelFile;  // after "/fundament-" in the stored model path
    float scale = 1.0f;
    Vector3 position;
    float angleDegrees = 0.0f;  // the turn about the vertical, or the tilt when `tilted`
    bool tilted = false;
};

// Where the models of footers are read. A footer already in the track is read first from the
// simulator's objects directory, by the path the track stores (the very file the simulator
// shows); else, as every footer a generation would add, from the model directory by its model
// file name. Either may be null; a footer read from neither is its unit square.
struct FootprintSources {
    FootprintSources(ModelFootprints* modelDirectory = nullptr,
                     ModelFootprints* installed = nullptr)
        : modelDirectory(modelDirectory), installed(installed)
    {
    }
    ModelFootprints* modelDirectory;
    ModelFootprints* installed;
};

}  // namespace pw
