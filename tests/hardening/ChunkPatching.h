#pragma once
// Damaging written track files in place: find a chunk by its tag and overwrite its fields.

#include "tracklib/Track.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace pw::hardening {

using Bytes = std::vector<std::uint8_t>;

// Offset of the first occurrence of `tag`; throws std::out_of_range when there is none.
std::size_t tagOffset(const Bytes& bytes, std::string_view tag);

// Big-endian, as in the file.
void putInt32(Bytes& bytes, std::size_t offset, std::int32_t value);
void appendFloat32(Bytes& bytes, float value);

// The longest list or text of the record: a reader that sized a list from a count it could not
// back with bytes shows up here.
std::size_t longestList(const Track& track);

}  // namespace pw::hardening
