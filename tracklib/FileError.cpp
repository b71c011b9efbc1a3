#include "FileError.h"

namespace pw {

namespace {

std::string ownReason(const CoreError& error)
{
    switch (error.code.as<FileError>()) {
    case FileError::CannotOpen: return "it cannot be opened for reading";
    case FileError::OpenedADirectory: return "it is a directory";
    case FileError::FileTooLarge:
        return "at " + std::to_string(error.size) + " bytes it is too large for a track file";
    case FileError::StreamTooLarge:
        return "it holds more than " + std::to_string(error.size) +
               " bytes, too large for a track file";
    case FileError::NoMemoryToRead: return "not enough memory to read it";
    case FileError::NoTrackData: return "it holds no track data";
    case FileError::NotARegularFile: return "it is not a regular file";
    case FileError::CannotSave: break;
    }
    return "failed";
}

std::string reason(const CoreError& error) { return detailOr(error, ownReason(error)); }

std::string text(const CoreError& error)
{
    switch (error.code.as<FileError>()) {
    case FileError::CannotOpen:
    case FileError::OpenedADirectory:
    case FileError::FileTooLarge:
    case FileError::StreamTooLarge:
    case FileError::NoMemoryToRead:
    case FileError::NoTrackData:
        return "Cannot open " + quotedPath(error.path) + ": " + errorReason(error);
    case FileError::CannotSave:
        return "Cannot save " + quotedPath(error.path) + ": " + errorReason(error);
    case FileError::NotARegularFile: break;
    }
    return "Cannot use " + quotedPath(error.path) + ": " + errorReason(error);
}

constexpr ErrorRoom files{text, reason};

}  // namespace

const ErrorRoom& errorRoom(FileError) { return files; }

}  // namespace pw
