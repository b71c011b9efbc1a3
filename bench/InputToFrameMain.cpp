// bench_input_to_frame: the time from an input event to the end of the frame that shows it, in
// the plan window's real 3D view and plan, on the demo and on the large synthetic track. Wheel
// notches, drag steps and keys are posted to the widgets as the window system's would be; each
// waits for its frame (the 3D view's swap, the plan's paint) and a pause, so that each frame
// shows one input. Needs an X display (scripts/bench.sh gives it a virtual one): the 3D view
// shows OpenGL only in a real window.
//
// Target: at most one frame (16.7 ms) beyond the frame's own drawing time. Prints a line per
// view, track and input, and "metric" lines for scripts/bench.sh's table.

#include "FooterRunSetup.h"
#include "MetricLine.h"
#include "SyntheticTrack.h"

#include "PlanCanvas.h"
#include "PlanWindow.h"
#include "View3dPanel.h"
#include "View3dWidget.h"

#include "footers/FooterGeneration.h"
#include "footers/TubeEndPoints.h"
#include "models/ModelFootprints.h"
#include "models/ModelReaderClient.h"
#include "plan/PlanScene.h"
#include "tracklib/TrackFile.h"
#include "view3d/Scene3d.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace pw;
using namespace std::chrono_literals;

constexpr double frameMs = 1000.0 / 60.0;
constexpr int inputsPerRow = 20;

