#pragma once
// Copies the chosen footer models into the simulator's objects directory.

#include "FooterModelChoice.h"
#include "tracklib/CoreError.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace pw {

// The largest footer model a generation copies. Real ones are a few hundred kilobytes; the cap
// keeps a huge (or sparse) file from filling the simulator's disk.
inline constexpr std::uintmax_t largestModelCopyBytes = std::uintmax_t{256} << 20;

struct InstallResult {
    bool ok = false;
    CoreError error;  // what failed and why, when !ok
    int filesCopied = 0;
};

// Creates nolimitsDir + "/objects" and nolimitsDir + "/objects/" + objectDirectoryName one level
// at a time when missing, then copies each enabled class's model file from the source directory
// to that directory as "fundament-" + model file, overwriting. Stops at the first failure. A model
// larger than largestModelCopyBytes is refused before any directory is made or file copied.
InstallResult installFooterModels(const FooterModelChoices& choices,
                                  const std::filesystem::path& nolimitsDirectory,
                                  const std::filesystem::path& objectDirectoryName,
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

// Copies one file, replacing an existing destination (or a link standing there) in one step:
// afterwards the destination holds the earlier file or the whole copy, never a part. Returns why
// not when it could not; a source over largestModelCopyBytes (or growing past it) is not copied.
std::optional<CoreError> copyModelFile(const std::filesystem::path& source,
                                       const std::filesystem::path& destination);

}  // namespace pw
