#pragma once
// The chunk tags the reader recognises, by their fixed numbers. "CSTM" and "vrtx" are written but
// never read, so they have no number.

#include <array>

namespace pw {

enum ChunkTag : int {
    TagNone = 0,
    TagFileHeader = 1,       // "NLIM"
    TagTrackHeader = 2,      // "TRCK"
    TagInfo = 3,             // "INFO"
    TagVertices = 4,         // "BEZR"
    TagSegments = 5,         // "SEGM"
    TagSupports = 6,         // "SUPP"
    TagFundaments = 7,       // "FUND"
    TagRailConnectors = 8,   // "RASC"
    TagFreeNodes = 9,        // "FREN"
    TagTubes = 10,           // "TUBE"
    TagCatwalks = 11,        // "CATW"
    TagScenery = 12,         // "SCEN"
    TagSceneryObjects = 13,  // "SCOB"
    TagTerrain = 14,         // "TERA"
    TagEnvironment = 15,     // "ENVC"
};

// Indexed by tag number; entry 0 is unused.
inline constexpr std::array<const char*, 16> chunkTagNames{
    "",     "NLIM", "TRCK", "INFO", "BEZR", "SEGM", "SUPP", "FUND",
    "RASC", "FREN", "TUBE", "CATW", "SCEN", "SCOB", "TERA", "ENVC"};

}  // namespace pw
