#pragma once
// The footer model directory the user chose: which of the six model files it holds, looked at by
// name. What generate installs is opened and checked by ModelsToInstall instead.

#include "FooterModelChoice.h"
#include "FooterError.h"
#include "tracklib/Result.h"

#include <array>
#include <filesystem>
#include <string>

namespace pw {

// The model file `modelFile` of the directory: directory + "/" + file, joined as text like every
// other name the user gave, so that what is looked at is what gets copied.
std::filesystem::path modelFilePath(const std::filesystem::path& modelSourceDirectory,
                                    const std::string& modelFile);

// Refuses a model directory that is not a directory (NotADirectory).
Result<void> checkModelDirectory(const std::filesystem::path& modelSourceDirectory);

// That a model directory is chosen (NoModelDirectory), is a directory (NotADirectory) and that
// some class has a model (NoModelChosen): asked first, as it costs nothing.
Result<void> checkModelsChosen(const FooterModelChoices& choices,
                               const std::filesystem::path& modelSourceDirectory);

// The choices' side of what generate refuses, by name only, for a preview: checkModelsChosen,
// then a chosen model not there as a regular file (ModelMissing). Generate refuses the same and
// more.
Result<void> checkModelsToInstall(const FooterModelChoices& choices,
                                  const std::filesystem::path& modelSourceDirectory);

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

}  // namespace pw
