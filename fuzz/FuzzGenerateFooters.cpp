// Any bytes, read as a track, then footers generated with every size class enabled, replacing
// and aligning both ways, own and default models: nothing may crash, and every generated track
// must write and read back unchanged.

#include "SimulatorSandbox.h"
#include "StopOnFailure.h"
#include "TrackPipeline.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

// Made once per process: creating directories and models for every input would swamp the run.
std::unique_ptr<pw::hardening::SimulatorSandbox> sandbox;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    sandbox = std::make_unique<pw::hardening::SimulatorSandbox>();
    // Removes the sandbox on the fuzzer's ordinary exit as well.
    std::atexit([] { sandbox.reset(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return pw::hardening::stopOnFailure(pw::hardening::checkReadGenerateWrite(
        {data, size}, *sandbox, pw::hardening::pairwiseVariants));
}
