#pragma once
// One cubic Bezier piece of the track's centre line, from vertex i to vertex i + 1, with a lookup
// of the point at a fraction of its arc length.

#include "Vector3.h"

#include <array>

namespace pw {

struct Track;

class CurveSegment {
public:
    // Copies the four control points of segment `index`. An index without vertices index and
    // index + 1 makes an invalid segment whose control points are all (0, 0, 0).
    CurveSegment(const Track& track, int index);

    static bool isValidIndex(const Track& track, int index);
    bool isValid() const { return valid_; }

    Vector3 pointAt(float t) const;
    // The start point of the walk step at which the running length reaches f times the total.
    Vector3 pointAtLengthFraction(float f) const;

private:
    std::array<Vector3, 4> p_{};
    bool valid_ = false;
    // Running sums of the fixed-step walk, filled once on construction.
    // (implementation detail: add what the lookup needs)
};

}  // namespace pw
