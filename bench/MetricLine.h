#pragma once
// One figure for scripts/bench.sh's table, printed as "metric <track> <name> <value>".

#include <string>

namespace pw::bench {

void printMetric(const std::string& track, const std::string& name, double value);

}  // namespace pw::bench
