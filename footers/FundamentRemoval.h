#pragma once
// Removal of many fundaments at once.

#include <vector>

namespace pw {

struct Track;

// Removes the fundaments at `indices` (distinct, each naming a fundament of the track, in any
// order) in one pass over the fundaments and the tubes. The record ends up as after removeFundament
// for each of them in turn, each index first lowered by the removals of smaller ones: the other
// fundaments keep their order, and a fundament end naming i afterwards names i minus the number
// of removed indices below i.
void removeFundaments(std::vector<int> indices, Track& track);

}  // namespace pw
