#pragma once
// The footers' failures: what generate refuses, where the footer models go, and their copies.

#include "tracklib/CoreError.h"

#include <cstddef>
#include <cstdint>

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
    // replacing: size: how many footers placed before stand where no fundament is left
    EarlierFootersNotOnFundaments,
    SupportNotInTrack,      // size: the index chosen for, as int64 bits; see supportNotInTrack
    SupportModelNotChosen,  // size: the fundament index, detail: the class label
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
    // undoing and redoing a generation's model copies; warnings, the file left as it stands
    ModelChangedSince,    // path: the file, changed by someone else since the step left it
    ModelNotKeptForUndo,  // path: the file, size: the bytes it would have needed kept
    CannotRestoreModel,   // path: the file
};

const ErrorRoom& errorRoom(FooterError code);

// SupportNotInTrack for a choice naming fundament `index` of a track of `fundamentCount`.
CoreError supportNotInTrack(std::int64_t index, std::size_t fundamentCount);

}  // namespace pw
