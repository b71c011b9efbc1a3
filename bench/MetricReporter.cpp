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

void MetricReporter::printTrackMetrics(const std::string& track) const
{
    const auto megabytesPerSecond = [&](const std::string& name) {
        const Measured* m = find(name + "/" + track);
        return m ? m->bytesPerSecond / 1e6 : 0.0;
    };
    const auto milliseconds = [&](const std::string& name) {
        const Measured* m = find(name + "/" + track);
        return m ? m->secondsPerIteration * 1e3 : 0.0;
    };
    const double rawCopy = megabytesPerSecond("raw-copy");
    const double rawCopySynced = megabytesPerSecond("raw-copy-synced");
    const double read = megabytesPerSecond("read-file");
    const double write = megabytesPerSecond("write-file");
    const double roundTrip = megabytesPerSecond("round-trip");
    if (const Measured* m = find("read-file/" + track))
        printMetric(track, "file_mb", m->bytesPerSecond * m->secondsPerIteration / 1e6);
    if (rawCopySynced > 0.0)
        printMetric(track, "write_ratio_synced", write / rawCopySynced);
    if (rawCopy > 0.0) {
        printMetric(track, "read_ratio", read / rawCopy);
        printMetric(track, "write_ratio", write / rawCopy);
        printMetric(track, "round_trip_ratio", roundTrip / rawCopy);
    }
    printMetric(track, "read_mb_s", read);
    printMetric(track, "write_mb_s", write);
    printMetric(track, "read_memory_mb_s", megabytesPerSecond("read-memory"));
    printMetric(track, "encode_mb_s", megabytesPerSecond("encode"));
    printMetric(track, "round_trip_mb_s", roundTrip);
    printMetric(track, "raw_copy_mb_s", rawCopy);
    printMetric(track, "raw_copy_synced_mb_s", rawCopySynced);
    printMetric(track, "raw_read_mb_s", megabytesPerSecond("raw-read"));
    printMetric(track, "raw_write_mb_s", megabytesPerSecond("raw-write"));
    printMetric(track, "load_ms", milliseconds("read-file"));
    printMetric(track, "inspect_ms", milliseconds("inspect"));
    printMetric(track, "generate_ms", milliseconds("generate"));
    printMetric(track, "save_ms", milliseconds("write-file"));
    if (const Measured* m = find("generate/" + track)) {
        const auto tubes = m->counters.find("tubes");
        if (tubes != m->counters.end() && tubes->second > 0.0)
            printMetric(track, "generate_us_per_tube", m->secondsPerIteration * 1e6 / tubes->second);
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
    for (const char* track : {"realistic", "large"})
        printTrackMetrics(track);
    if (const Measured* m = find("generate/large-clustered"))
        printMetric("large-clustered", "generate_ms", m->secondsPerIteration * 1e3);
    printGrowth("add-scenery-objects");
    printGrowth("add-free-nodes");
}

}  // namespace pw::bench
