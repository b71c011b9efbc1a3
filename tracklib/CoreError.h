#pragma once
// The one kind of failure the core reports: what failed, on which path, and the system's reason.
// The front ends show errorText to their users; nothing else words a failure.

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <system_error>

namespace pw {

enum class ErrorCode {
    // opening a track file
    CannotOpen,
    OpenedADirectory,
    FileTooLarge,    // size: the file's size in bytes
    StreamTooLarge,  // size: the most a track may hold
    NoMemoryToRead,
    NoTrackData,  // nothing in the file was recognised
    // saving a track file or a plan
    CannotSave,
    PlanFormatUnknown,   // path: the picture; a plan is .svg or .png
    PlanSvgUnavailable,  // path: the picture; this build writes PNG only
    // installing the footer models
    CannotCreateDirectory,
    CannotCopy,           // path: the source, otherPath: the destination
    ModelTooLargeToCopy,  // path: the source, size: its size in bytes, detail: the reason
    NoMemoryToGenerate,
    DirectoryIsALink,         // path: objects or its model directory, otherPath: the NoLimits one
    DirectoryOutsideNolimits,  // path: objects or its model directory, otherPath: the NoLimits one
    // what generate would install and place
    ModelNotThreeDs,            // path: the model file, detail: why, where more can be said
    ModelBeyondReadingBounds,   // a warning; path: the model file, detail: the bound it passes
    NothingToPlace,             // no tube of a class with a model stands on a fundament
    // what generate would copy
    NotADirectory,     // path: the directory given
    NoModelDirectory,  // no footer model directory chosen
    NoModelChosen,     // path: the model directory; no size class has a model chosen
    ModelMissing,      // path: the chosen model file, not in the model directory
    // the object directory name, as given
    ObjectDirectoryNotLatin1,
    ObjectDirectoryNotInside,
    ObjectDirectoryNotForWindows,
    ObjectDirectoryEmpty,
    ObjectDirectoryTooLong,  // path: the name, size: the most bytes this file system takes
};

struct CoreError {
    ErrorCode code = ErrorCode::CannotOpen;
    std::filesystem::path path;  // empty: standard input
    std::error_code system;      // the system's reason, where it gave one
    std::filesystem::path otherPath;
    std::uint64_t size = 0;
    std::string detail;  // our own reason, where the system gave none
};

// The system's reason for the errno of a failed C library call, none when errno is 0.
std::error_code errnoCode();

// One sentence naming the path and the reason, e.g. Cannot save "/t/a.nltrack": Permission denied.
std::string errorText(const CoreError& error);
std::ostream& operator<<(std::ostream& out, const CoreError& error);
// The reason alone, for a caller that names the path itself.
std::string errorReason(const CoreError& error);

}  // namespace pw
