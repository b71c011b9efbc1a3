#include "FooterEnds.h"

#include "TubeEndPoints.h"

#include <algorithm>
#include <cstddef>

namespace pw {

namespace {

struct FundamentEnd {
    TubeSide side;
    TubeEnd footer;
    TubeEnd other;
    TubeSizeClass sizeClass;
};

// The end standing on a fundament of the track, of a tube with a size class.
std::optional<FundamentEnd> fundamentEndOf(const Tube& tube, const Track& track)
{
    const bool onB = tube.endB.kind == TubeEndFundament;
    if (!onB && tube.endA.kind != TubeEndFundament)
        return std::nullopt;
    const std::optional<TubeSizeClass> sizeClass = sizeClassOfCode(tube.sizeClass);
    if (!sizeClass)
        return std::nullopt;
    const FundamentEnd end = onB ? FundamentEnd{TubeSide::B, tube.endB, tube.endA, *sizeClass}
                                 : FundamentEnd{TubeSide::A, tube.endA, tube.endB, *sizeClass};
    if (!hasIndex(track.fundaments, end.footer.index))
        return std::nullopt;
    return end;
}

bool hasModel(const FooterModelChoices& choices, TubeSizeClass sizeClass)
{
    return choices[static_cast<std::size_t>(sizeClass)].enabled;
}

}  // namespace

std::optional<FooterEnds> servedFooterEnds(const Tube& tube, const Track& track,
                                           const FooterModelChoices& choices,
                                           const SupportChoices& supports)
{
    const std::optional<FundamentEnd> end = fundamentEndOf(tube, track);
    if (!end)
        return std::nullopt;
    TubeSizeClass sizeClass = end->sizeClass;
    bool chosen = false;
    if (const SupportChoice* support = supports.find(end->footer.index)) {
        if (!support->model)
            return std::nullopt;
        chosen = *support->model != sizeClass;
        sizeClass = *support->model;
    }
    if (!hasModel(choices, sizeClass))
        return std::nullopt;
    return FooterEnds{end->side, end->footer, end->other, sizeClass, chosen};
}

bool leftOutBySupport(const Tube& tube, const Track& track, const FooterModelChoices& choices,
                      const SupportChoices& supports)
{
    const std::optional<FundamentEnd> end = fundamentEndOf(tube, track);
    if (!end || !hasModel(choices, end->sizeClass))
        return false;
    const SupportChoice* support = supports.find(end->footer.index);
    return support != nullptr && !support->model;
}

bool otherEndHasPosition(const FooterEnds& ends)
{
    return ends.other.kind == TubeEndFundament || ends.other.kind == TubeEndFreeNode ||
           ends.other.kind == TubeEndRailConnector;
}

std::optional<FooterEnds> placedFooterEnds(const Tube& tube, const Track& track,
                                           const FooterModelChoices& choices,
                                           const SupportChoices& supports)
{
    std::optional<FooterEnds> ends = servedFooterEnds(tube, track, choices, supports);
    if (ends && otherEndHasPosition(*ends) &&
        !endHasPoint(ends->other, track, track.freeNodes.size()))
        return std::nullopt;
    return ends;
}

bool anyFooterToPlace(const Track& track, const FooterModelChoices& choices,
                      const SupportChoices& supports)
{
    return std::any_of(track.tubes.begin(), track.tubes.end(), [&](const Tube& tube) {
        return placedFooterEnds(tube, track, choices, supports).has_value();
    });
}

}  // namespace pw
