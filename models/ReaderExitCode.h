#pragma once
// How a model reader program ends.

namespace pw {

enum ReaderExitCode : int {
    readerFinished = 0,      // its input ended, or it said it ran out of memory
    readerDamaged = 2,       // a damaged request, or an answer it could not write
    readerNotStarted = 127,  // it could not be set up to run, and never ran
};

}  // namespace pw
