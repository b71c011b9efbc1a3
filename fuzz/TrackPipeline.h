#pragma once
// The road of a downloaded track file: read, generate footers, write, read again.

#include "SimulatorSandbox.h"

#include <cstdint>
#include <span>
#include <string>

namespace pw::hardening {

// Reads `bytes` and checks that the track saves and reads back unchanged, then the same for a
// copy of it with footers generated into the sandbox by each of `variants`, and that undoing
// each generation gives back the bytes saved before it and redoing it those after (for a variant
// keeping the fundaments, also of generating again replacing the footers). Returns an empty
// text when all went well, otherwise what failed.
std::string checkReadGenerateWrite(std::span<const std::uint8_t> bytes,
                                   const SimulatorSandbox& sandbox,
                                   std::span<const GenerationVariant> variants);

}  // namespace pw::hardening
