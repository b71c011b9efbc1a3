#include "FooterEnds.h"

#include "TubeEndPoints.h"

#include <algorithm>
#include <cstddef>

namespace pw {

std::optional<FooterEnds> servedFooterEnds(const Tube& tube, const Track& track,
                                           const FooterModelChoices& choices)
{
    const bool onB = tube.endB.kind == TubeEndFundament;
    if (!onB && tube.endA.kind != TubeEndFundament)
        return std::nullopt;
    const std::optional<TubeSizeClass> sizeClass = sizeClassOfCode(tube.sizeClass);
    if (!sizeClass || !choices[static_cast<std::size_t>(*sizeClass)].enabled)
        return std::nullopt;
    const FooterEnds ends = onB ? FooterEnds{TubeSide::B, tube.endB, tube.endA, *sizeClass}
                                : FooterEnds{TubeSide::A, tube.endA, tube.endB, *sizeClass};
    if (!hasIndex(track.fundaments, ends.footer.index))
        return std::nullopt;
    return ends;
}

bool otherEndHasPosition(const FooterEnds& ends)
{
    return ends.other.kind == TubeEndFundament || ends.other.kind == TubeEndFreeNode ||
           ends.other.kind == TubeEndRailConnector;
}

bool anyFooterToPlace(const Track& track, const FooterModelChoices& choices)
{
    return std::any_of(track.tubes.begin(), track.tubes.end(), [&](const Tube& tube) {
        const std::optional<FooterEnds> ends = servedFooterEnds(tube, track, choices);
        return ends && (!otherEndHasPosition(*ends) ||
                        endHasPoint(ends->other, track, track.freeNodes.size()));
    });
}

}  // namespace pw