struct Row {
    double delayMs = 0.0;  // median, input to the end of its frame
    double worstMs = 0.0;
    double drawMs = 0.0;  // median of those frames' own time
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs the event loop, asleep between events, until `done` holds or `duration` passes. A busy
// loop would take a core from the renderer's own threads.
void runEvents(std::chrono::milliseconds duration, const std::function<bool()>& done)
{
    QTimer tick;  // wakes the loop to look at `done` and the clock
    tick.start(2);
    const auto deadline = FrameTiming::Clock::now() + duration;
    while (!done() && FrameTiming::Clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Runs the event loop until `timing` counts a frame beyond `frames`, or a second passes.
bool waitForFrame(const FrameTiming& timing, long frames)
{
    runEvents(1000ms, [&] { return timing.frames() > frames; });
    return timing.frames() > frames;
}

// Lets the window settle: what is queued is handled and nothing waits to be drawn.
void settle()
{
    runEvents(60ms, [] { return false; });
}

// `post(i)` posts the i-th input; each is timed from just before it is posted to the end of the
// frame that shows it.
Row measure(QWidget& widget, const FrameTiming& timing, const std::function<void(int)>& post)
{
    std::vector<double> delays, draws;
    for (int i = 0; i < inputsPerRow; ++i) {
        settle();
        const long frames = timing.frames();
        const auto posted = FrameTiming::Clock::now();
        post(i);
        if (!waitForFrame(timing, frames)) {
            std::fprintf(stderr, "bench_input_to_frame: no frame showed an input to %s\n",
                         qPrintable(widget.objectName()));
            return {};
        }
        delays.push_back(
            std::chrono::duration<double, std::milli>(timing.last().end - posted).count());
        draws.push_back(timing.last().drawMs);
    }
    return {median(delays), *std::max_element(delays.begin(), delays.end()), median(draws)};
}

void postWheel(QWidget& widget, int notches)
{
    const QPointF at(widget.width() / 2.0, widget.height() / 2.0);
    QCoreApplication::postEvent(
        &widget, new QWheelEvent(at, widget.mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton,
                                 {}, Qt::NoScrollPhase, false));
}

void postMouse(QWidget& widget, QEvent::Type type, QPointF at, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QCoreApplication::postEvent(
        &widget, new QMouseEvent(type, at, widget.mapToGlobal(at), button, buttons, {}));
}

void postKey(QWidget& widget, int key)
{
    QCoreApplication::postEvent(&widget, new QKeyEvent(QEvent::KeyPress, key, {}));
}

void report(const char* view, const char* track, const char* input, const Row& row)
{
    const bool met = row.delayMs <= row.drawMs + frameMs;
    std::printf(
        "%-5s %-6s %-6s input to frame %6.1f ms median, %6.1f ms worst; frame %6.1f ms; "
        "%s\n",
        view, track, input, row.delayMs, row.worstMs, row.drawMs,
        met ? "within a frame beyond it" : "MORE than a frame beyond it");
    const std::string name = std::string("input_") + view + "_" + input;
    bench::printMetric(track, name + "_ms", row.delayMs);
    bench::printMetric(track, name + "_frame_ms", row.drawMs);
}

// Wheel in and out, drag steps of 6 pixels, and a key, on both views of `window`.
void measureWindow(PlanWindow& window, const char* track)
{
    window.showThreeD();
    View3dWidget* view = window.view3d()->view();
    if (view == nullptr) {
        std::fprintf(stderr, "bench_input_to_frame: no 3D view: %s\n",
                     qPrintable(window.view3d()->message()));
        return;
    }
    waitForFrame(view->frameTiming(), 0);
    const QPointF middle(view->width() / 2.0, view->height() / 2.0);
    report("3d", track, "wheel", measure(*view, view->frameTiming(), [&](int i) {
               postWheel(*view, i % 2 == 0 ? 1 : -1);
           }));
    postMouse(*view, QEvent::MouseButtonPress, middle, Qt::LeftButton);
    report("3d", track, "drag", measure(*view, view->frameTiming(), [&](int i) {
               postMouse(*view, QEvent::MouseMove, middle + QPointF(6.0 * (i + 2), 0.0),
                         Qt::LeftButton);
           }));
    postMouse(*view, QEvent::MouseButtonRelease, middle, Qt::NoButton);
    report("3d", track, "key", measure(*view, view->frameTiming(), [&](int i) {
               postKey(*view, i % 2 == 0 ? Qt::Key_Left : Qt::Key_Right);
           }));

    window.setView(PlanView::Top);
    PlanCanvas& canvas = *window.canvas();
    waitForFrame(canvas.frameTiming(), 0);
    const QPointF centre(canvas.width() / 2.0, canvas.height() / 2.0);
    report("plan", track, "wheel", measure(canvas, canvas.frameTiming(), [&](int i) {
               postWheel(canvas, i % 2 == 0 ? 1 : -1);
           }));
    postMouse(canvas, QEvent::MouseButtonPress, centre, Qt::LeftButton);
    report("plan", track, "drag", measure(canvas, canvas.frameTiming(), [&](int i) {
               postMouse(canvas, QEvent::MouseMove, centre + QPointF(6.0 * (i + 2), 0.0),
                         Qt::LeftButton);
           }));
    postMouse(canvas, QEvent::MouseButtonRelease, centre, Qt::NoButton);
    report("plan", track, "key",
           measure(canvas, canvas.frameTiming(), [&](int) { postKey(canvas, Qt::Key_Home); }));
}

void measureTrack(const Track& track, const char* name, const std::filesystem::path& models)
{
    ModelReaderClient reader;
    ModelFootprints footprints(models, reader.fileReader());
    const TubeEndTable tubeEnds(track);
    PlanWindow window;
    window.resize(1280, 800);
    window.setScene(buildPlanScene(track, PlanView::Top, &footprints, {}, &tubeEnds), true);
    window.view3d()->setScene(
        std::make_shared<const Scene3d>(buildScene3d(track, {&footprints}, {}, &tubeEnds)));
    window.show();
    measureWindow(window, name);
}

}  // namespace

int main(int argc, char** argv)
{
    // The 3D view shows OpenGL only in a real window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    const std::filesystem::path examples = PLINTHWRIGHT_EXAMPLES_DIR;
    Track demo;
    if (!readTrackFile(examples / "demo-footers.nltrack", demo).ok()) {
        std::fprintf(stderr, "bench_input_to_frame: the demo track cannot be read\n");
        return 1;
    }
    measureTrack(demo, "demo", examples / "models");
    Track large = bench::makeSyntheticTrack(bench::largeTrackSize());
    GenerationReport generation;
    placeFooters(large, bench::everyClassOnItsOwnModel(), generation);
    measureTrack(large, "large", examples / "models");
    return 0;
}
