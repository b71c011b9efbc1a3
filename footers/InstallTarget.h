#pragma once
// Where the footer models of one object directory go, and the rule that keeps them inside the
// NoLimits directory: objects and objects/NAME are real directories there, never a symbolic link
// (or a junction) and never resolving elsewhere. The NoLimits directory itself may be a link: it
// is the user's own choice.

#include "FooterError.h"
#include "tracklib/Result.h"

#include <filesystem>

namespace pw {

struct InstallTarget {
    std::filesystem::path nolimits;   // as the user gave it
    std::filesystem::path objects;    // nolimits + "/objects"
    std::filesystem::path directory;  // objects + "/" + the object directory name
};

// Whether anything stands at `path`, a link that leads nowhere included.
bool entryExists(const std::filesystem::path& path);

InstallTarget installTargetIn(const std::filesystem::path& nolimitsDirectory,
                              const std::filesystem::path& objectDirectoryName);

// Checked before anything is made: objects and the model directory, those of them that exist,
// lie inside as above (DirectoryIsALink, DirectoryOutsideNolimits; a file in their place gives
// CannotCreateDirectory), and the name fits the file system (ObjectDirectoryTooLong).
Result<void> checkInstallTarget(const InstallTarget& target);

// That `directory` exists as a real directory right inside `parent`, whose own place the caller
// has checked; asked again right before a directory is used, since it may have changed since.
Result<void> checkDirectoryInside(const std::filesystem::path& directory,
                                  const std::filesystem::path& parent,
                                  const std::filesystem::path& nolimitsDirectory);

}  // namespace pw
