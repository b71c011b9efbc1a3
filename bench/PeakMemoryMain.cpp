// bench_peak_memory <track name> <file>: reads the file once, as the window's "load" does, and
// prints how far that raised the process's peak resident memory, next to what the record holds;
// then generates the footers, as "generate" does, and prints how far that raised it further;
// then what one undo step of a generation keeps in memory.
// Runs as a process of its own, so nothing else has raised the peak before.

#include "FooterRunSetup.h"
#include "MetricLine.h"
#include "OsSeam.h"
#include "RecordSize.h"

#include "footers/FooterGeneration.h"
#include "footers/FooterStep.h"
#include "tracklib/TrackFile.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_peak_memory <track name> <track file>\n");
        return 2;
    }
    const std::string name = argv[1];
    const std::filesystem::path file = argv[2];

    const std::int64_t before = pw::bench::peakResidentBytes();
    pw::Track track;
    if (!pw::readTrackFile(file, track)) {
        std::fprintf(stderr, "cannot open %s\n", file.string().c_str());
        return 1;
    }
    const std::int64_t after = pw::bench::peakResidentBytes();

    const double record = static_cast<double>(pw::bench::recordBytes(track));
    const double peak = static_cast<double>(after - before);
    pw::bench::printMetric(name, "record_mb", record / 1e6);
    pw::bench::printMetric(name, "peak_read_mb", peak / 1e6);
    pw::bench::printMetric(name, "peak_ratio", record > 0.0 ? peak / record : 0.0);
    pw::bench::printMetric(name, "process_peak_mb", static_cast<double>(after) / 1e6);

    const pw::GenerationOptions options = pw::bench::footerOptions(pw::bench::scratchDirectory());
    const std::int64_t beforeGenerating = pw::bench::peakResidentBytes();
    const pw::Result<pw::GenerationReport> report = pw::generateFooters(track, options);
    const std::int64_t afterGenerating = pw::bench::peakResidentBytes();
    if (!report.ok()) {
        std::fprintf(stderr, "generation failed: %s\n", pw::errorText(report.error()).c_str());
        return 1;
    }
    pw::bench::printMetric(name, "peak_generate_extra_mb",
                           static_cast<double>(afterGenerating - beforeGenerating) / 1e6);

    // What an undo step keeps, done and undone: of the same generation on the track as read, and
    // of generating again with the fundaments kept, replacing the footers placed before.
    pw::GenerationOptions keeping = options;
    keeping.replaceFundaments = false;
    pw::GenerationOptions replacing = keeping;
    replacing.earlierFooters = pw::EarlierFooters::Replace;
    for (const auto& [metric, first, step] :
         {std::tuple{"step_generate", std::optional<pw::GenerationOptions>(), options},
          std::tuple{"step_replace", std::optional<pw::GenerationOptions>(keeping), replacing}}) {
        pw::Track work;
        if (!pw::readTrackFile(file, work) || (first && !pw::generateFooters(work, *first))) {
            std::fprintf(stderr, "cannot set up %s\n", metric);
            return 1;
        }
        pw::Result<pw::FooterStep> made = pw::generateFooterStep(work, step);
        if (!made.ok()) {
            std::fprintf(stderr, "%s failed: %s\n", metric, pw::errorText(made.error()).c_str());
            return 1;
        }
        pw::bench::printMetric(name, std::string(metric) + "_kb",
                               static_cast<double>(made->heldBytes()) / 1e3);
        (void)pw::undoFooterStep(*made, work);
        pw::bench::printMetric(name, std::string(metric) + "_undone_kb",
                               static_cast<double>(made->heldBytes()) / 1e3);
    }
    return 0;
}
