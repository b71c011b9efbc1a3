#pragma once
// The whole track record as one JSON object, keys named as the record's fields.

#include <functional>
#include <string>
#include <string_view>

namespace pw {

struct Track;

// Int8 values sign-extended, flags as 0 or 1 (as a file stores them), texts read as Latin-1,
// floats as their shortest round-trip decimal. Ends with a newline.
std::string trackToJson(const Track& track);

// The same text handed to `sink` in pieces as it is made.
void writeTrackJson(const Track& track, const std::function<void(std::string_view)>& sink);

}  // namespace pw
