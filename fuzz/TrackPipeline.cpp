#include "TrackPipeline.h"

#include "RoundTrip.h"
#include "footers/FooterGeneration.h"
#include "tracklib/TrackFile.h"

namespace pw::hardening {

std::string checkReadGenerateWrite(std::span<const std::uint8_t> bytes,
                                   const SimulatorSandbox& sandbox,
                                   const GenerationVariant& variant) {
    Track track;
    readTrackBytes(bytes, track);
    if (std::string failure = checkWrittenTrackReadsBack(track); !failure.empty()) {
        return "as read: " + failure;
    }
    // Every model is in the sandbox, so the installation cannot be what fails.
    const GenerationReport report = generateFooters(track, sandbox.options(variant));
    if (!report.ok) {
        return "generation failed: " + report.error;
    }
    if (std::string failure = checkWrittenTrackReadsBack(track); !failure.empty()) {
        return "after generation: " + failure;
    }
    return {};
}

}  // namespace pw::hardening
