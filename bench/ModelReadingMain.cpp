// bench_model_reading <shape> make <file>: writes a hostile footer model of that shape.
// bench_model_reading <shape> read <file>: reads it as the plan does, through a reader process,
// and prints the time by the clock, the reader's processor time and peak memory, and the answer.
// A process of its own for each, so that making the model has not raised the peak before. Every
// shape is at or under the reading's bounds, where reading costs the most, or one that once
// exploded a reader:
//   deep-chain         a keyframer chain of 20,000 nodes (left out: over the node bound)
//   flat-nodes         100,000 keyframer nodes side by side (left out: over the chunk bound)
//   chain-at-bound     a keyframer chain of as many nodes as are kept
//   circle             65,535 vertices, all on the outline from above
//   dense              two meshes of 65,533 faces: the vertex and face bounds
//   many-objects       16,000 meshes of one triangle each, near the chunk bound
//   padded             the dense model padded with skipped chunks to the 16 MiB file cap
//   instanced          one 20,000-face mesh under 512 keyframer nodes (refused: instances count)
//   instanced-at-bound one 32,766-face mesh under 4 nodes: the face bound with its instances
//   tilted-grid        two 65,535-vertex grids across assimp's sorting axis, smoothing groups
//   smoothing-at-bound a 41 x 41 grid across that axis: just under the smoothing comparisons
// bench_model_reading examples inspect <directory>: reads the six example models in the directory
// through a fresh reader, as the window's inspection does, five times, and prints the fastest.

#include "MetricLine.h"
#include "OsSeam.h"

#include "models/ModelReaderClient.h"
#include "models/ThreeDsScreening.h"
#include "testsupport/HostileModels.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

void appendU32(Bytes& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The model with an unknown chunk in the main chunk that fills the file to `size` bytes.
Bytes padded(Bytes model, std::size_t size)
{
    const std::size_t pad = size - model.size();
    model.insert(model.end(), {0x34, 0x12});  // an id the walk skips
    appendU32(model, static_cast<std::uint32_t>(pad));
    model.resize(size, 0);
    const auto length = static_cast<std::uint32_t>(model.size());
    for (int i = 0; i < 4; ++i)
        model[2 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    return model;
}

const char* const shapes[] = {"deep-chain",
                              "flat-nodes",
                              "chain-at-bound",
                              "circle",
                              "dense",
                              "many-objects",
                              "padded",
                              "instanced",
                              "instanced-at-bound",
                              "tilted-grid",
                              "smoothing-at-bound"};

// Whether the shape is known; its bytes only when `build`.
bool make(const std::string& shape, Bytes& bytes, bool build)
{
    using namespace pw;
    if (std::find(std::begin(shapes), std::end(shapes), shape) == std::end(shapes))
        return false;
    if (!build)
        return true;
    if (shape == "deep-chain")
        bytes = keyframerChainModel(20000);
    else if (shape == "flat-nodes")
        bytes = flatKeyframerModel(100000);
    else if (shape == "chain-at-bound")
        bytes = keyframerChainModel(mostKeyframerNodes);
    else if (shape == "circle")
        bytes = encodeThreeDs(circleMesh(65535));
    else if (shape == "dense")
        bytes = denseModel(2, 65533);
    else if (shape == "many-objects") {
        const Mesh triangle{"t", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}, {}};
        bytes = encodeThreeDs(std::vector<Mesh>(16000, triangle), {});
    } else if (shape == "padded")
        bytes = padded(denseModel(2, 65533), largestModelFileBytes);
    else if (shape == "instanced")
        bytes = instancedModel(512, 20000);
    else if (shape == "instanced-at-bound")
        bytes = instancedModel(4, 32766);
    else if (shape == "tilted-grid")
        bytes = tiltedGridModel(true);
    else if (shape == "smoothing-at-bound") {
        Mesh grid = tiltedGridMesh(41, 41, 2 * 40 * 40, 0.0, true);
        grid.name = "grid";
        bytes = encodeThreeDs(grid);
    }
    return true;
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The six example models through a fresh reader each time, started anew as an inspection does.
int inspectExamples(const std::filesystem::path& directory)
{
    double fastest = 1e9;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        pw::ModelReaderClient reader;
        for (const char* file :
             {"small.3ds", "medium.3ds", "large.3ds", "xlarge.3ds", "xxlarge.3ds", "default.3ds"})
            if (const pw::ModelFootprint footprint = reader.read(directory / file);
                !footprint.readable) {
                std::fprintf(stderr, "%s: %s\n", file, footprint.problem.c_str());
                return 1;
            }
        reader.finish();
        fastest = std::min(fastest, secondsSince(start));
    }
    pw::bench::printMetric("model:inspect-examples", "wall_ms", fastest * 1000.0);
    std::printf("six example models through the reader: %.1f ms\n", fastest * 1000.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "examples" && std::string(argv[2]) == "inspect")
        return inspectExamples(argv[3]);
    Bytes bytes;
    // Made in the reading process too only when asked to make it: it would raise the peak.
    const bool making = argc == 4 && std::string(argv[2]) == "make";
    if (argc != 4 || (std::string(argv[2]) != "read" && !making) || !make(argv[1], bytes, making)) {
        std::fprintf(stderr,
                     "usage: bench_model_reading <shape> <make|read> <file>\n"
                     "       bench_model_reading examples inspect <directory>\n");
        return 2;
    }
    const std::string action = argv[2];
    const std::filesystem::path file = argv[3];
    if (action == "make") {
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return out.flush() ? 0 : 1;
    }
    const double fileMegabytes = static_cast<double>(std::filesystem::file_size(file)) / 1e6;

    const auto start = Clock::now();
    pw::ModelReaderClient reader;
    const pw::ModelFootprint footprint = reader.read(file);
    const double wall = secondsSince(start);
    reader.finish();  // waited for: its figures are in

    const std::string name = std::string("model:") + argv[1];
    pw::bench::printMetric(name, "file_mb", fileMegabytes);
    pw::bench::printMetric(name, "wall_s", wall);
    pw::bench::printMetric(name, "cpu_s", pw::bench::childrenProcessorSeconds());
    pw::bench::printMetric(name, "peak_mb",
                           static_cast<double>(pw::bench::childrenPeakResidentBytes()) / 1e6);
    pw::bench::printMetric(name, "readable", footprint.readable ? 1 : 0);
    std::printf("%s: %s\n", argv[1], footprint.readable ? "readable" : footprint.problem.c_str());
    return 0;
}
