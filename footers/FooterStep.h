#pragma once
// A generation as one step that can be undone and done again exactly: what it did to the track and
// what it did to the simulator's objects directory, kept beside its report.

#include "FooterGeneration.h"
#include "InstallationChange.h"
#include "tracklib/TrackChange.h"

#include <cstddef>

namespace pw {

struct FooterStep {
    GenerationReport report;
    // Reverted, the track saves the bytes it saved before the generation; its removedFundaments()
    // are the supports that got a footer and lost their fundament, for renumbering what is kept
    // per support (SupportChoices::afterFundamentsRemoved).
    TrackChange track;
    InstallationChange installation;

    // What the step holds in memory beyond its own object and the report.
    std::size_t heldBytes() const { return track.heldBytes() + installation.heldBytes(); }
};

// generateFooters, refusing the same in the same order, also noting what it changes. On failure
// the track and the objects directory are as they were.
Result<FooterStep> generateFooterStep(Track& track, const GenerationOptions& options);

// A step taken back: the track reverted, then the model copies undone. Gives the files left as they
// stood (InstallationChange::undo).
std::vector<CoreError> undoFooterStep(FooterStep& step, Track& track);
// The step done again on the track it was taken back from: the model copies made again first, so
// that the track never names a copy that is not there, then the track reapplied.
std::vector<CoreError> redoFooterStep(FooterStep& step, Track& track);

}  // namespace pw
