#pragma once
// The files and options of a footer generation as the window usually runs it.

#include "footers/FooterGeneration.h"

#include <filesystem>

namespace pw::bench {

// A scratch directory below the system's temporary directory, created when missing.
std::filesystem::path scratchDirectory();

// The six sample footer models ("small.3ds" ... "default.3ds") in `directory`.
void writeSampleModels(const std::filesystem::path& directory);

// Every class enabled (own models for small to large, the default model above), native
// fundaments replaced, models aligned to their tubes; sample models written and installed
// below `scratch`.
GenerationOptions footerOptions(const std::filesystem::path& scratch);

// Every class on its own model at its natural size, for placing footers without copying any.
GenerationOptions everyClassOnItsOwnModel();

}  // namespace pw::bench
