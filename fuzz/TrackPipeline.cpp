#include "TrackPipeline.h"

#include "RoundTrip.h"
#include "footers/FooterGeneration.h"
#include "footers/FooterStep.h"
#include "tracklib/TrackFile.h"

namespace pw::hardening {
namespace {

std::string describe(const GenerationVariant& variant)
{
    return std::string(variant.ownModels ? "own" : "default") + " models, " +
           (variant.replaceFundaments ? "replacing" : "keeping") + " fundaments, " +
           (variant.alignToTangent ? "aligned" : "turned");
}

// Undone, the track saves the bytes it saved before the step; done again, those after it.
std::string checkRevertedAndReapplied(TrackChange& change, Track& track,
                                      const std::vector<std::uint8_t>& before)
{
    const std::vector<std::uint8_t> after = encodeTrack(track);
    change.revert(track);
    if (encodeTrack(track) != before) {
        return "undone, the track does not save what it saved before";
    }
    change.reapply(track);
    if (encodeTrack(track) != after) {
        return "done again, the track does not save what it saved after";
    }
    return {};
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
    const std::vector<std::uint8_t> asRead = encodeTrack(read);
    for (const GenerationVariant& variant : variants) {
        Track track = read;
        // Every model is in the sandbox, so the installation cannot be what fails. A track on
        // which nothing would be placed is refused, and stays as it was.
        GenerationOptions options = sandbox.options(variant);
        Result<FooterStep> step = generateFooterStep(track, options);
        if (!step.ok() && step.error().code == FooterError::NothingToPlace) {
            // Compared as written: a NaN read from the file is not equal to itself.
            if (encodeTrack(track) != asRead) {
                return describe(variant) + ": refused, yet the track changed";
            }
            continue;
        }
        if (!step.ok()) {
            return describe(variant) + ": generation failed: " + errorText(step.error());
        }
        if (std::string failure = checkWrittenTrackReadsBack(track); !failure.empty()) {
            return describe(variant) + ": after generation: " + failure;
        }
        if (std::string failure = checkRevertedAndReapplied(step->track, track, asRead);
            !failure.empty()) {
            return describe(variant) + ": " + failure;
        }
        // Generated with the fundaments kept, the footers can be replaced by generating again.
        if (!variant.replaceFundaments) {
            options.earlierFooters = EarlierFooters::Replace;
            const std::vector<std::uint8_t> generated = encodeTrack(track);
            Result<FooterStep> again = generateFooterStep(track, options);
            if (!again.ok()) {
                return describe(variant) + ": replacing failed: " + errorText(again.error());
            }
            if (std::string failure = checkRevertedAndReapplied(again->track, track, generated);
                !failure.empty()) {
                return describe(variant) + ", replacing: " + failure;
            }
        }
    }
    return {};
}

}  // namespace pw::hardening
