#include "MetricLine.h"

#include <cstdio>

namespace pw::bench {

void printMetric(const std::string& track, const std::string& name, double value)
{
    std::printf("metric %s %s %.6g\n", track.c_str(), name.c_str(), value);
    std::fflush(stdout);
}

}  // namespace pw::bench
