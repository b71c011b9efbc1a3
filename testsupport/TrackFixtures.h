#pragma once
// Tracks built in code for tests: a new, empty track and a rich one that carries every chunk kind
// with non-trivial values.

#include "tracklib/Track.h"

namespace pw {

// An empty Track filled by newTrack.
Track makeNewTrack();

// A new track plus: slots with Latin-1 texts, 5 vertices, segments of kinds 1, 2, 3, 4 and 6 with
// their connector groups and connectors, 4 fundaments (fundament 1 turned by 0.5 rad), 3 free
// nodes, tubes to every end kind and of every size code 0 to 7, catwalks with bytes, scenery
// items and objects, environment texts, a terrain of 3 rows by 4 columns, sceneryChildCount 1.
// Its chunk lengths match its contents.
Track makeRichTrack();

}  // namespace pw
