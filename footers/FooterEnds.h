#pragma once
// Which end of a support tube receives a footer, and of which class's model, under the chosen
// models and the choices for single supports.

#include "FooterModelChoice.h"
#include "SupportChoice.h"
#include "tracklib/Track.h"
#include "tracklib/TrackOperations.h"

#include <optional>

namespace pw {

struct FooterEnds {
    TubeSide footerSide;
    TubeEnd footer;  // stands on a fundament of the track
    TubeEnd other;
    TubeSizeClass sizeClass;  // whose model the footer gets: the tube's, or its support's choice
    bool chosenForSupport;    // the support's own choice gave it another class's model
};

// The end standing on a fundament (end B when both do) of a tube with a size class whose footer
// has a model: its support's chosen class's, or else its own class's. None when the tube gets no
// footer: no class, no model, or its support chosen to have none. The walk and the search for rail
// points ahead of it ask the same question, so they cannot disagree about which ends are served.
std::optional<FooterEnds> servedFooterEnds(const Tube& tube, const Track& track,
                                           const FooterModelChoices& choices,
                                           const SupportChoices& supports);

// Whether the tube would get a footer of its class's model but for its support's choice of none.
bool leftOutBySupport(const Tube& tube, const Track& track, const FooterModelChoices& choices,
                      const SupportChoices& supports);

// Whether the other end of served ends gives the footer its turn or tilt: a fundament, a free node
// or a rail connector. An end of another kind leaves the footer upright.
bool otherEndHasPosition(const FooterEnds& ends);

// Served ends where the walk places a footer: the other end is of no positioned kind, or names an
// element the track has.
std::optional<FooterEnds> placedFooterEnds(const Tube& tube, const Track& track,
                                           const FooterModelChoices& choices,
                                           const SupportChoices& supports);

// Whether generating with these choices would place any footer on the track. Asked before
// anything is installed, so that nothing is installed for nothing.
bool anyFooterToPlace(const Track& track, const FooterModelChoices& choices,
                      const SupportChoices& supports);

}  // namespace pw
