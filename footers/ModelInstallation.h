#pragma once
// Copies the chosen footer models into the simulator's objects directory.

#include "FooterModelChoice.h"
#include "tracklib/Result.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pw {

// The largest footer model a generation copies. Real ones are a few hundred kilobytes; the cap
// keeps a huge (or sparse) file from filling the simulator's disk.
inline constexpr std::uintmax_t largestModelCopyBytes = std::uintmax_t{256} << 20;

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
};

// Creates nolimitsDir + "/objects" and nolimitsDir + "/objects/" + objectDirectoryName one level
// at a time when missing, then copies each enabled class's model file from the source directory
// to that directory as "fundament-" + model file, overwriting. Stops at the first failure. A model
// larger than largestModelCopyBytes is refused before any directory is made or file copied.
Result<ModelInstallation> installFooterModels(const FooterModelChoices& choices,
                                              const std::filesystem::path& nolimitsDirectory,
                                              const std::filesystem::path& objectDirectoryName,
                                              const std::filesystem::path& modelSourceDirectory);

// What generate would copy, checked before anything is made: a model directory is chosen and is
// a directory, some class has a model ticked, and every ticked model is there. Generating without
// these would make an empty directory and place nothing, or fail half-way.
Result<void> checkModelsToInstall(const FooterModelChoices& choices,
                                  const std::filesystem::path& modelSourceDirectory);

// Refuses a model directory that is not a directory (NotADirectory).
Result<void> checkModelDirectory(const std::filesystem::path& modelSourceDirectory);

// Whether the model source directory holds `modelFile` as a regular file (a directory of that
// name is no model). The window and the command line decide the classes' own models by it.
bool hasModelFile(const std::filesystem::path& modelSourceDirectory, const std::string& modelFile);

// Which of the six model files a model directory holds. A class whose own model is there gets it
// ticked; the default model can be chosen once it is there.
struct ModelDirectoryContents {
    std::array<bool, sizeClassCount> ownModel{};  // by TubeSizeClass
    bool defaultModel = false;
};
ModelDirectoryContents inspectModelDirectory(const std::filesystem::path& modelSourceDirectory);

// Copies one file, replacing an existing destination (or a link standing there) in one step:
// afterwards the destination holds the earlier file or the whole copy, never a part. Returns why
// not when it could not; a source over largestModelCopyBytes (or growing past it) is not copied.
Result<void> copyModelFile(const std::filesystem::path& source,
                           const std::filesystem::path& destination);

}  // namespace pw
