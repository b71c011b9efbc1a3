#pragma once
// How many bytes a track holds in memory.

#include "tracklib/Track.h"

#include <cstddef>

namespace pw::bench {

// The record itself, every array's capacity and every text kept outside its string object.
std::size_t recordBytes(const Track& track);

}  // namespace pw::bench
