// Any bytes, read as a footer model the way the reader process reads one for the plan and the 3D
// view: our own chunk walk, assimp, the outline and the meshes, then its answer encoded and
// decoded as the window and the command line take it. Nothing may crash, and the footprint keeps
// its promises.

#include "ModelChecks.h"
#include "StopOnFailure.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return pw::hardening::stopOnFailure(pw::hardening::checkModelFootprint({data, size}));
}
