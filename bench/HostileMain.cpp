// bench_hostile <shape> <megabytes> make <file>: writes a hostile file of that shape and size
// (testsupport/HostileTracks.h).
// bench_hostile <shape> <megabytes> <action> <file>: runs one action on that file as the window
// or the command line does, and prints its time and the peak memory it added, both per
// megabyte of input. Actions: "read" (open), "save" (read, then write), "generate" (read, then
// generate footers), "info" and "dump" (the commands, output discarded). A process of its own
// for each, so that nothing else (making the file included) has raised the peak before.

#include "FooterRunSetup.h"
#include "MetricLine.h"
#include "OsSeam.h"

#include "cli/CommandLine.h"
#include "footers/FooterGeneration.h"
#include "testsupport/HostileTracks.h"
#include "tracklib/TrackFile.h"

#include <QFile>
#include <QProcess>
#include <QTextStream>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using pw::HostileShape;

bool shapeNamed(const std::string& name, HostileShape& shape)
{
    for (const HostileShape candidate : pw::allHostileShapes) {
        if (pw::hostileShapeName(candidate) == name) {
            shape = candidate;
            return true;
        }
    }
    return false;
}

// Runs the action; false when it failed.
bool run(const std::string& action, const std::filesystem::path& file)
{
    if (action == "info" || action == "dump") {
        QFile sink(QProcess::nullDevice());
        if (!sink.open(QIODevice::WriteOnly))
            return false;
        QTextStream out(&sink);
        QTextStream err(stderr);
        return pw::runCommandLine({"plinthwright-cli", QString::fromStdString(action),
                                   QString::fromStdString(file.string())},
                                  out, err) == 0;
    }
    pw::Track track;
    if (!pw::readTrackFile(file, track))
        return false;
    if (action == "save")
        return pw::writeTrackFile(pw::bench::scratchDirectory() / "saved.nltrack", track).ok();
    if (action == "generate")
        return pw::generateFooters(track, pw::bench::footerOptions(pw::bench::scratchDirectory()))
            .ok();
    return action == "read";
}

}  // namespace

int main(int argc, char** argv)
{
    HostileShape shape{};
    if (argc != 5 || !shapeNamed(argv[1], shape)) {
        std::fprintf(stderr,
                     "usage: bench_hostile <empty-segments|repeated-terrain|"
                     "repeated-track-headers|tubes-over-segments> <megabytes> "
                     "<make|read|save|generate|info|dump> <file>\n");
        return 2;
    }
    const double megabytes = std::atof(argv[2]);
    const std::string action = argv[3];
    const std::filesystem::path file = argv[4];
    if (action == "make") {
        const std::vector<std::uint8_t> bytes =
            pw::makeHostileTrack(shape, static_cast<std::size_t>(megabytes * 1e6));
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return out.flush() ? 0 : 1;
    }
    std::error_code ec;
    const double inputMegabytes = static_cast<double>(std::filesystem::file_size(file, ec)) / 1e6;
    if (ec || inputMegabytes <= 0.0) {
        std::fprintf(stderr, "cannot read %s\n", file.string().c_str());
        return 1;
    }

    const std::int64_t before = pw::bench::peakResidentBytes();
    const auto start = std::chrono::steady_clock::now();
    const bool ok = run(action, file);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::int64_t after = pw::bench::peakResidentBytes();
    if (!ok) {
        std::fprintf(stderr, "%s failed on %s\n", action.c_str(), file.string().c_str());
        return 1;
    }
    const std::string name = std::string(argv[1]) + ":" + action;
    pw::bench::printMetric(name, "input_mb", inputMegabytes);
    pw::bench::printMetric(name, "seconds_per_10_mb", seconds / inputMegabytes * 10.0);
    pw::bench::printMetric(name, "peak_mb_per_input_mb",
                           static_cast<double>(after - before) / 1e6 / inputMegabytes);
    return 0;
}
