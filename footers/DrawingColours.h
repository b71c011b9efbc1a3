#pragma once
// The colours (0xRRGGBB) the plan and the 3D view draw a track in. A footer is drawn in the
// style of its size class, whose colour the size-class table holds, or in that of no class.

#include "SizeClasses.h"

#include <algorithm>
#include <cstdint>

namespace pw {

inline constexpr std::uint32_t trackRgb = 0x000000;
inline constexpr std::uint32_t supportRgb = 0x8c564b;
inline constexpr std::uint32_t fundamentRgb = 0x555555;
inline constexpr std::uint32_t sceneryRgb = 0x17becf;

// The size classes in table order, then footers of no known class.
inline constexpr int footerStyleCount = sizeClassCount + 1;
inline constexpr int otherFooterStyle = sizeClassCount;
inline constexpr std::uint32_t otherFooterRgb = 0x7f7f7f;

// A style out of range is taken as the nearest one.
constexpr std::uint32_t footerRgb(int style)
{
    const int clamped = std::clamp(style, 0, otherFooterStyle);
    return clamped == otherFooterStyle ? otherFooterRgb
                                       : sizeClassRow(static_cast<TubeSizeClass>(clamped)).colour;
}

}  // namespace pw
