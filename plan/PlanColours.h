#pragma once
// The colours of what a plan draws, shared by the 2D painter and the 3D view. Footers take the
// colour of their style (footerColour in PlanPainter.h).

#include <QColor>

namespace pw {

inline constexpr QRgb trackRgb = 0x000000;
inline constexpr QRgb supportRgb = 0x8c564b;
inline constexpr QRgb fundamentRgb = 0x555555;
inline constexpr QRgb sceneryRgb = 0x17becf;

}  // namespace pw
