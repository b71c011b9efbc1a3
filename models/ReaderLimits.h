#pragma once
// What a model reader may spend: the one place these figures are set (docs/robustness.md states
// them). The reader runs in a process of its own, which the window and the command line end when
// it goes over any of them; that model is then drawn as the 1 m square.

#include <chrono>
#include <cstdint>

namespace pw {

struct ReaderLimits {
    int processorSeconds = 2;                         // per model
    std::uint64_t addressSpaceBytes = 1ull << 30;    // the reader's whole address space
    std::chrono::milliseconds deadline{5000};         // per model by the clock, answer included
    int modelsPerReader = 32;                         // then the next model starts a fresh reader
};

}  // namespace pw
