#include "OsSeam.h"

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace pw::bench {

std::int64_t peakResidentBytes()
{
#if defined(_WIN32)
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return static_cast<std::int64_t>(counters.PeakWorkingSetSize);
#else
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return 0;
#if defined(__APPLE__)
    return static_cast<std::int64_t>(usage.ru_maxrss);  // bytes there
#else
    return static_cast<std::int64_t>(usage.ru_maxrss) * 1024;  // kilobytes here
#endif
#endif
}

#if defined(_WIN32)
double childrenProcessorSeconds() { return 0.0; }
std::int64_t childrenPeakResidentBytes() { return 0; }
#else
double childrenProcessorSeconds()
{
    rusage usage{};
    if (getrusage(RUSAGE_CHILDREN, &usage) != 0)
        return 0.0;
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

std::int64_t childrenPeakResidentBytes()
{
    rusage usage{};
    if (getrusage(RUSAGE_CHILDREN, &usage) != 0)
        return 0;
#if defined(__APPLE__)
    return static_cast<std::int64_t>(usage.ru_maxrss);
#else
    return static_cast<std::int64_t>(usage.ru_maxrss) * 1024;
#endif
}
#endif

bool syncToDisk(std::FILE* file)
{
    if (std::fflush(file) != 0)
        return false;
#if defined(_WIN32)
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
#else
    return ::fsync(::fileno(file)) == 0;
#endif
}

}  // namespace pw::bench
