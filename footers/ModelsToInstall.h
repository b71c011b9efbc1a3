#pragma once
// The footer models a generation installs, each opened once and checked before anything is made
// or copied: a 3ds file within the copy cap. The copy reads what was opened here, so what is
// installed is what was checked, whatever the name has become by then (another file, a FIFO).

#include "FooterError.h"
#include "FooterModelChoice.h"
#include "tracklib/RegularFile.h"
#include "tracklib/Result.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pw {

// The largest footer model a generation copies. Real ones are a few hundred kilobytes; the cap
// keeps a huge (or sparse) file from filling the simulator's disk.
inline constexpr std::uintmax_t largestModelCopyBytes = std::uintmax_t{256} << 20;

struct ModelToInstall {
    std::string modelFile;              // "small.3ds"
    std::filesystem::path source;       // in the model directory
    std::vector<std::uint8_t> bytes;    // as read for the check: the whole file unless `rest`
    std::optional<RegularFile> rest;    // a larger model, open where `bytes` end
    std::optional<CoreError> warning;   // ModelBeyondReadingBounds: installed all the same
};

// The models of the enabled classes in class order, classes on the same model sharing one.
// Refuses, in this order: what checkModelsChosen refuses; then, for each model, one that is not
// there (ModelMissing),
// cannot be opened as a regular file (CannotOpen, OpenedADirectory), is larger than
// largestModelCopyBytes (ModelTooLargeToCopy) or is no 3ds model (ModelNotThreeDs). A 3ds model
// beyond the bounds of our own reading is taken, with a warning: the simulator may read it. A
// model is checked whole up to largestModelFileBytes, the largest the plans read; a larger one
// by the header of its main chunk alone.
Result<std::vector<ModelToInstall>> openModelsToInstall(
    const FooterModelChoices& choices, const std::filesystem::path& modelSourceDirectory);

}  // namespace pw
