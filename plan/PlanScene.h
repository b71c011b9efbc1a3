#pragma once
// What a plan shows, projected once into the plane of its view: the track curve, the support
// tubes, fundaments, scenery objects and every footer as the outline of its model. The window
// and the command line paint the same scene.

#include "PlanFooter.h"
#include "footers/DrawingColours.h"
#include "geometry/Vector3.h"
#include "tracklib/Track.h"

#include <QLineF>
#include <QPolygonF>
#include <QRectF>
#include <QString>

#include <array>
#include <span>
#include <string>
#include <vector>

namespace pw {

class TubeEndTable;

// Top: from above, x right and z down. Side: from the front, x right and y up.
enum class PlanView { Top, Side };

struct PlanCurvePiece {
    QPolygonF points;
    QRectF bounds;
};

// No park reaches this far: a piece of the plan beyond it is drawn, but the view is not fitted to
// it.
inline constexpr double planFitReachMetres = 1e6;

struct PlanScene {
    PlanView view = PlanView::Top;
    QString title;                      // the track's info text
    std::vector<PlanCurvePiece> curve;  // one per segment
    std::vector<QLineF> tubes;
    std::vector<QPointF> fundaments;
    std::vector<QPointF> sceneryObjects;  // those that are no footer
    std::vector<PlanFooter> footers;      // in the track, ordered by style
    std::vector<PlanFooter> preview;      // what a generation would add, ordered by style
    // Of everything drawn within planFitReachMetres of the origin; empty for an empty track.
    QRectF bounds;
    // Footers in the track per style, and how many a file could not be read for.
    std::array<int, footerStyleCount> footersPerStyle{};
};

// The plane point of a position: (x, z) from above, (x, -y) from the front.
QPointF projected(PlanView view, Vector3 p);

// The track curve as plans draw it: 17 points along each segment, segments with a non-finite
// point left out.
std::vector<std::vector<Vector3>> sampledCurve(const Track& track);

// Whether a scenery object's model path names a footer ("<dir>/fundament-<model>").
bool isFooterObject(const SceneryObject& object);

// The footers among `objects` (a generation's new objects, for a preview), ordered by style.
std::vector<PlanFooter> buildPlanFooters(const Track& track, PlanView view,
                                         FootprintSources footprints,
                                         std::span<const SceneryObject> objects);

// `preview` holds the objects a generation would add to `track`. Anything with a non-finite
// coordinate is left out. `tubeEnds`, when made for this track, saves walking its curve segments
// again.
PlanScene buildPlanScene(const Track& track, PlanView view, FootprintSources footprints,
                         std::span<const SceneryObject> preview = {},
                         const TubeEndTable* tubeEnds = nullptr);

}  // namespace pw
