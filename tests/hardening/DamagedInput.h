#pragma once
// Damaging track files and the checks every damaged or hostile file goes through in these tests.

#include "fuzz/SimulatorSandbox.h"
#include "testsupport/InputFiles.h"
#include "tracklib/Track.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pw::hardening {

using Bytes = std::vector<std::uint8_t>;

// Offset of the first occurrence of `tag`; throws std::out_of_range when there is none.
std::size_t tagOffset(const Bytes& bytes, std::string_view tag);

// Big-endian, as in the file: the int32 `offsetFromTag` bytes past the first `tag`.
void putInt32(Bytes& bytes, std::string_view tag, std::size_t offsetFromTag, std::int32_t value);
void appendFloat32(Bytes& bytes, float value);

// The longest list or text of the record: a reader that sized a list from a count it could not
// back with bytes shows up here.
std::size_t longestList(const Track& track);

// Reads `bytes` and checks that no list outgrew what the bytes could hold, that the track as
// read saves and reads back unchanged and that, with each of `variants`, so does the track with
// footers generated. Returns an empty text, or what failed.
std::string checkDamagedBytes(const Bytes& bytes, const SimulatorSandbox& sandbox,
                              std::span<const GenerationVariant> variants = pairwiseVariants);

// Saves `bytes` as `path` and checks that reading the file reports success.
std::string checkFileOpens(const Bytes& bytes, const std::filesystem::path& path);

}  // namespace pw::hardening
