#pragma once
// Where straight pieces of a tube meet at an angle, each reaches past the joint far enough that
// the outside of the bend shows no crack between them: the two overlap up to the mitre.

#include "geometry/Vector3.h"

#include <vector>

namespace pw {

// How far a piece running along `along` reaches past its joint with one running along `onward`:
// radius x tan(half the angle between them), the radius at most (from a right angle on, the
// pieces' end caps close the joint). Nothing where either direction is zero: no neighbour.
float jointOverlap(Vector3 along, Vector3 onward, float radius);

struct TubePiece {
    Vector3 a, b;
};

// The piece from `a` to `b` lengthened at each end by its overlap with the neighbours, which run
// along `before` (into `a`) and `after` (out of `b`); as it is for a radius of 0.
TubePiece overlapped(Vector3 a, Vector3 b, Vector3 before, Vector3 after, float radius);

// The directions into the first sample and out of the last one of each polyline, from the ones
// before and after it where they join end to start (a closed track joins its last to its first).
struct PolylineEnds {
    Vector3 before, after;  // zero where nothing joins
};
std::vector<PolylineEnds> polylineEnds(const std::vector<std::vector<Vector3>>& polylines);

// Polyline `samples` in `steps` straight pieces (at most one per pair of samples), each
// lengthened to overlap its neighbours; `emit(TubePiece)` takes each in order.
template <class Emit>
void forEachPiece(const std::vector<Vector3>& samples, int steps, PolylineEnds ends, float radius,
                  Emit&& emit)
{
    const int last = static_cast<int>(samples.size()) - 1;
    Vector3 before = ends.before;
    int from = 0;
    for (int k = 1; k <= steps; ++k) {
        const int to = k * last / steps;
        const Vector3 a = samples[static_cast<std::size_t>(from)];
        const Vector3 b = samples[static_cast<std::size_t>(to)];
        const Vector3 after =
            k < steps ? samples[static_cast<std::size_t>((k + 1) * last / steps)] - b : ends.after;
        emit(overlapped(a, b, before, after, radius));
        before = b - a;
        from = to;
    }
}

}  // namespace pw
