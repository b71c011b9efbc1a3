// The speed of the 3D view: frames of the large synthetic track with every footer generated on
// the examples' models, rendered at 1280 x 800 into a framebuffer object (with Mesa's software
// renderer on a virtual X server, as scripts/bench.sh runs it), and the scene and GPU buffers
// built after a load, generate or preview change. Prints each figure (the fastest of several
// runs by the wall clock, and the median) and "metric" lines for scripts/bench.sh's table.
//
//     bench_view3d [--only=TEXT] [--frames=N] [PICTURE_DIRECTORY]
//
// --only runs the frames whose metric name holds TEXT (and skips the buffers); a directory given
// receives each frame measured as a picture, to look at.

#include "FooterRunSetup.h"
#include "MetricLine.h"
#include "SyntheticTrack.h"

#include "footers/FooterGeneration.h"
#include "footers/TubeEndPoints.h"
#include "models/ModelFootprints.h"
#include "models/ModelReaderClient.h"
#include "view3d/OffscreenRenderer.h"
#include "view3d/Scene3d.h"

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <vector>

namespace {

// Every allocation through operator new in the process, to show that a frame makes none.
std::atomic<long> allocations{0};

}  // namespace

void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace pw;
using namespace pw::bench;

struct Timing {
    double fastestMs = 0.0;
    double medianMs = 0.0;
    double processorMs = 0.0;  // of the whole process, the renderer's threads included
};

// The wall clock's fastest and median of `runs`, and the least processor time of a run: other
// programs share the machine, and the last figure leaves their share out.
Timing measure(int runs, const std::function<void()>& run)
{
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(runs));
    double processor = 1e300;
    for (int i = 0; i < runs; ++i) {
        const std::clock_t processorStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        run();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        processor = std::min(processor, static_cast<double>(std::clock() - processorStart) *
                                            1000.0 / CLOCKS_PER_SEC);
    }
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2], processor};
}

