// The speed of everything the window does with a track, on synthetic tracks of two sizes, next to
// a plain buffered copy of the same file: the most any reader or writer of it could reach.
// After the usual report it prints one "metric <track> <name> <value>" line per figure.

#include "FooterRunSetup.h"
#include "MetricReporter.h"
#include "RawFileCopy.h"
#include "SyntheticTrack.h"

#include "footers/FooterGeneration.h"
#include "footers/ModelDirectory.h"
#include "footers/ModelInstallation.h"
#include "tracklib/TrackFile.h"
#include "tracklib/TrackOperations.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace pw;
using namespace pw::bench;

struct TrackFixture {
    SyntheticTrackSize size;
    Track track;
    std::vector<std::uint8_t> bytes;
    std::filesystem::path file;
    std::filesystem::path output;
    std::filesystem::path copy;
    bool readsBack =
        false;  // reading the bytes gives the track again: the reader does all its work
};

const TrackFixture& trackFixture(const SyntheticTrackSize& size)
{
    static std::map<std::string, std::unique_ptr<TrackFixture>> fixtures;
    std::unique_ptr<TrackFixture>& slot = fixtures[size.name];
    if (!slot) {
        auto fixture = std::make_unique<TrackFixture>();
        fixture->size = size;
        fixture->track = makeSyntheticTrack(size);
        fixture->bytes = encodeTrack(fixture->track);
        const std::filesystem::path scratch = scratchDirectory();
        fixture->file = scratch / (size.name + ".nltrack");
        fixture->output = scratch / (size.name + "-saved.nltrack");
        fixture->copy = scratch / (size.name + "-copy.nltrack");
        writeWholeFile(fixture->file, fixture->bytes);
        Track reread;
        readTrackBytes(fixture->bytes, reread);
        fixture->readsBack = reread == fixture->track;
        slot = std::move(fixture);
    }
    return *slot;
}

// Throughput for the console, and the file's size for the table, which divides it by the
// fastest repetition's time.
void countBytes(benchmark::State& state, const TrackFixture& fixture)
{
    if (!fixture.readsBack)
        state.SkipWithError("the track does not read back as written; its figures would mislead");
    const auto bytes = static_cast<std::int64_t>(fixture.bytes.size());
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["file_bytes"] = static_cast<double>(bytes);
}

// Times `step` on the size's fixture, then gives its throughput.
template <class Step>
void timeOnFixture(benchmark::State& state, const SyntheticTrackSize& size, Step step)
{
    const TrackFixture& fixture = trackFixture(size);
    for (auto _ : state)
        step(fixture);
    countBytes(state, fixture);
}

void readFromMemory(benchmark::State& state, const SyntheticTrackSize& size)
{
    timeOnFixture(state, size, [](const TrackFixture& fixture) {
        Track track;
        readTrackBytes(fixture.bytes, track);
        benchmark::DoNotOptimize(track.tubes.data());
    });
}

// The window's "load": a cleared record filled from the file.
void readFromFile(benchmark::State& state, const SyntheticTrackSize& size)
{
    timeOnFixture(state, size, [&](const TrackFixture& fixture) {
        Track track;
        if (!readTrackFile(fixture.file, track))
            state.SkipWithError("the track file did not open");
        benchmark::DoNotOptimize(track.tubes.data());
    });
}

void encodeToMemory(benchmark::State& state, const SyntheticTrackSize& size)
{
    timeOnFixture(state, size, [](const TrackFixture& fixture) {
        std::vector<std::uint8_t> bytes = encodeTrack(fixture.track);
        benchmark::DoNotOptimize(bytes.data());
    });
}

// The window's "save".
void writeToFile(benchmark::State& state, const SyntheticTrackSize& size)
{
    timeOnFixture(state, size, [&](const TrackFixture& fixture) {
        const Result<void> result = writeTrackFile(fixture.output, fixture.track);
        if (!result.ok())
            state.SkipWithError(errorText(result.error()).c_str());
    });
}

void roundTrip(benchmark::State& state, const SyntheticTrackSize& size)
{
    timeOnFixture(state, size, [](const TrackFixture& fixture) {
        Track track;
        (void)readTrackFile(fixture.file, track);
        (void)writeTrackFile(fixture.output, track);
    });
}

void rawRead(benchmark::State& state, const SyntheticTrackSize& size)
{
    timeOnFixture(state, size, [](const TrackFixture& fixture) {
        std::vector<std::uint8_t> bytes = readWholeFile(fixture.file);
        benchmark::DoNotOptimize(bytes.data());
    });
}

void rawWrite(benchmark::State& state, const SyntheticTrackSize& size)
{
    timeOnFixture(state, size,
                  [](const TrackFixture& fixture) { writeWholeFile(fixture.copy, fixture.bytes); });
}

