#pragma once
// The benchmarks' only calls into the operating system beyond the C and C++ libraries.

#include <cstdint>
#include <cstdio>

namespace pw::bench {

// The process's peak resident memory so far, in bytes; 0 where the platform does not say.
std::int64_t peakResidentBytes();

// The processor time (user and system) of the child processes waited for so far, in seconds, and
// the peak resident memory of the largest of them, in bytes; 0 where the platform does not say.
double childrenProcessorSeconds();
std::int64_t childrenPeakResidentBytes();

// Flushes the file's written bytes through to the disk, as a durable save does.
bool syncToDisk(std::FILE* file);

}  // namespace pw::bench
