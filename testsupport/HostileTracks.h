#pragma once
// Track files that are accepted (under the size limit, recognisable chunks) but shaped to cost
// the reader, the generation or a command as much as possible per byte. Built in code; the same
// shape and size always give the same bytes. Shared by the benchmarks, the tests and the fuzz
// seed corpus.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pw {

enum class HostileShape {
    EmptySegments,         // one segment chunk of kind-0 segments, 37 bytes each
    RepeatedTerrain,       // terrain chunks of one grid value each, 93 bytes apiece
    RepeatedTrackHeaders,  // track headers claiming 2^31 - 1 slots, the first slot's text of
                           // negative length, 32 bytes apiece
    TubesOverSegments,     // tubes from fundaments to one rail connector on every segment,
                           // every segment asked for once, then all of them again
};

inline constexpr HostileShape allHostileShapes[] = {
    HostileShape::EmptySegments, HostileShape::RepeatedTerrain, HostileShape::RepeatedTrackHeaders,
    HostileShape::TubesOverSegments};

std::string hostileShapeName(HostileShape shape);  // "empty-segments", ...

// A file of the shape of about `size` bytes, beginning with a new track's file.
std::vector<std::uint8_t> makeHostileTrack(HostileShape shape, std::size_t size);

}  // namespace pw
