#pragma once
// Where the ends of support tubes stand: a fundament's or free node's position, or the point of a
// rail connector taken as a fraction of its segment's arc length.

#include "FooterModelChoice.h"
#include "SupportChoice.h"
#include "geometry/CurveSegment.h"
#include "geometry/Vector3.h"
#include "tracklib/Track.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pw {

template <typename Container>
bool hasIndex(const Container& elements, std::int32_t index)
{
    return index >= 0 && static_cast<std::size_t>(index) < elements.size();
}

// Whether a tube end names an element the track has, of a kind with a position: what
// TubeEndPoints::pointOf answers, asked without finding the point. `freeNodeCount` counts the
// free nodes that may be named (those of the track before a walk adds its own).
bool endHasPoint(const TubeEnd& end, const Track& track, std::size_t freeNodeCount);

// Answers the points of a track's tube ends. Each curve segment walks its whole arc length when
// made, and keeps a length table as long as it lives. So the rail-connector points the footer
// walk will ask for (the far ends of tubes whose footer end stands on a fundament, in a class
// with a footer) are found up front, segment by segment, with one table alive at a time; any
// other rail-connector point is found when asked.
class TubeEndPoints {
public:
    // Every rail-connector end of every tube found up front, as a drawing of all tubes needs.
    explicit TubeEndPoints(const Track& track);
    // Those the footer walk with these choices asks for.
    TubeEndPoints(const Track& track, const FooterModelChoices& choices,
                  const SupportChoices& supports);

    // Nothing when the end names an element the track lacks, or has no kind of position.
    std::optional<Vector3> pointOf(const TubeEnd& end);

private:
    // Finds the points of these (group, connector) pairs, sorted, walking each segment once.
    void findRailPoints(std::vector<std::pair<std::int32_t, std::int32_t>> asked);
    // Of a connector that endHasPoint has found.
    std::optional<Vector3> railConnectorPoint(std::int32_t group, std::int32_t index) const;
    static std::uint64_t connectorKey(std::int32_t group, std::int32_t index);

    const Track& track_;
    // Free nodes the generation adds during its walk must not make a dangling end valid.
    const std::size_t freeNodeCount_;
    std::unordered_map<std::uint64_t, Vector3> railPoints_;  // by connectorKey
};

// Both end points of every tube, worked out once, so that a preview can place the footers again
// and again without walking any curve segment.
class TubeEndTable {
public:
    explicit TubeEndTable(const Track& track);

    std::size_t tubeCount() const { return points_.size(); }
    // As TubeEndPoints::pointOf answered for end A (false) or end B (true) of tube `tube`.
    std::optional<Vector3> pointOf(std::size_t tube, bool endB) const
    {
        return points_[tube][endB ? 1 : 0];
    }
    // Whether this table, worked out before a generate, still holds for the track after it,
    // which ends with the `freeNodesAdded` free nodes the generate added. Generate moves no end:
    // a fundament it replaces becomes a free node at the same place, and removing fundaments
    // renumbers ends without moving them. But an end that named a free node the track lacked
    // may now name one that generate added.
    bool survivesGenerate(const Track& generated, int freeNodesAdded) const;

private:
    std::vector<std::array<std::optional<Vector3>, 2>> points_;
};

}  // namespace pw
