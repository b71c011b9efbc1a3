#pragma once
// How a fuzz target reports a broken promise: the check's words on standard error, then an
// abort, which libFuzzer takes for a crash and keeps the input of.

#include <cstdio>
#include <cstdlib>
#include <string>

namespace pw::hardening {

// Returns 0, libFuzzer's "go on", when `failure` is empty.
inline int stopOnFailure(const std::string& failure)
{
    if (!failure.empty()) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        std::abort();
    }
    return 0;
}

}  // namespace pw::hardening