void rawCopy(benchmark::State& state, const SyntheticTrackSize& size)
{
    timeOnFixture(state, size,
                  [](const TrackFixture& fixture) { copyWholeFile(fixture.file, fixture.copy); });
}

// What the writer's durable save adds to the copy: the bytes flushed through to the disk.
void rawCopySynced(benchmark::State& state, const SyntheticTrackSize& size)
{
    timeOnFixture(state, size, [](const TrackFixture& fixture) {
        copyWholeFileSynced(fixture.file, fixture.copy);
    });
}

// The window's "inspect": which of the six model files the chosen directory holds.
void inspectModels(benchmark::State& state, const SyntheticTrackSize&)
{
    const GenerationOptions options = footerOptions(scratchDirectory());
    for (auto _ : state) {
        ModelDirectoryContents contents = inspectModelDirectory(options.modelSourceDirectory);
        benchmark::DoNotOptimize(contents);
    }
}

// The window's "generate", replacing fundaments and aligning to the tubes; each run starts
// from the track as loaded.
void generate(benchmark::State& state, const SyntheticTrackSize& size)
{
    const TrackFixture& fixture = trackFixture(size);
    const GenerationOptions options = footerOptions(scratchDirectory());
    Track work;
    std::optional<Result<GenerationReport>> report;
    for (auto _ : state) {
        state.PauseTiming();
        work = fixture.track;
        state.ResumeTiming();
        report.emplace(generateFooters(work, options));
    }
    if (!report || !*report) {
        state.SkipWithError(report ? errorText(report->error()).c_str() : "not run");
        return;
    }
    state.counters["tubes"] = static_cast<double>(fixture.track.tubes.size());
    state.counters["footers"] = (*report)->objectsAddedTotal();
    state.counters["removed"] = (*report)->fundamentsRemoved;
}

SceneryObject standInObject()
{
    SceneryObject object;
    object.textA = "fundament12345";
    object.textB = "benchride/fundament-default.3ds";
    object.matrix = {1, 0, 0, 1, 0, 1, 0, 2, 0, 0, 1, 3, 0, 0, 0, 1};
    return object;
}

// Times state.range(0) calls of `add` on a new track; clearing the track is not timed.
template <class Add>
void timeAdding(benchmark::State& state, Add add)
{
    const auto count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        Track track;
        newTrack(track);
        state.ResumeTiming();
        for (int i = 0; i < count; ++i)
            add(i, track);
        benchmark::DoNotOptimize(track);
        state.PauseTiming();
        track = Track{};
        state.ResumeTiming();
    }
    state.SetComplexityN(count);
}

void addSceneryObjects(benchmark::State& state)
{
    const SceneryObject object = standInObject();
    timeAdding(state, [&](int, Track& track) { addSceneryObject(object, track); });
}

void addFreeNodes(benchmark::State& state)
{
    timeAdding(state,
               [](int i, Track& track) { addFreeNode(static_cast<float>(i), 1.0f, 2.0f, track); });
}

// Other programs share the machine; the fastest repetition is the one least disturbed.
double fastest(const std::vector<double>& times)
{
    return times.empty() ? 0.0 : *std::min_element(times.begin(), times.end());
}

void registerBenchmarks()
{
    using Body = void (*)(benchmark::State&, const SyntheticTrackSize&);
    const std::vector<std::pair<std::string, Body>> perTrack = {
        {"read-memory", readFromMemory},
        {"read-file", readFromFile},
        {"encode", encodeToMemory},
        {"write-file", writeToFile},
        {"round-trip", roundTrip},
        {"raw-read", rawRead},
        {"raw-write", rawWrite},
        {"raw-copy", rawCopy},
        {"raw-copy-synced", rawCopySynced},
        {"inspect", inspectModels},
        {"generate", generate},
    };
    for (const SyntheticTrackSize& size : {realisticTrackSize(), largeTrackSize()})
        for (const auto& [name, body] : perTrack)
            benchmark::RegisterBenchmark((name + "/" + size.name).c_str(), body, size)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->ComputeStatistics("min", fastest);
    benchmark::RegisterBenchmark("generate/large-clustered", generate, largeClusteredTrackSize())
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->ComputeStatistics("min", fastest);
    benchmark::RegisterBenchmark("add-scenery-objects", addSceneryObjects)
        ->RangeMultiplier(2)
        ->Range(1 << 10, 1 << 13)
        ->ComputeStatistics("min", fastest)
        ->Complexity();
    benchmark::RegisterBenchmark("add-free-nodes", addFreeNodes)
        ->RangeMultiplier(2)
        ->Range(1 << 10, 1 << 13)
        ->ComputeStatistics("min", fastest)
        ->Complexity();
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    registerBenchmarks();
    MetricReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printMetrics();
    benchmark::Shutdown();
    return 0;
}
