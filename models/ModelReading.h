#pragma once
// Reading a footer model's bytes into its footprint, in this process: our own chunk walk, then
// assimp, the outline and the meshes. The reader program runs it; the window and the command line
// never do (ModelReaderClient.h), and the model fuzzer does through the reader's whole answer.

#include "ModelFootprint.h"

#include <cstdint>
#include <span>

namespace pw {

// Never throws but std::bad_alloc. A file that is empty, not a model, over the bounds of
// screenThreeDs or reaching beyond modelReachMetres gives the unit square and the problem. At most
// mostOutlinePoints points are kept: an even sample of the outline's where it has more.
ModelFootprint modelFootprintOf(std::span<const std::uint8_t> file);

}  // namespace pw
