#include "MetricLine.h"

#include <charconv>
#include <cstdio>

namespace pw::bench {

void printMetric(const std::string& track, const std::string& name, double value)
{
    // As %.6g in the C locale, whatever locale Qt has set: scripts read these lines.
    char number[32];
    const auto end =
        std::to_chars(number, number + sizeof number, value, std::chars_format::general, 6).ptr;
    std::printf("metric %s %s %.*s\n", track.c_str(), name.c_str(), static_cast<int>(end - number),
                number);
    std::fflush(stdout);
}

}  // namespace pw::bench
