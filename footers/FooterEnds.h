#pragma once
// Which end of a support tube receives a footer, under the chosen models.

#include "FooterModelChoice.h"
#include "tracklib/Track.h"
#include "tracklib/TrackOperations.h"

#include <optional>

namespace pw {

struct FooterEnds {
    TubeSide footerSide;
    TubeEnd footer;  // stands on a fundament of the track
    TubeEnd other;
    TubeSizeClass sizeClass;
};

// The end standing on a fundament (end B when both do) of a tube whose size class has a model
// chosen; none when the tube gets no footer. The walk and the search for rail points ahead of
// it ask the same question, so they cannot disagree about which ends are served.
std::optional<FooterEnds> servedFooterEnds(const Tube& tube, const Track& track,
                                           const FooterModelChoices& choices);

// Whether the other end of served ends gives the footer its turn or tilt: a fundament, a free node
// or a rail connector. An end of another kind leaves the footer upright.
bool otherEndHasPosition(const FooterEnds& ends);

// Whether generating with these choices would place any footer on the track: a served end whose
// other end is of no positioned kind, or names an element the track has. Asked before anything
// is installed, so that nothing is installed for nothing.
bool anyFooterToPlace(const Track& track, const FooterModelChoices& choices);

}  // namespace pw
