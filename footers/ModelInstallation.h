#pragma once
// Copies the chosen footer models into the simulator's objects directory.

#include "FooterModelChoice.h"

#include <filesystem>
#include <string>

namespace pw {

struct InstallResult {
    bool ok = false;
    std::string error;  // what failed and why, naming the path
    int filesCopied = 0;
};

// Creates nolimitsDir + "/objects" and nolimitsDir + "/objects/" + objectDirectoryName one level
// at a time when missing, then copies each enabled class's model file from the source directory
// to that directory as "fundament-" + model file, overwriting. Stops at the first failure.
InstallResult installFooterModels(const FooterModelChoices& choices,
                                  const std::filesystem::path& nolimitsDirectory,
                                  const std::filesystem::path& objectDirectoryName,
                                  const std::filesystem::path& modelSourceDirectory);

// Whether the model source directory holds `modelFile` as a regular file (a directory of that
// name is no model). The window and the command line decide the classes' own models by it.
bool hasModelFile(const std::filesystem::path& modelSourceDirectory, const std::string& modelFile);

// Copies one file, replacing an existing destination (or a link standing there) in one step:
// afterwards the destination holds the earlier file or the whole copy, never a part. Returns
// false with the reason in `error`.
bool copyModelFile(const std::filesystem::path& source, const std::filesystem::path& destination,
                   std::string* error);

}  // namespace pw
