#pragma once
// The directory inside the simulator's objects directory that receives the footer models, and
// the names generated scenery objects give their models.

#include "FooterModelChoice.h"
#include "FooterError.h"
#include "tracklib/Result.h"

#include <filesystem>
#include <optional>
#include <string>

namespace pw {

// Every copied model and every stored model path starts its file name with this.
inline constexpr const char* footerModelPrefix = "fundament-";

// The name as the track stores it (Latin-1 bytes).
struct ObjectDirectory {
    std::string name;
    friend bool operator==(const ObjectDirectory&, const ObjectDirectory&) = default;
};

// Why a Latin-1 name cannot be an object directory: an empty one, one holding '/' or '\', or
// being "." or "..", would put the models somewhere other than one directory inside objects; one
// that Windows cannot hold (< > : " | ? *, control characters, a dot or space at the end, more
// than 255 characters, CON, NUL, COM1 ...) would leave the simulator without its models.
Result<void> checkObjectDirectoryName(const std::string& latin1Name);

// The simulator's objects directory: nolimitsDirectory + "/objects", joined as text so that the
// directory is used exactly as the user gave it. Every stored model path is relative to it.
std::filesystem::path objectsDirectory(const std::filesystem::path& nolimitsDirectory);
// The directory the models of an object directory name go to: objectsDirectory + "/" + name.
std::filesystem::path modelDirectoryIn(const std::filesystem::path& nolimitsDirectory,
                                       const std::filesystem::path& objectDirectoryName);

// The same name for the file system: each Latin-1 byte is the character of that number.
std::filesystem::path objectDirectoryPath(const ObjectDirectory& directory);

// What a generated scenery object stores: NAME + "/fundament-" + model file.
std::string storedModelPath(const ObjectDirectory& directory, const std::string& modelFile);

// The model file a stored path names after its last "/fundament-", none when the object is no
// footer (any other scenery object).
std::optional<std::string> footerModelFileOf(const std::string& storedPath);

// The name proposed for a track file: its file name up to the first dot ("my.coaster.nltrack"
// gives "my"), as UTF-8.
std::string proposedObjectDirectoryName(const std::filesystem::path& trackFile);

}  // namespace pw
