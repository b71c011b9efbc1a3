#pragma once
// One cubic Bezier piece of the track's centre line, through four control points, with a lookup
// of the point at a fraction of its arc length.
//
// The length is measured by a fixed walk: steps of h = float(1 / 4056) in t, accumulated in
// single precision, while t <= 1 after the step (4057 steps, the last ending at t ~ 1.000208).
// Construction walks once and keeps the running sums (4058 pointAt evaluations); every lookup
// after that is a binary search plus one pointAt evaluation.

#include "Vector3.h"

#include <array>
#include <vector>

namespace pw {

class CurveSegment {
public:
    // The curve from p0 to p3, bent towards p1 and p2.
    CurveSegment(Vector3 p0, Vector3 p1, Vector3 p2, Vector3 p3);

    Vector3 pointAt(float t) const;
    // The start point of the first walk step whose running length exceeds D - 0.01, where
    // D = f * walkedLength() in double precision. Usually that sum also lies below D + 0.01.
    // Where the sums jump across the window (steps longer than 0.02, or f = 0 with a first step
    // of 0.01 or more) the rule still answers the walk point just before the target, never a
    // point off the curve. A D that no sum exceeds (f past the end, NaN) answers the end vertex.
    Vector3 pointAtLengthFraction(float f) const;

    // The length the walk measures: the sum over all its steps, slightly beyond the end point.
    float walkedLength() const;

    // The walk's start parameters t_0 = 0, t_k+1 = t_k + h in single precision, one per step.
    static const std::vector<float>& stepStarts();

private:
    std::array<Vector3, 4> p_{};
    // runningSums_[k] is the length walked after step k, summed in the walk's order. The table
    // ends before the first NaN sum: NaN compares false, so no step from there on can answer.
    std::vector<float> runningSums_;
    float walkedLength_ = 0.0f;
};

}  // namespace pw
