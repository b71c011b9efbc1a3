#pragma once
// The demo track: a small closed circuit whose supports show every case the footer generation
// meets.

#include "tracklib/Track.h"

namespace pw {

// Ten segments on an oval 120 m by 70 m, heights between 5 and 25 m, the last vertex on the
// first. Two rail connectors per segment, each carrying a support down to the ground (y = 0):
// most stand straight on one fundament, two bend at a free node, one is an A-frame on two
// fundaments. Tube size codes follow the height, so every size class occurs; two fundaments
// carry a turn of their own.
Track makeDemoTrack();

}  // namespace pw
