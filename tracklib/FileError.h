#pragma once
// The failures of opening and saving files, tracks above all.

#include "CoreError.h"

namespace pw {

enum class FileError {
    // opening a file
    CannotOpen,
    OpenedADirectory,
    FileTooLarge,    // size: the file's size in bytes
    StreamTooLarge,  // size: the most a track may hold
    NoMemoryToRead,
    NoTrackData,  // nothing in the file was recognised
    // saving a file
    CannotSave,
    // what stands at a path, before it is opened or saved
    NotARegularFile,  // detail: what it is instead
};

const ErrorRoom& errorRoom(FileError code);

}  // namespace pw
