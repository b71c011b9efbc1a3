#include "FooterStep.h"

#include "ModelsToInstall.h"
#include "tracklib/TrackOperations.h"

#include <utility>

namespace pw {

Result<FooterStep> generateFooterStep(Track& track, const GenerationOptions& options)
{
    Result<std::vector<ModelToInstall>> models = modelsToGenerateWith(track, options);
    if (!models)
        return models.error();

    // Watching from before anything changes, so that the snapshot it takes cannot fail halfway.
    TrackChangeRecorder recorder(track);
    FooterStep step;
    Result<ModelInstallation> installed =
        installFooterModels(std::move(*models), options.nolimitsDirectory,
                            objectDirectoryPath(options.objectDirectory), &step.installation);
    if (!installed)
        return installed.error();
    step.report.installation = std::move(*installed);

    recorder.takeSceneryObjects(earlierFootersToRemove(track, options, step.report), track);
    std::vector<std::size_t> removedFundaments = placeFooters(track, options, step.report);
    step.track = recorder.finish(track, std::move(removedFundaments));
    return step;
}

std::vector<CoreError> undoFooterStep(FooterStep& step, Track& track)
{
    step.track.revert(track);
    return step.installation.undo();
}

std::vector<CoreError> redoFooterStep(FooterStep& step, Track& track)
{
    std::vector<CoreError> left = step.installation.redo();
    step.track.reapply(track);
    return left;
}

}  // namespace pw
