// The speed of the plan: painting the large synthetic track with all its footers at full view
// and zoomed in, working out the preview of a generation, and the whole plan of a track of
// 100,000 vertices. Prints each figure (the fastest of several runs, in processor and wall time)
// and a "metric" line of the processor time for scripts/bench.sh's table.

#include "FooterRunSetup.h"
#include "MetricLine.h"
#include "SyntheticTrack.h"

#include "footers/FooterGeneration.h"
#include "footers/TubeEndPoints.h"
#include "models/ModelFootprints.h"
#include "models/ModelReaderClient.h"
#include "plan/PlanFile.h"
#include "plan/PlanLayer.h"
#include "plan/PlanPainter.h"
#include "plan/PlanScene.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>

namespace {

using namespace pw;
using namespace pw::bench;

struct Timing {
    double wallMs = std::numeric_limits<double>::infinity();
    double processorMs = std::numeric_limits<double>::infinity();
};

// The fastest of `runs` runs, by the clock on the wall and by the processor time the program
// used: other programs share the machine, and the second figure leaves their share out.
Timing fastestMs(int runs, const std::function<void()>& run)
{
    Timing best;
    for (int i = 0; i < runs; ++i) {
        const std::clock_t processorStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        best.wallMs = std::min(best.wallMs, took.count());
        best.processorMs =
            std::min(best.processorMs,
                     static_cast<double>(std::clock() - processorStart) * 1000.0 / CLOCKS_PER_SEC);
    }
    return best;
}

void report(const char* track, const char* name, const char* what, Timing timing)
{
    std::printf("%-60s %9.2f ms processor, %9.2f ms wall\n", what, timing.processorMs,
                timing.wallMs);
    printMetric(track, name, timing.processorMs);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const std::filesystem::path models =
        std::filesystem::path(PLINTHWRIGHT_EXAMPLES_DIR) / "models";
    const GenerationOptions options = everyClassOnItsOwnModel();

    const Track large = makeSyntheticTrack(largeTrackSize());
    Track generated = large;
    GenerationReport generation;
    placeFooters(generated, options, generation);
    ModelReaderClient reader;
    ModelFootprints footprints(models, reader.fileReader());
    const PlanScene scene = buildPlanScene(generated, PlanView::Top, &footprints);
    std::printf("large track: %zu tubes, %zu footers drawn\n", scene.tubes.size(),
                scene.footers.size());

    // The window's canvas: a painter kept between frames, the legend on top.
    QImage frame(1280, 800, QImage::Format_ARGB32_Premultiplied);
    PlanPainter painter;
    const QRectF area(frame.rect());
    const QTransform full = fitTransform(scene.bounds, area.adjusted(16, 16, -16, -16));
    QTransform zoomed = full;
    zoomed *= QTransform::fromTranslate(-area.center().x(), -area.center().y());
    zoomed *= QTransform::fromScale(40, 40);
    zoomed *= QTransform::fromTranslate(area.center().x(), area.center().y());
    const auto paint = [&](const QTransform& view) {
        QPainter p(&frame);
        p.fillRect(frame.rect(), Qt::white);
        painter.paint(p, scene, view, area);
        paintLegend(p, QPointF(area.width() - 208, 8), scene.view, false);
    };
    report("large", "plan_paint_full_ms", "Paint, full view (target <= 16)",
           fastestMs(20, [&] { paint(full); }));
    report("large", "plan_paint_zoomed_ms", "Paint, zoomed in 40x (target <= 16)",
           fastestMs(20, [&] { paint(zoomed); }));
    // A plan window as large as a full-HD screen: the lines grow with the picture.
    {
        QImage big(1920, 1080, QImage::Format_ARGB32_Premultiplied);
        const QRectF bigArea(big.rect());
        const QTransform bigFull = fitTransform(scene.bounds, bigArea.adjusted(16, 16, -16, -16));
        report("large", "plan_paint_full_hd_ms", "Paint, full view, 1920 x 1080",
               fastestMs(20, [&] {
                   QPainter p(&big);
                   p.fillRect(big.rect(), Qt::white);
                   painter.paint(p, scene, bigFull, bigArea);
                   paintLegend(p, QPointF(bigArea.width() - 208, 8), scene.view, false);
               }));
    }

    // The window keeps the painted plan: a pan paints only the strips it uncovers.
    PlanLayer layer;
    int step = 0;
    report("large", "plan_pan_ms", "Pan by 8 pixels, full view (target <= 16)", fastestMs(20, [&] {
               QPainter p(&frame);
               ++step;
               layer.draw(p, scene, full * QTransform::fromTranslate(8 * step, 8 * step),
                          frame.size());
           }));

    // A wheel notch at full view: the kept picture scaled about the pointer stands in until the
    // view rests (the crisp repaint after it costs a full-view paint).
    PlanLayer zoomLayer;
    {
        QPainter p(&frame);
        zoomLayer.draw(p, scene, full, frame.size());
    }
    int notch = 0;
    report("large", "plan_zoom_step_ms",
           "Wheel notch, full view, kept picture scaled (target <= 16)", fastestMs(20, [&] {
               QPainter p(&frame);
               const double factor = (++notch % 2 == 0) ? 1.25 : 1.0 / 1.25;
               QTransform zoom = full * QTransform::fromTranslate(-400, -300);
               zoom *= QTransform::fromScale(factor, factor);
               zoom *= QTransform::fromTranslate(400, 300);
               if (!zoomLayer.drawInterim(p, zoom, frame.size()))
                   std::abort();
               paintLegend(p, QPointF(area.width() - 208, 8), scene.view, false);
           }));

    // Once the view rests, the window copies the scene for a painting thread and goes on answering.
    report("large", "plan_crisp_start_ms", "Crisp repaint handed over: scene copied (target <= 16)",
           fastestMs(20, [&] {
               const PlanScene copy = scene;
               if (copy.tubes.size() != scene.tubes.size())
                   std::abort();
           }));

    // What a changed choice costs the window: a copy placed on, and the new outlines. The tube
    // ends were worked out when the track was loaded.
    const TubeEndTable tubeEnds(large);
    report("large", "plan_preview_ms", "Preview recomputation (target <= 100)", fastestMs(5, [&] {
               const std::vector<SceneryObject> added =
                   footersGenerateWouldAdd(large, options, &tubeEnds);
               const std::vector<PlanFooter> outlines =
                   buildPlanFooters(large, PlanView::Top, &footprints, added);
               if (outlines.empty())
                   std::abort();
           }));
    report("large", "plan_scene_ms", "Scene of the generated track, tube ends included",
           fastestMs(5, [&] { buildPlanScene(generated, PlanView::Top, &footprints); }));
    const TubeEndTable generatedEnds(generated);
    report("large", "plan_view_ms", "Scene again, tube ends known (view toggle, inspection)",
           fastestMs(5, [&] {
               buildPlanScene(generated, PlanView::Side, &footprints, {}, &generatedEnds);
           }));

    SyntheticTrackSize hugeSize = largeTrackSize();
    hugeSize.name = "huge";
    hugeSize.vertices = hugeSize.segments = 100000;
    const Track huge = makeSyntheticTrack(hugeSize);
    const std::filesystem::path png =
        std::filesystem::temp_directory_path() / "plinthwright-bench-plan.png";
    report("huge", "plan_file_ms", "Plan of 100,000 vertices to PNG (scene and file)",
           fastestMs(3, [&] {
               const PlanScene hugeScene = buildPlanScene(huge, PlanView::Top, nullptr);
               if (!writePlanFile(hugeScene, QString::fromStdString(png.string())).ok())
                   std::abort();
           }));
    std::filesystem::remove(png);
    return 0;
}
