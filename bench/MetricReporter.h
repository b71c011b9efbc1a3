#pragma once
// Turns the runs of the track benchmarks into the figures of scripts/bench.sh's table.

#include "MetricLine.h"

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pw::bench {

// Reports as the console reporter does and keeps each run, to derive the table's figures. Where
// a benchmark was repeated, its "min" statistic (the fastest repetition) stands for it.
class MetricReporter : public benchmark::ConsoleReporter {
public:
    MetricReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override;
    // Throughputs (MB = 10^6 bytes), their ratios to the raw copy, the window actions' times,
    // the generation's time per tube and how adding elements grows with their number.
    void printMetrics() const;

private:
    struct Measured {
        double secondsPerIteration = 0.0;
        double bytesPerSecond = 0.0;
        bool fastest = false;
        std::map<std::string, double> counters;
    };
    const Measured* find(const std::string& name) const;
    std::optional<double> megabytesPerSecond(const std::string& name) const;
    void printTrackMetrics(const std::string& track) const;
    void printGrowth(const std::string& name) const;

    std::map<std::string, Measured> measured_;
};

}  // namespace pw::bench
