#pragma once
// Chunk lengths of what the reader could not take whole. A chunk whose decoding stopped early
// lost the elements it could not read, and a text holding a zero byte loses its tail when
// written: the lengths as read would claim bytes that are not written.

#include "ChunkTags.h"
#include "Track.h"

#include <array>

namespace pw {

// The texts of the record that hold a zero byte, where writing will cut them.
int textsCutAtZero(const Track& track);

// Gives each chunk whose last occurrence was cut short (by tag number), and each chunk with a
// text cut at a zero byte, the length of what is written; every other chunk keeps its length.
void fixLengthsOfDamagedChunks(const std::array<bool, TagEnvironment + 1>& cutShort, Track& track);

}  // namespace pw
