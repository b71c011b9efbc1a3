#pragma once
// What a model reader may spend: the one place these figures are set (docs/robustness.md states
// them). The reader runs in a process of its own, which the window and the command line end when
// it goes over any of them; that model is then drawn as the 1 m square.

#include <chrono>
#include <cstdint>

namespace pw {

// An unoptimised or sanitised build reads models several times slower: its readers get five
// times the time, so that its tests read the models a release build reads well within the limits.
#ifdef PLINTHWRIGHT_SLOW_READER
inline constexpr int readerTimeFactor = 5;
#else
inline constexpr int readerTimeFactor = 1;
#endif

struct ReaderLimits {
    int processorSeconds = 2 * readerTimeFactor;                  // per model
    std::uint64_t addressSpaceBytes = 1ull << 30;                 // the whole reader's
    std::chrono::milliseconds deadline{5000 * readerTimeFactor};  // per model, by the clock
    int modelsPerReader = 32;  // then the next model starts a fresh reader
};

// The environment variable that sets other limits, for tests and for models that need more:
// "SECONDS,MEBIBYTES,MILLISECONDS" (processor time, address space, deadline).
inline constexpr const char* readerLimitsVariable = "PLINTHWRIGHT_MODEL_READER_LIMITS";

// ReaderLimits, or what the variable sets where it holds three whole numbers above zero.
ReaderLimits standardReaderLimits();

}  // namespace pw
