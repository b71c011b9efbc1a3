#include "TubeEndPoints.h"

#include "FooterEnds.h"
#include "TrackCurve.h"

#include <algorithm>
#include <utility>

namespace pw {

TubeEndPoints::TubeEndPoints(const Track& track)
    : track_(track), freeNodeCount_(track.freeNodes.size())
{
    std::vector<std::pair<std::int32_t, std::int32_t>> asked;  // group, connector
    for (const Tube& tube : track.tubes)
        for (const TubeEnd* end : {&tube.endA, &tube.endB})
            if (end->kind == TubeEndRailConnector)
                asked.emplace_back(end->group, end->index);
    findRailPoints(std::move(asked));
}

TubeEndPoints::TubeEndPoints(const Track& track, const FooterModelChoices& choices,
                             const SupportChoices& supports)
    : track_(track), freeNodeCount_(track.freeNodes.size())
{
    std::vector<std::pair<std::int32_t, std::int32_t>> asked;
    // Only the rail connectors the walk will ask about: the other ends of served tubes.
    for (const Tube& tube : track.tubes) {
        const std::optional<FooterEnds> ends = servedFooterEnds(tube, track, choices, supports);
        if (ends && ends->other.kind == TubeEndRailConnector)
            asked.emplace_back(ends->other.group, ends->other.index);
    }
    findRailPoints(std::move(asked));
}

void TubeEndPoints::findRailPoints(std::vector<std::pair<std::int32_t, std::int32_t>> asked)
{
    std::sort(asked.begin(), asked.end());
    asked.erase(std::unique(asked.begin(), asked.end()), asked.end());
    railPoints_.reserve(asked.size());
    std::optional<CurveSegment> curve;
    std::int32_t curveGroup = -1;
    for (const auto& [group, index] : asked) {
        if (!hasIndex(track_.groups, group) || !hasCurveSegment(group, track_))
            continue;
        const std::vector<RailConnector>& connectors =
            track_.groups[static_cast<std::size_t>(group)].connectors;
        if (!hasIndex(connectors, index))
            continue;
        if (curveGroup != group) {
            curve.emplace(curveSegment(group, track_));
            curveGroup = group;
        }
        // The connector's position is a fraction of the arc length here, not a curve parameter.
        railPoints_.emplace(
            connectorKey(group, index),
            curve->pointAtLengthFraction(connectors[static_cast<std::size_t>(index)].position));
    }
}

bool endHasPoint(const TubeEnd& end, const Track& track, std::size_t freeNodeCount)
{
    switch (end.kind) {
    case TubeEndFundament: return hasIndex(track.fundaments, end.index);
    case TubeEndFreeNode:
        return end.index >= 0 && static_cast<std::size_t>(end.index) < freeNodeCount;
    case TubeEndRailConnector:
        return hasIndex(track.groups, end.group) && hasCurveSegment(end.group, track) &&
               hasIndex(track.groups[static_cast<std::size_t>(end.group)].connectors, end.index);
    default: return false;
    }
}

std::optional<Vector3> TubeEndPoints::pointOf(const TubeEnd& end)
{
    if (!endHasPoint(end, track_, freeNodeCount_))
        return std::nullopt;
    switch (end.kind) {
    case TubeEndFundament: return track_.fundaments[static_cast<std::size_t>(end.index)].position;
    case TubeEndFreeNode: return track_.freeNodes[static_cast<std::size_t>(end.index)].position;
    default: {
        const auto found = railPoints_.find(connectorKey(end.group, end.index));
        if (found != railPoints_.end())
            return found->second;
        return railConnectorPoint(end.group, end.index);
    }
    }
}

std::optional<Vector3> TubeEndPoints::railConnectorPoint(std::int32_t group,
                                                         std::int32_t index) const
{
    const std::vector<RailConnector>& connectors =
        track_.groups[static_cast<std::size_t>(group)].connectors;
    return curveSegment(group, track_)
        .pointAtLengthFraction(connectors[static_cast<std::size_t>(index)].position);
}

std::uint64_t TubeEndPoints::connectorKey(std::int32_t group, std::int32_t index)
{
    return (std::uint64_t{static_cast<std::uint32_t>(group)} << 32) |
           static_cast<std::uint32_t>(index);
}

TubeEndTable::TubeEndTable(const Track& track)
{
    TubeEndPoints endPoints(track);
    points_.reserve(track.tubes.size());
    for (const Tube& tube : track.tubes)
        points_.push_back({endPoints.pointOf(tube.endA), endPoints.pointOf(tube.endB)});
}

bool TubeEndTable::survivesGenerate(const Track& generated, int freeNodesAdded) const
{
    if (tubeCount() != generated.tubes.size())
        return false;
    const std::size_t firstAdded =
        generated.freeNodes.size() - static_cast<std::size_t>(freeNodesAdded);
    for (std::size_t t = 0; t < generated.tubes.size(); ++t) {
        const Tube& tube = generated.tubes[t];
        for (const bool endB : {false, true}) {
            const TubeEnd& end = endB ? tube.endB : tube.endA;
            if (end.kind != TubeEndFreeNode || end.index < 0 ||
                static_cast<std::size_t>(end.index) < firstAdded ||
                static_cast<std::size_t>(end.index) >= generated.freeNodes.size())
                continue;
            const std::optional<Vector3> known = pointOf(t, endB);
            if (!known || *known != generated.freeNodes[static_cast<std::size_t>(end.index)].position)
                return false;
        }
    }
    return true;
}

}  // namespace pw
