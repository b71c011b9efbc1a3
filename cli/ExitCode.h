#pragma once
// How plinthwright-cli ends: every command returns one of these.

namespace pw {

enum ExitCode : int {
    exitSuccess = 0,
    exitFailure = 1,  // a file could not be read, written, created or copied, or generate refused
    exitUsage = 2,    // the command line itself is wrong
};

}  // namespace pw
