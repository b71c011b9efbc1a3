#pragma once
// Writing a file so that it is either complete or as it was. The new content goes to a temporary
// file in the destination's directory, is flushed to the disk, and is renamed over the
// destination in one step. On Linux the temporary file has no name until it is complete, so a
// process killed while writing leaves nothing behind; elsewhere, and on file systems without
// unnamed files, it is named "<destination>.plinthwright-tmp-<12 hex digits>" and a killed
// process leaves that file, which is safe to delete.

#include "Result.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace pw {

enum class LinkAtDestination {
    Follow,   // the file a symbolic link names is replaced and the link stays (track saves)
    Replace,  // the link itself is replaced and what it names stays untouched (model copies)
};

// Fails (NotARegularFile, saying what it is) where `path` cannot be read or written whole as a
// file, following symbolic links: it exists and is not a regular file (a directory, a FIFO, a
// device, a socket). Passes a regular file, also one that does not exist yet.
Result<void> checkFileKind(const std::filesystem::path& path);

// Writes the content through `writeContent`, which returns false when it fails and leaves the
// reason in errno, and makes it reach the disk. The error is CannotSave, naming no path, with
// errno's reason where there is one.
Result<void> writeToDisk(std::FILE* file, const std::function<bool(std::FILE*)>& writeContent);

// Writes the content as writeToDisk does. An existing destination that is read-only, or not a
// regular file (nor a link, for LinkAtDestination::Replace), is refused and left as it was; a
// replaced file keeps its permissions. On failure the destination is untouched, no temporary file
// remains, and the error is CannotSave on `destination`.
Result<void> replaceFileAtomically(const std::filesystem::path& destination,
                                   LinkAtDestination links,
                                   const std::function<bool(std::FILE*)>& writeContent);

}  // namespace pw
