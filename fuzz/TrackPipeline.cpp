#include "TrackPipeline.h"

#include "RoundTrip.h"
#include "footers/FooterGeneration.h"
#include "tracklib/TrackFile.h"

namespace pw::hardening {
namespace {

std::string describe(const GenerationVariant& variant)
{
    return std::string(variant.ownModels ? "own" : "default") + " models, " +
           (variant.replaceFundaments ? "replacing" : "keeping") + " fundaments, " +
           (variant.alignToTangent ? "aligned" : "turned");
}

}  // namespace

std::string checkReadGenerateWrite(std::span<const std::uint8_t> bytes,
                                   const SimulatorSandbox& sandbox,
                                   std::span<const GenerationVariant> variants)
{
    Track read;
    readTrackBytes(bytes, read);
    if (std::string failure = checkWrittenTrackReadsBack(read); !failure.empty()) {
        return "as read: " + failure;
    }
    for (const GenerationVariant& variant : variants) {
        Track track = read;
        // Every model is in the sandbox, so the installation cannot be what fails. A track on
        // which nothing would be placed is refused, and stays as it was.
        const Result<GenerationReport> report = generateFooters(track, sandbox.options(variant));
        if (!report.ok() && report.error().code == FooterError::NothingToPlace) {
            // Compared as written: a NaN read from the file is not equal to itself.
            if (encodeTrack(track) != encodeTrack(read)) {
                return describe(variant) + ": refused, yet the track changed";
            }
            continue;
        }
        if (!report.ok()) {
            return describe(variant) + ": generation failed: " + errorText(report.error());
        }
        if (std::string failure = checkWrittenTrackReadsBack(track); !failure.empty()) {
            return describe(variant) + ": after generation: " + failure;
        }
    }
    return {};
}

}  // namespace pw::hardening
