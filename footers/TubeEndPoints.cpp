#include "TubeEndPoints.h"

#include "TrackCurve.h"

namespace pw {

TubeEndPoints::TubeEndPoints(const Track& track)
    : track_(track),
      freeNodeCount_(track.freeNodes.size()),
      curves_(track.groups.size()), endsLeft_(track.groups.size(), 0)
{
    for (const Tube& tube : track.tubes)
        for (const TubeEnd* end : {&tube.endA, &tube.endB})
            if (end->kind == TubeEndRailConnector && hasIndex(track.groups, end->group))
                ++endsLeft_[static_cast<std::size_t>(end->group)];
}

std::optional<Vector3> TubeEndPoints::pointOf(const TubeEnd& end)
{
    switch (end.kind) {
    case TubeEndFundament:
        if (!hasIndex(track_.fundaments, end.index))
            return std::nullopt;
        return track_.fundaments[static_cast<std::size_t>(end.index)].position;
    case TubeEndFreeNode:
        if (end.index < 0 || static_cast<std::size_t>(end.index) >= freeNodeCount_)
            return std::nullopt;
        return track_.freeNodes[static_cast<std::size_t>(end.index)].position;
    case TubeEndRailConnector:
        return railConnectorPoint(end.group, end.index);
    default:
        return std::nullopt;
    }
}

std::optional<Vector3> TubeEndPoints::railConnectorPoint(std::int32_t group, std::int32_t index)
{
    if (!hasIndex(track_.groups, group) || !hasCurveSegment(group, track_))
        return std::nullopt;
    const auto g = static_cast<std::size_t>(group);
    const std::vector<RailConnector>& connectors = track_.groups[g].connectors;
    if (!hasIndex(connectors, index))
        return std::nullopt;
    if (!curves_[g])
        curves_[g].emplace(curveSegment(group, track_));
    // The connector's position is a fraction of the arc length here, not a curve parameter.
    const Vector3 q =
        curves_[g]->pointAtLengthFraction(connectors[static_cast<std::size_t>(index)].position);
    if (--endsLeft_[g] <= 0)
        curves_[g].reset();
    return q;
}

}  // namespace pw
