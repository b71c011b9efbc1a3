#pragma once
// Which support a point of the plan picks, for a choice about that support alone: the fundament a
// footer under the point stands on, else the fundament marker nearest the point within reach.

#include "footers/SupportChoice.h"
#include "plan/PlanScene.h"
#include "tracklib/Track.h"

#include <QPointF>
#include <QString>

#include <cstdint>
#include <optional>

namespace pw {

// `world` in the plane of `scene`'s view, `reach` in metres there. A footer whose fundament was
// replaced picks nothing: no choice can be about it any more.
std::optional<std::int32_t> supportAt(const Track& track, const PlanScene& scene, QPointF world,
                                      double reach);

// The choice a key stands for: Delete and 0 no footer, 1 to 5 that size class's model, Backspace
// back to the class's choice (an empty optional inside). None for any other key.
std::optional<std::optional<SupportChoice>> supportChoiceForKey(int key);

// How the plan names a support's choice, as in "support 12: no footer".
QString supportChoiceText(std::int32_t fundament, const SupportChoice* choice);

}  // namespace pw
