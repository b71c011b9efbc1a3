// bench_model_reading <shape> make <file>: writes a hostile footer model of that shape.
// bench_model_reading <shape> read <file>: reads it as the plan does, and prints the processor
// time and the peak memory the reading added. A process of its own for each, so that making the
// model has not raised the peak before. Every shape is at or under the reading's bounds, where
// reading costs the most:
//   deep-chain     a keyframer chain of 20,000 nodes (left out: over the node bound)
//   flat-nodes     100,000 keyframer nodes side by side (left out: over the chunk bound)
//   chain-at-bound a keyframer chain of as many nodes as are kept
//   circle         65,535 vertices, all on the outline from above
//   dense          two meshes of 65,533 faces: the vertex and face bounds
//   many-objects   16,000 meshes of one triangle each, near the chunk bound
//   padded         the dense model padded with skipped chunks to the 16 MiB file cap

#include "MetricLine.h"
#include "OsSeam.h"

#include "examples/HostileModels.h"
#include "models/ModelFootprint.h"
#include "models/ThreeDsScreening.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using Bytes = std::vector<std::uint8_t>;

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

// Whether the shape is known; its bytes only when `build`.
bool make(const std::string& shape, Bytes& bytes, bool build)
{
    using namespace pw;
    const char* shapes[] = {"deep-chain", "flat-nodes",   "chain-at-bound", "circle",
                            "dense",      "many-objects", "padded"};
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
        const Mesh triangle{"t", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}};
        bytes = encodeThreeDs(std::vector<Mesh>(16000, triangle), {});
    } else if (shape == "padded")
        bytes = padded(denseModel(2, 65533), largestModelFileBytes);
    else
        return false;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Bytes bytes;
    // Made in the reading process too only when asked to make it: it would raise the peak.
    const bool making = argc == 4 && std::string(argv[2]) == "make";
    if (argc != 4 || (std::string(argv[2]) != "read" && !making) || !make(argv[1], bytes, making)) {
        std::fprintf(stderr,
                     "usage: bench_model_reading <deep-chain|flat-nodes|chain-at-bound|"
                     "circle|dense|many-objects|padded> <make|read> <file>\n");
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

    const std::int64_t before = pw::bench::peakResidentBytes();
    const std::clock_t start = std::clock();
    const pw::ModelFootprint footprint = pw::readModelFootprint(file);
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    const std::int64_t after = pw::bench::peakResidentBytes();

    const std::string name = std::string("model:") + argv[1];
    pw::bench::printMetric(name, "file_mb", fileMegabytes);
    pw::bench::printMetric(name, "cpu_s", seconds);
    pw::bench::printMetric(name, "peak_mb", static_cast<double>(after - before) / 1e6);
    pw::bench::printMetric(name, "readable", footprint.readable ? 1 : 0);
    std::printf("%s: %s\n", argv[1], footprint.readable ? "readable" : footprint.problem.c_str());
    return 0;
}
