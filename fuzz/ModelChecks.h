#pragma once
// What must hold for a footer model read from any bytes, for the model fuzzer and its regression
// test.

#include <cstdint>
#include <span>
#include <string>

namespace pw::hardening {

// Reads the bytes as a 3ds model as the reader does, through its answer; the first broken promise
// of the footprint, or "".
std::string checkModelFootprint(std::span<const std::uint8_t> bytes);

}  // namespace pw::hardening
