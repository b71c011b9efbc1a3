// bench_window_actions <track name> <file>: times the window's own load, inspect, generate and
// save of a track file, through its buttons on the offscreen platform, as the user would run
// them. Prints the fastest of five runs of each as metric lines: the time the window is busy,
// and the processor time it takes (the smaller figure when other programs share the machine).

#include "FooterRunSetup.h"
#include "MetricLine.h"

#include "qtbridge/QtPaths.h"
#include "frmMain.h"

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
        return caption == QLatin1String("Select noLimits directory") ? simulator : models;
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
    const auto click = [&window](const char* button) {
        window.findChild<QAbstractButton*>(QLatin1String(button))->click();
    };
    click("buttonSelectNLDirectory");

    Fastest load, inspect, generate, save;
    for (int run = 0; run < 5; ++run) {
        load.time([&] { window.openTrackFile(trackFile); });
        inspect.time([&] { click("buttonSelectDirectory"); });
        generate.time([&] { click("buttonGenerate"); });
        save.time([&] { click("buttonSave"); });
        QCoreApplication::processEvents();
    }
    const std::string track = argv[1];
    for (const auto& [name, figure] : {std::pair{"load", load}, std::pair{"inspect", inspect},
                                       std::pair{"generate", generate}, std::pair{"save", save}}) {
        pw::bench::printMetric(track, std::string("window_") + name + "_ms", figure.wallMs);
        pw::bench::printMetric(track, std::string("window_") + name + "_cpu_ms",
                               figure.processorMs);
    }
    return 0;
}
