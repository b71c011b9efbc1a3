#include "TubeJoints.h"

#include <algorithm>
#include <cmath>

namespace pw {

namespace {

// Ends closer than this join.
constexpr float joinDistance = 1e-3f;

}  // namespace

float jointOverlap(Vector3 along, Vector3 onward, float radius)
{
    const float lengths = length(along) * length(onward);
    if (!(lengths > 0.0f) || !std::isfinite(lengths))
        return 0.0f;
    const float cosine = std::clamp(dot(along, onward) / lengths, -1.0f, 1.0f);
    if (cosine <= 0.0f)
        return radius;
    return radius * std::sqrt((1.0f - cosine) / (1.0f + cosine));
}

TubePiece overlapped(Vector3 a, Vector3 b, Vector3 before, Vector3 after, float radius)
{
    if (radius == 0.0f)
        return {a, b};
    const Vector3 along = b - a;
    const float span = length(along);
    if (!(span > 0.0f))
        return {a, b};
    const Vector3 unit = along * (1.0f / span);
    return {a - unit * jointOverlap(before, along, radius),
            b + unit * jointOverlap(along, after, radius)};
}

std::vector<PolylineEnds> polylineEnds(const std::vector<std::vector<Vector3>>& polylines)
{
    const std::size_t count = polylines.size();
    std::vector<PolylineEnds> ends(count);
    const auto joins = [&](std::size_t first, std::size_t second) {
        const std::vector<Vector3>& p = polylines[first];
        const std::vector<Vector3>& q = polylines[second];
        return p.size() >= 2 && q.size() >= 2 && length(q.front() - p.back()) < joinDistance;
    };
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t next = (i + 1) % count;
        if (!joins(i, next))
            continue;
        const std::vector<Vector3>& p = polylines[i];
        const std::vector<Vector3>& q = polylines[next];
        ends[i].after = q[1] - q[0];
        ends[next].before = p[p.size() - 1] - p[p.size() - 2];
    }
    return ends;
}

}  // namespace pw
