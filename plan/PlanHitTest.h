#pragma once
// Which footer of a plan lies under a point, and the words a tooltip says about it.

#include "PlanScene.h"

#include <QPointF>
#include <QString>

namespace pw {

struct PlanHit {
    const PlanFooter* footer = nullptr;
    bool preview = false;  // one that generate would add
};

// The footer whose outline holds `world`, or whose outline comes within `tolerance` (in world
// units) of it; the preview's outlines, drawn on top, first. No footer: a hit without footer.
PlanHit footerAt(const PlanScene& scene, QPointF world, double tolerance);

// Class, model file, scale, position and turn or tilt, one item a line.
QString describeFooter(const PlanFooter& footer, bool preview);

}  // namespace pw
