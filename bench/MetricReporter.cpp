#include "MetricReporter.h"

namespace pw::bench {

void MetricReporter::ReportRuns(const std::vector<Run>& runs)
{
    for (const Run& run : runs) {
        const bool fastest = run.run_type == Run::RT_Aggregate && run.aggregate_name == "min";
        if (run.error_occurred || run.iterations == 0 ||
            (run.run_type != Run::RT_Iteration && !fastest))
            continue;
        // The benchmark's own name, without "/real_time" and the like.
        std::string name = run.run_name.function_name;
        if (!run.run_name.args.empty())
            name += "/" + run.run_name.args;
        Measured& m = measured_[name];
        if (m.fastest && !fastest)
            continue;
        m.fastest = fastest;
        m.secondsPerIteration = run.real_accumulated_time / static_cast<double>(run.iterations);
        m.counters.clear();
        for (const auto& [counterName, counter] : run.counters)
            m.counters[counterName] = counter.value;
        const auto bytes = m.counters.find("file_bytes");
        m.bytesPerSecond = bytes != m.counters.end() && m.secondsPerIteration > 0.0
                               ? bytes->second / m.secondsPerIteration
                               : 0.0;
    }
    ConsoleReporter::ReportRuns(runs);
}

const MetricReporter::Measured* MetricReporter::find(const std::string& name) const
{
    const auto it = measured_.find(name);
    return it == measured_.end() ? nullptr : &it->second;
}

std::optional<double> MetricReporter::megabytesPerSecond(const std::string& name) const
{
    const Measured* m = find(name);
    if (!m || m->bytesPerSecond <= 0.0)
        return std::nullopt;
    return m->bytesPerSecond / 1e6;
}

void MetricReporter::printTrackMetrics(const std::string& track) const
{
    const auto rate = [&](const std::string& name) {
        return megabytesPerSecond(name + "/" + track);
    };
    const auto printRate = [&](const std::string& metric, const std::string& name) {
        if (const auto r = rate(name))
            printMetric(track, metric, *r);
    };
    const auto printRatio = [&](const std::string& metric, const std::string& name,
                                const std::string& reference) {
        const auto r = rate(name);
        const auto base = rate(reference);
        if (r && base)
            printMetric(track, metric, *r / *base);
    };
    const auto printMilliseconds = [&](const std::string& metric, const std::string& name) {
        if (const Measured* m = find(name + "/" + track))
            printMetric(track, metric, m->secondsPerIteration * 1e3);
    };

    printRatio("read_ratio", "read-file", "raw-copy");
    printRatio("write_ratio", "write-file", "raw-copy");
    printRatio("write_ratio_synced", "write-file", "raw-copy-synced");
    printRatio("round_trip_ratio", "round-trip", "raw-copy");
    printRate("read_mb_s", "read-file");
    printRate("write_mb_s", "write-file");
    printRate("read_memory_mb_s", "read-memory");
    printRate("encode_mb_s", "encode");
    printRate("round_trip_mb_s", "round-trip");
    printRate("raw_copy_mb_s", "raw-copy");
    printRate("raw_copy_synced_mb_s", "raw-copy-synced");
    printRate("raw_read_mb_s", "raw-read");
    printRate("raw_write_mb_s", "raw-write");
    if (const Measured* m = find("read-file/" + track)) {
        if (const auto bytes = m->counters.find("file_bytes"); bytes != m->counters.end())
            printMetric(track, "file_mb", bytes->second / 1e6);
    }
    // The window's four actions: load reads the file, save writes it.
    printMilliseconds("load_ms", "read-file");
    printMilliseconds("inspect_ms", "inspect");
    printMilliseconds("generate_ms", "generate");
    printMilliseconds("save_ms", "write-file");
    if (const Measured* m = find("generate/" + track)) {
        const auto tubes = m->counters.find("tubes");
        if (tubes != m->counters.end() && tubes->second > 0.0)
            printMetric(track, "generate_us_per_tube",
                        m->secondsPerIteration * 1e6 / tubes->second);
        if (const auto footers = m->counters.find("footers"); footers != m->counters.end())
            printMetric(track, "footers", footers->second);
    }
}

// Time per element with 8192 elements over time per element with 1024: about 1 when adding
// is linear, about 8 when every add copies the whole array.
void MetricReporter::printGrowth(const std::string& name) const
{
    const Measured* few = find(name + "/1024");
    const Measured* many = find(name + "/8192");
    if (few && many && few->secondsPerIteration > 0.0)
        printMetric("all", name + "_growth",
                    (many->secondsPerIteration / 8192.0) / (few->secondsPerIteration / 1024.0));
}

void MetricReporter::printMetrics() const
{
    for (const char* track : {"realistic", "large", "large-clustered"})
        printTrackMetrics(track);
    printGrowth("add-scenery-objects");
    printGrowth("add-free-nodes");
}

}  // namespace pw::bench
