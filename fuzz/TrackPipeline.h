#pragma once
// The road of a downloaded track file: read, generate footers, write, read again.

#include "SimulatorSandbox.h"

#include <cstdint>
#include <span>
#include <string>

namespace pw::hardening {

// Reads `bytes`, generates footers into the sandbox with `variant` and checks that the result
// reads back to the same record. Returns an empty text when all went well, otherwise what failed.
std::string checkReadGenerateWrite(std::span<const std::uint8_t> bytes,
                                   const SimulatorSandbox& sandbox,
                                   const GenerationVariant& variant);

}  // namespace pw::hardening