void report(const char* name, const char* what, Timing timing)
{
    std::printf("%-50s %8.2f ms fastest, %8.2f ms median, %8.2f ms processor\n", what,
                timing.fastestMs, timing.medianMs, timing.processorMs);
    printMetric("large", name, timing.fastestMs);
    printMetric("large", std::string(name) + "_cpu", timing.processorMs);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    std::filesystem::path pictures;
    std::string only;
    int frameRuns = 30;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.starts_with("--only="))
            only = argument.substr(7);
        else if (argument.starts_with("--frames="))
            frameRuns = std::max(1, std::atoi(argument.c_str() + 9));
        else
            pictures = argument;
    }
    const Result<std::unique_ptr<OffscreenRenderer>> started = OffscreenRenderer::start();
    if (!started) {
        std::fprintf(stderr, "bench_view3d: %s\n", errorText(started.error()).c_str());
        return 1;
    }
    OffscreenRenderer& renderer = **started;
    const std::filesystem::path models =
        std::filesystem::path(PLINTHWRIGHT_EXAMPLES_DIR) / "models";
    const Track large = makeSyntheticTrack(largeTrackSize());
    Track generated = large;
    GenerationReport generation;
    placeFooters(generated, everyClassOnItsOwnModel(), generation);
    ModelReaderClient reader;
    ModelFootprints footprints(models, reader.fileReader());
    const TubeEndTable tubeEnds(generated);

    const auto wanted = [&](const std::string& name) {
        return only.empty() || name.find(only) != std::string::npos;
    };
    // After a load or generate: the scene, then its buffers on the GPU.
    std::shared_ptr<const Scene3d> scene =
        std::make_shared<const Scene3d>(buildScene3d(generated, {&footprints}, {}, &tubeEnds));
    if (const Result<void> shown = renderer.setScene(scene); !shown) {
        std::fprintf(stderr, "bench_view3d: %s\n", errorText(shown.error()).c_str());
        return 1;
    }
    if (only.empty()) {
        report("view3d_scene_ms", "Scene of the generated track (tube ends known)", measure(5, [&] {
                   scene = std::make_shared<const Scene3d>(
                       buildScene3d(generated, {&footprints}, {}, &tubeEnds));
               }));
        report("view3d_buffers_ms", "GPU buffers of that scene", measure(5, [&] {
                   static_cast<void>(renderer.setScene(scene));
                   renderer.renderFrame(OrbitCamera(), QSize(1, 1));
               }));
        report("view3d_rebuild_ms", "Scene and buffers together (target <= 100)", measure(5, [&] {
                   static_cast<void>(renderer.setScene(std::make_shared<const Scene3d>(
                       buildScene3d(generated, {&footprints}, {}, &tubeEnds))));
                   renderer.renderFrame(OrbitCamera(), QSize(1, 1));
               }));
    }
    std::printf("large track: %zu tubes, %zu footers, %zu track pieces\n", scene->tubes.size(),
                scene->footers.size(), scene->curve.size() * 16);

    const QSize size(1280, 800);
    OrbitCamera full;
    full.fit(scene->bounds.minimum, scene->bounds.maximum, size);
    OrbitCamera zoomed = full;
    zoomed.zoomTowards(20.0f, zoomed.pivot());
    OrbitCamera close = full;
    close.zoomTowards(200.0f, close.pivot());

    // A still camera, or one turned by `orbitStep` degrees before every frame, as dragging does.
    const auto frames = [&](const char* name, const char* what, const OrbitCamera& still,
                            float orbitStep = 0.0f) {
        if (!wanted(name))
            return;
        OrbitCamera camera = still;
        renderer.renderFrame(camera, size);  // the framebuffer is made on the first
        long during = 0;
        const Timing timing = measure(frameRuns, [&] {
            camera.orbit(orbitStep, 0.0f);
            const long before = allocations.load();
            renderer.renderFrame(camera, size);
            during += allocations.load() - before;
        });
        const double perFrame = static_cast<double>(during) / frameRuns;
        const FrameCounts& counts = renderer.lastFrame();
        report(name, what, timing);
        std::printf(
            "    footers: %d meshes, %d points; tubes: %d cylinders, %d bands, %d lines; "
            "track: %d cylinders, %d bands, %d lines; %.1f allocations per frame\n",
            counts.meshFooters, counts.pointFooters, counts.meshTubes, counts.bandTubes,
            counts.lineTubes, counts.meshTrackPieces, counts.bandTrackPieces,
            counts.lineTrackPieces, perFrame);
        if (!pictures.empty())
            renderer.render(camera, size)
                .save(QString::fromStdString((pictures / (std::string(name) + ".png")).string()));
    };
    frames("view3d_frame_full_ms", "Frame, whole track (target <= 16, floor <= 33)", full);
    frames("view3d_frame_zoomed_ms", "Frame, zoomed in 20x", zoomed);
    frames("view3d_frame_close_ms", "Frame, zoomed in 200x", close);
    frames("view3d_orbit_full_ms", "Frame, whole track, orbiting 2 degrees a frame", full, 2.0f);
    frames("view3d_orbit_zoomed_ms", "Frame, zoomed in 20x, orbiting", zoomed, 2.0f);
    frames("view3d_orbit_close_ms", "Frame, zoomed in 200x, orbiting", close, 2.0f);
    // The same frames at one pixel: what they cost without filling pixels.
    if (wanted("view3d_frame_full_1px_ms"))
        report("view3d_frame_full_1px_ms", "Frame, whole track, 1 x 1 pixel",
               measure(30, [&] { renderer.renderFrame(full, QSize(1, 1)); }));

    // A ride of realistic size: 1,000 segments, 2,000 tubes.
    if (!wanted("view3d_realistic_full_ms") && !wanted("view3d_realistic_zoomed_ms"))
        return 0;
    Track realistic = makeSyntheticTrack(realisticTrackSize());
    placeFooters(realistic, everyClassOnItsOwnModel(), generation);
    const auto realisticScene =
        std::make_shared<const Scene3d>(buildScene3d(realistic, {&footprints}));
    static_cast<void>(renderer.setScene(realisticScene));
    OrbitCamera realisticFull;
    realisticFull.fit(realisticScene->bounds.minimum, realisticScene->bounds.maximum, size);
    OrbitCamera realisticZoomed = realisticFull;
    realisticZoomed.zoomTowards(20.0f, realisticZoomed.pivot());
    frames("view3d_realistic_full_ms", "Realistic track: frame, whole track", realisticFull);
    frames("view3d_realistic_zoomed_ms", "Realistic track: frame, zoomed in 20x", realisticZoomed);
    return 0;
}
