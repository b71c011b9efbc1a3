#pragma once
// Why a footer model could not be read: what the file is not, and what went wrong reading it.
// The reasons are what the plans name beside a model drawn as the unit square.

#include "tracklib/CoreError.h"

#include <cstdint>

namespace pw {

enum class ModelError {
    // what the file is not
    NotThreeDs,
    BeyondReadingBounds,  // detail: the bound it passes
    ReachesTooFar,        // beyond modelReachMetres
    NotAModelFileName,    // path: the name as a track stores it
    // opening it
    NotFound,
    IsADirectory,
    TooLargeToRead,  // over largestModelFileBytes
    CannotOpen,      // the system's reason, or the detail's
    // reading it in a reader process
    NoMemory,
    NeedsMoreMemory,   // size: the reader's address space in bytes
    OverTime,          // size: the processor seconds a model may take
    ReaderNotStarted,  // detail: why
    ReaderCrashed,     // detail: how, as crashText gives it
    ReaderExited,      // size: its exit code
    ReaderSilent,      // size: the milliseconds it had to answer
    ReaderStoppedAnswering,
    AnswerDamaged,
    AnswerTooLarge,  // the footprint is more than a reader may answer
    ReaderSaid,      // detail: the reader's reason, as it answered it
    Stopped,         // the caller stopped the reading
    NotReadYet,
};

const ErrorRoom& errorRoom(ModelError code);

// "1 GiB", "256 MiB": the figure of an address-space limit as the reasons give it.
std::string memoryFigure(std::uint64_t bytes);

}  // namespace pw
