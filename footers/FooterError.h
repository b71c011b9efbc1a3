#pragma once
// The footers' failures: what generate refuses, where the footer models go, and their copies.

#include "tracklib/CoreError.h"

namespace pw {

enum class FooterError {
    // installing the footer models
    CannotCreateDirectory,
    CannotCopy,           // path: the source, otherPath: the destination
    ModelTooLargeToCopy,  // path: the source, size: its size in bytes, detail: the reason
    NoMemoryToGenerate,
    DirectoryIsALink,          // path: objects or its model directory, otherPath: the NoLimits one
    DirectoryOutsideNolimits,  // path: objects or its model directory, otherPath: the NoLimits one
    // what generate would install and place
    ModelNotThreeDs,           // path: the model file
    ModelBeyondReadingBounds,  // a warning; path: the model file, detail: the bound it passes
    NothingToPlace,            // no tube of a class with a model stands on a fundament
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

const ErrorRoom& errorRoom(FooterError code);

}  // namespace pw
