#pragma once
// The plan fuzzer's check, also run by the tests on its former crash inputs.

#include <cstdint>
#include <span>
#include <string>

namespace pw::hardening {

// Reads `bytes` as a track and draws its plan from above and from the front, at the whole view and
// zoomed far in, into one strip of a small image, then writes its tubes and markers straight into
// the same strip. Empty when no pixel outside the strip changed; else what went wrong.
std::string checkPlanStrips(std::span<const std::uint8_t> bytes);

}  // namespace pw::hardening
