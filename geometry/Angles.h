#pragma once
// Both angle conversions. They use two different factors on purpose: stored placements were made
// with exactly these roundings, so neither may be derived from the other.

namespace pw {

// pi / 180 rounded up by one unit in the last place; Matrix4 turns its degrees into radians so.
inline constexpr float degreesToRadians = 0.017453294f;

// pi / 180 to eleven places, divided in double precision and rounded once to single.
inline float radiansToDegrees(float radians) { return static_cast<float>(radians / 0.01745329252); }

}  // namespace pw
