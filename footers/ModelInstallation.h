#pragma once
// Copies the checked footer models into the simulator's objects directory, all or nothing.

#include "FooterError.h"
#include "ModelsToInstall.h"
#include "tracklib/Result.h"

#include <filesystem>
#include <string>
#include <vector>

namespace pw {

class InstallationChange;

// One model put in place.
struct CopiedModel {
    std::string modelFile;              // "small.3ds"
    std::filesystem::path destination;  // the copy
    // A file of other content stood there before, such as another track's model of the same
    // name: the tracks that named it now get this one.
    bool replacedDifferent = false;
};

struct ModelInstallation {
    std::filesystem::path directory;  // where the models went
    std::vector<CopiedModel> copied;  // in class order, each file once
    // Models beyond what our own reading takes (ModelBeyondReadingBounds), installed all the same.
    std::vector<CoreError> warnings;
};

// Puts each model into nolimitsDir + "/objects/" + objectDirectoryName as "fundament-" + its
// file, creating objects (one level: the NoLimits directory must exist) and that directory when
// missing; other files there stay. Before anything is made, refuses what checkInstallTarget
// refuses, and a destination that is not a regular file or link (CannotCopy) or is read-only.
// The copies are written whole into a temporary directory inside objects and then moved into
// place, each replacing its destination in one step (a link there is replaced, not followed).
// When a copy fails, nothing was moved, and the temporary directory, and directories this call
// made, are gone again. Models are copied from what openModelsToInstall opened and checked.
// With `change`, what the copies replace is noted there, so that they can be undone; on failure
// that change is to be dropped.
Result<ModelInstallation> installFooterModels(std::vector<ModelToInstall> models,
                                              const std::filesystem::path& nolimitsDirectory,
                                              const std::filesystem::path& objectDirectoryName,
                                              InstallationChange* change = nullptr);

}  // namespace pw
