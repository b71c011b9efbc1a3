#pragma once
// The one kind of failure the core reports: what failed, on which path, and the system's reason.
// The front ends show errorText to their users; nothing else words a failure.

#include <filesystem>
#include <string>
#include <system_error>

namespace pw {

enum class ErrorCode {
    CannotCreateDirectory,     // path: the directory
    CannotCopy,                // path: the source, otherPath: the destination
    ObjectDirectoryNotLatin1,  // path: the name as given
    ObjectDirectoryNotInside,  // path: the name as given
};

struct CoreError {
    ErrorCode code = ErrorCode::CannotCreateDirectory;
    std::filesystem::path path;
    std::error_code system;  // the system's reason, where it gave one
    std::filesystem::path otherPath;
};

// One sentence naming the path and the reason, e.g. Cannot create directory "/sim/objects": ...
std::string errorText(const CoreError& error);

}  // namespace pw
