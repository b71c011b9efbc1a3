#pragma once
// What the window and the command line ask a model reader and what it answers, through the
// reader's standard input and output. Every value is little-endian, floats in IEEE single
// precision; a text is its length (u32) and its bytes.
//
// A request: "PWMQ", the protocol version (u32), the processor seconds the model may take (u32),
// the length of the model file (u32), then the file's bytes.
// An answer: "PWMA", the version (u32), the length of the rest (u32), then the outcome (u8) and,
// for a model read, whether it is readable (u8), the problem (text), its bounds (6 f32), the
// outline points (count, then 3 f32 each), the meshes (count, then for each its positions with
// their normals (count, then 6 f32 each), its indices (count, then u32 each) and its placements
// (count, then 16 f32 each)), and the warnings (count, then texts).
//
// Whoever reads an answer takes it for hostile: every count is bounded before anything is
// allocated, and an answer that breaks a bound or a promise of ModelFootprint is refused whole.

#include "ModelFootprint.h"
#include "ThreeDsScreening.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pw {

inline constexpr std::uint32_t readerProtocolVersion = 1;
inline constexpr std::size_t readerRequestHeaderBytes = 16;
inline constexpr std::size_t readerAnswerHeaderBytes = 12;

// What an answer may hold. Assimp gives every face three vertices of its own, so the walk's face
// bound (instances counted) bounds the positions, drawn or held, and the places of meshes.
inline constexpr std::size_t mostAnswerTextBytes = 1024;
inline constexpr std::size_t mostAnswerWarnings = 16;
inline constexpr std::size_t mostAnswerPositions = 3 * mostModelFaces;
inline constexpr std::size_t mostAnswerPlacements = mostModelFaces;
inline constexpr std::size_t largestReaderAnswerBytes =
    readerAnswerHeaderBytes + 2 + (4 + mostAnswerTextBytes) + 6 * 4 + 4 + 12 * mostOutlinePoints +
    4 + mostAnswerPlacements * 12 + mostAnswerPositions * (24 + 4) + mostAnswerPlacements * 64 + 4 +
    mostAnswerWarnings * (4 + mostAnswerTextBytes);

enum class ReaderOutcome : std::uint8_t {
    Read = 1,         // the footprint says what was read, or why not
    OutOfMemory = 2,  // the reader ran out of its address space on this model
};

struct ReaderRequest {
    std::uint32_t processorSeconds = 0;
    std::uint32_t fileBytes = 0;
};

struct ReaderAnswer {
    ReaderOutcome outcome = ReaderOutcome::Read;
    ModelFootprint footprint;
};

std::array<std::uint8_t, readerRequestHeaderBytes> encodeRequestHeader(ReaderRequest request);
// Nothing for another protocol or version, or a file over largestModelFileBytes.
std::optional<ReaderRequest> decodeRequestHeader(
    std::span<const std::uint8_t, readerRequestHeaderBytes> header);

// The whole answer. A footprint beyond what an answer may hold is answered as the unit square
// that says so; texts are cut to mostAnswerTextBytes, warnings to mostAnswerWarnings.
std::vector<std::uint8_t> encodeAnswer(const ReaderAnswer& answer);
// The length of the answer's rest; nothing for another protocol or version, or a length over
// largestReaderAnswerBytes.
std::optional<std::uint32_t> decodeAnswerHeader(
    std::span<const std::uint8_t, readerAnswerHeaderBytes> header);
// Nothing when the rest is cut short or longer than what it counts, goes over a bound above, or
// holds what no footprint holds: a value that is not finite, a point or bound beyond
// modelReachMetres, a readable model without a point, a count of indices not a multiple of three
// or an index past its positions, a placement whose last row is not 0, 0, 0, 1, or more positions
// drawn (each mesh's times its placements) than mostAnswerPositions.
// An unreadable model comes back as the unit square with its problem.
std::optional<ReaderAnswer> decodeAnswerBody(std::span<const std::uint8_t> body);

}  // namespace pw
