#pragma once
// Which support a point of the plan or the 3D view picks, for a choice about that support alone:
// the fundament a footer under the point stands on, else the fundament nearest the point within
// reach.

#include "footers/SupportChoice.h"
#include "plan/PlanScene.h"
#include "view3d/OrbitCamera.h"
#include "view3d/Scene3d.h"
#include "tracklib/Track.h"

#include <QPointF>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>

namespace pw {

// `world` in the plane of `scene`'s view, `reach` in metres there. A footer whose fundament was
// replaced picks nothing: no choice can be about it any more.
std::optional<std::int32_t> supportAt(const Track& track, const PlanScene& scene, QPointF world,
                                      double reach);

// The support under a pixel of the 3D view: the fundament a footer hit there stands on, else the
// fundament drawn nearest the pixel within `reachPixels`.
std::optional<std::int32_t> supportAt3d(const Track& track, const Scene3d& scene,
                                        const OrbitCamera& camera, QPointF pixel, QSize size,
                                        double reachPixels = 6.0);

// How the plan names a support's choice, as in "support 12: no footer".
QString supportChoiceText(std::int32_t fundament, const SupportChoice* choice);

}  // namespace pw
