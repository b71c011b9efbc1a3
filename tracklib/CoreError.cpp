#include "CoreError.h"

#include "PathText.h"

#include <cerrno>
#include <ostream>

namespace pw {

namespace {

std::string quoted(const std::filesystem::path& path)
{
    return "\"" + pathText(path) + "\"";
}

// Our own words for a failure the system gave no reason for.
std::string ownReason(const CoreError& error)
{
    switch (error.code) {
    case ErrorCode::CannotOpen: return "it cannot be opened for reading";
    case ErrorCode::OpenedADirectory: return "it is a directory";
    case ErrorCode::FileTooLarge:
        return "at " + std::to_string(error.size) + " bytes it is too large for a track file";
    case ErrorCode::NoMemoryToRead: return "not enough memory to read it";
    case ErrorCode::ReadOnlyFile: return "the file is read-only";
    case ErrorCode::CannotCreateFile: return "the file cannot be created";
    case ErrorCode::CannotWriteFile: return "writing failed";
    case ErrorCode::CannotCloseFile: return "closing failed";
    default: return "failed";
    }
}

std::string reason(const CoreError& error)
{
    return error.system ? error.system.message() : ownReason(error);
}

}  // namespace

std::error_code errnoCode()
{
    return errno != 0 ? std::error_code(errno, std::generic_category()) : std::error_code();
}

std::string errorText(const CoreError& error)
{
    switch (error.code) {
    case ErrorCode::CannotOpen:
    case ErrorCode::OpenedADirectory:
    case ErrorCode::FileTooLarge:
    case ErrorCode::NoMemoryToRead:
        return "Cannot open " + quoted(error.path) + ": " + reason(error);
    case ErrorCode::ReadOnlyFile:
    case ErrorCode::CannotCreateFile:
    case ErrorCode::CannotWriteFile:
    case ErrorCode::CannotCloseFile:
    case ErrorCode::CannotReplaceFile:
        return "Cannot save " + quoted(error.path) + ": " + reason(error);
    case ErrorCode::CannotCreateDirectory:
        return "Cannot create directory " + quoted(error.path) + ": " + reason(error);
    case ErrorCode::CannotCopy:
        return "Cannot copy " + quoted(error.path) + " to " + quoted(error.otherPath) + ": " +
               reason(error);
    case ErrorCode::ObjectDirectoryNotLatin1:
        return "Cannot store the object directory name " + quoted(error.path) +
               " in the track: a track holds Latin-1 characters only (letters of Western European "
               "languages, digits and punctuation)";
    case ErrorCode::ObjectDirectoryNotInside:
        return "Cannot use the object directory name " + quoted(error.path) +
               ": it must name one directory inside the simulator's objects directory (no / or \\, "
               "and not . or ..)";
    }
    return quoted(error.path) + ": " + reason(error);
}

std::ostream& operator<<(std::ostream& out, const CoreError& error)
{
    return out << errorText(error);
}

}  // namespace pw
