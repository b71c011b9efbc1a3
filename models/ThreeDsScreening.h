#pragma once
// Our own walk of a 3ds file's chunk tree, before assimp sees any of it. Only the chunks that
// place and shape meshes are kept, each checked against its own bytes and rewritten with its
// length; everything else is left out. Little-endian: a chunk is a 2-byte id, a 4-byte length
// that counts its own 6-byte header, then its body.
//
// The bounds keep the reading that follows short in time, memory and stack: assimp builds its
// node tree from the keyframer recursively and searches it once per node.

#include "ModelError.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pw {

// The largest model file read. Real footer models are a few hundred kilobytes; anything far
// beyond is no footer, and a hostile file must not keep the reader busy for long.
inline constexpr std::size_t largestModelFileBytes = std::size_t{16} << 20;

inline constexpr std::size_t mostThreeDsChunks = 65536;  // chunks walked in one file
inline constexpr std::size_t mostKeyframerNodes = 512;   // more, and the keyframer is left out
// Over all meshes, each counted as often as keyframer nodes place it.
inline constexpr std::size_t mostModelVertices = 131072;
inline constexpr std::size_t mostModelFaces = 131072;
inline constexpr int deepestThreeDsChunk = 6;  // main, editor, object, mesh, faces, smoothing
// Assimp smooths every mesh's normals by a sort that compares each vertex with all corners at
// about its distance along one axis: this many comparisons take it about a tenth of a second.
inline constexpr std::uint64_t mostSmoothingComparisons = 100'000'000;

struct ScreenedModel {
    std::vector<std::uint8_t> bytes;  // the kept chunks; empty when the model is refused
    // Why it was refused: NotThreeDs, or BeyondReadingBounds with the bound it passes.
    std::optional<CoreError> refusal;
    bool smoothingGroups = false;     // some mesh gives its faces smoothing groups
    bool keyframerLeftOut = false;    // it held more than mostKeyframerNodes nodes
    std::size_t vertices = 0;
    std::size_t faces = 0;
};

// Never throws but std::bad_alloc. Refuses a file whose chunks do not nest within their parents,
// that holds no vertex, or that is over one of the bounds.
ScreenedModel screenThreeDs(std::span<const std::uint8_t> file);

}  // namespace pw
