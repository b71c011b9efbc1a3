#pragma once
// The checks every damaged or hostile track file goes through in these tests.

#include "ChunkPatching.h"
#include "SimulatorSandbox.h"

#include <filesystem>
#include <span>
#include <string>

namespace pw::hardening {

// Reads `bytes` and checks that no list outgrew what the bytes could hold, that the track as
// read saves and reads back unchanged and that, with each of `variants`, so does the track with
// footers generated. Returns an empty text, or what failed.
std::string checkDamagedBytes(const Bytes& bytes, const SimulatorSandbox& sandbox,
                              std::span<const GenerationVariant> variants = pairwiseVariants);

// Saves `bytes` as `path` and checks that reading the file reports success.
std::string checkFileOpens(const Bytes& bytes, const std::filesystem::path& path);

void writeBytes(const std::filesystem::path& path, const Bytes& bytes);
Bytes readBytes(const std::filesystem::path& path);

}  // namespace pw::hardening
