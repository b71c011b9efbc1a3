// bench_window_actions <track name> <file>: times the window's own load, inspect, generate and
// save of a track file, through its buttons on the offscreen platform, as the user would run
// them, with the plan window beside it as the program starts it. Prints the fastest of five runs
// of each as metric lines: the time the window is busy, and the processor time it takes (the
// smaller figure when other programs share the machine). After a generate, the plan window's
// drawing of it, once the installed copies have been read (the wait for the reader included).
// Beside them, in the same run, the core's generateFooters alone with the window's choices: the
// yardstick of the window's generate.

#include "FooterRunSetup.h"
#include "MetricLine.h"

#include "PlanCoordinator.h"
#include "footers/FooterGeneration.h"
#include "frmMain.h"
#include "qtbridge/QtPaths.h"
#include "tracklib/TrackFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <limits>
#include <string>
#include <utility>

namespace {

struct Fastest {
    double wallMs = std::numeric_limits<double>::infinity();
    double processorMs = std::numeric_limits<double>::infinity();

    void time(const std::function<void()>& action)
    {
        QElapsedTimer timer;
        const std::clock_t started = std::clock();
        timer.start();
        action();
        wallMs = std::min(wallMs, static_cast<double>(timer.nsecsElapsed()) / 1e6);
        processorMs = std::min(
            processorMs, static_cast<double>(std::clock() - started) * 1000.0 / CLOCKS_PER_SEC);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_window_actions <track name> <file>\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window's settings go to a scratch file, never into the user's own.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return 1;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, scratch.path());
    QApplication application(argc, argv);

    const QString trackFile = QString::fromLocal8Bit(argv[2]);
    const QString models = scratch.filePath(QStringLiteral("models"));
    const QString simulator = scratch.filePath(QStringLiteral("nolimits"));
    const QString saved = scratch.filePath(QStringLiteral("saved.nltrack"));
    pw::bench::writeSampleModels(pw::toFileSystemPath(models));
    QDir().mkpath(simulator);

    frmMain window;
    pw::UserPrompts prompts;
    prompts.existingDirectory = [&](QWidget*, const QString& caption, const QString&,
                                    QFileDialog::Options) {
        return caption == QLatin1String("Select NoLimits directory") ? simulator : models;
    };
    prompts.saveFileName = [&](QWidget*, const QString&, const QString&, const QString&) {
        return saved;
    };
    prompts.warning = [](QWidget*, const QString& title, const QString& text) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
        std::exit(1);
    };
    // Every generate is saved before the next load: nothing may ask about unsaved work.
    prompts.question = [](QWidget*, const QString& title, const QString& text,
                          QMessageBox::StandardButtons) {
        std::fprintf(stderr, "unexpected question %s: %s\n", qPrintable(title), qPrintable(text));
        std::exit(1);
        return QMessageBox::Cancel;
    };
    window.setUserPrompts(std::move(prompts));
    window.show();
    const PlanCoordinator plan(window.session(), window);
    const auto click = [&window](const char* button) {
        window.findChild<QAbstractButton*>(QLatin1String(button))->click();
    };
    // The plan reads the models in the background after a load, an inspection and a generate;
    // the next action waits for them, so that each is timed alone.
    const auto settle = [&plan] {
        do
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        while (plan.readingModels());
        QCoreApplication::processEvents();
    };
    click("buttonSelectNLDirectory");

    Fastest load, inspect, generate, planAfterGenerate, save, core;
    for (int run = 0; run < 5; ++run) {
        load.time([&] { window.openTrackFile(trackFile); });
        settle();
        inspect.time([&] { click("buttonSelectDirectory"); });
        settle();
        generate.time([&] { click("buttonGenerate"); });
        // The plan draws the generated track once the copies it installed have been read.
        planAfterGenerate.time(settle);
        save.time([&] { click("buttonSave"); });
        settle();

        // The core alone, with the choices the window has just generated with.
        pw::Track track;
        if (!pw::readTrackFile(pw::toFileSystemPath(trackFile), track))
            return 1;
        const pw::GenerationOptions options = window.session().previewOptions();
        core.time([&] {
            if (!pw::generateFooters(track, options))
                std::exit(1);
        });
    }
    const std::string name = argv[1];
    for (const auto& [action, figure] :
         {std::pair{"load", load}, std::pair{"inspect", inspect}, std::pair{"generate", generate},
          std::pair{"generate_plan", planAfterGenerate}, std::pair{"save", save},
          std::pair{"generate_core", core}}) {
        pw::bench::printMetric(name, std::string("window_") + action + "_ms", figure.wallMs);
        pw::bench::printMetric(name, std::string("window_") + action + "_cpu_ms",
                               figure.processorMs);
    }
    pw::bench::printMetric(name, "window_generate_cpu_per_core",
                           generate.processorMs / core.processorMs);
    return 0;
}
