// The plan window beside the main window: it opens on load, follows the main window's actions,
// previews what generate would add, answers the pointer, and never waits on a footer model.

#include "PlanWindowFixture.h"

#include "PlanCanvas.h"
#include "PlanWindow.h"
#include "View3dPanel.h"
#include "WindowPlacement.h"
#include "footers/FooterGeneration.h"
#include "tracklib/TrackOperations.h"
#include "models/ReaderProcessSeam.h"
#include "qtbridge/QtPaths.h"
#include "testsupport/HostileModels.h"
#include "testsupport/ScopedVariable.h"

#include <QAction>
#include <QElapsedTimer>
#include <QPainter>
#include <QApplication>
#include <QScreen>
#include <QToolTip>
#include <QWheelEvent>
#include <QtTest>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#ifdef __linux__
#include <QDirIterator>
#include <unistd.h>
#endif

namespace pw::test {

namespace {

const QString examples = QStringLiteral(PLINTHWRIGHT_EXAMPLES_DIR);

// Holds every model read until released and records the files read (to be looked at once they
// are delivered). A read on the window's thread would hold the window: the test times out.
struct ModelGate {
    ModelFootprint operator()(const std::filesystem::path& file)
    {
        std::unique_lock lock(mutex);
        ++waiting;
        released.wait(lock, [this] { return open; });
        --waiting;
        read.push_back(file);
        lock.unlock();
        return reader.read(file);
    }
    void release()
    {
        const std::lock_guard lock(mutex);
        open = true;
        released.notify_all();
    }

    std::mutex mutex;
    std::condition_variable released;
    bool open = false;
    std::atomic<int> waiting = 0;
    std::vector<std::filesystem::path> read;
    ModelReaderClient reader;  // used on the inspector's thread alone
};

void writeModel(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(reinterpret_cast<const char*>(bytes.data()),
                                                       static_cast<qint64>(bytes.size())) < 0)
        qFatal("cannot write %s", qPrintable(path));
}

#ifdef __linux__
// Our child processes that still run `program` (or have not been reaped).
int childrenRunning(const QString& program)
{
    int children = 0;
    for (QDirIterator proc(QStringLiteral("/proc")); proc.hasNext();) {
        QFile stat(proc.next() + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...", the name cut to 15 characters.
        const QString fields = QString::fromLatin1(stat.readAll());
        const qsizetype close = fields.lastIndexOf(QLatin1Char(')'));
        const QStringList after = fields.mid(close + 2).split(QLatin1Char(' '));
        if (after.size() > 1 && after[1].toLongLong() == ::getpid() &&
            program.startsWith(fields.mid(fields.indexOf(QLatin1Char('(')) + 1,
                                          close - fields.indexOf(QLatin1Char('(')) - 1)))
            ++children;
    }
    return children;
}
#endif

}  // namespace

class PlanWindowTest : public QObject, private PlanWindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        open();
        QVERIFY(!demo.isEmpty());
    }

    void cleanup()
    {
        if (gate)
            gate->release();  // the plan's end waits for the model in hand
        close();
        gate.reset();
    }

    void planShowsSquaresUntilTheOutlinesArrive()
    {
        holdModels();
        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {examples + QStringLiteral("/models")});
        QTRY_COMPARE(gate->waiting, 1);
        PlanCanvas& canvas = *plan->window().canvas();
        QCOMPARE(plan->window().summary(),
                 QString::fromUtf8("demo.nltrack \u2014 21 fundaments, 23 tubes, 0 footers\n"
                                   "reading models\u2026\nwould add 21 footers\n"
                                   "NoLimits directory: not chosen"));
        // The first small footer, tilted a little along its tube: a 1 m square, then its plinth,
        // 0.6 m wide at its foot.
        const auto smallWidth = [&canvas] { return canvas.scene().preview.front().bounds.width(); };
        const double squareWidth = smallWidth();
        QVERIFY2(std::abs(squareWidth - 1.0) < 0.01, qPrintable(QString::number(squareWidth)));

        // The window goes on: the user zooms while the models are read.
        const QPointF middle(canvas.width() / 2.0, canvas.height() / 2.0);
        QWheelEvent wheel(middle, canvas.mapToGlobal(middle), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&canvas, &wheel);
        const QTransform zoomed = canvas.worldToDevice();
        QVERIFY(plan->readingModels());

        gate->release();
        QTRY_VERIFY(!plan->readingModels());
        QCOMPARE(smallWidth(), 0.6 * squareWidth);
        QVERIFY(plan->window().summary().contains(
            QString::fromUtf8("\nsmall.3ds 0.60 \u00d7 0.60 \u00d7 0.60 m, ")));
        QCOMPARE(canvas.worldToDevice(), zoomed);  // the user's zoom stays
    }

    void newerInspectionCancelsTheOlderOne()
    {
        holdModels();
        h->click("buttonSelectInput", {demo});
        const QString older = h->modelDirectory(allModelFiles);
        h->click("buttonSelectDirectory", {older});
        QTRY_COMPARE(gate->waiting, 1);  // the older's first model in hand
        const QString newer = h->modelDirectory(allModelFiles);
        h->click("buttonSelectDirectory", {newer});
        gate->release();
        QTRY_VERIFY(!plan->readingModels());

        std::vector<std::filesystem::path> expected{toFileSystemPath(older) / "small.3ds"};
        for (const QString& file : allModelFiles)
            expected.push_back(toFileSystemPath(newer) / toFileSystemPath(file));
        QCOMPARE(gate->read, expected);
    }

    void opensOnLoadAndFollowsGenerate()
    {
        PlanWindow& window = plan->window();
        QVERIFY(!window.isVisible());
        h->click("buttonSelectInput", {demo});
        QVERIFY(window.isVisible());
        QVERIFY(window.testAttribute(Qt::WA_ShowWithoutActivating));
        QCOMPARE(window.frameGeometry(),
                 planWindowPlacement(h->window->frameGeometry(),
                                     h->window->screen()->availableGeometry())
                     .frame);
        QCOMPARE(window.windowTitle(), QString::fromUtf8("Plinthwright \u2014 Plan"));
        QCOMPARE(window.summary(),
                 QString::fromUtf8("demo.nltrack \u2014 21 fundaments, 23 tubes, 0 footers\n"
                                   "NoLimits directory: not chosen"));
        const PlanScene& scene = window.canvas()->scene();
        QCOMPARE(scene.fundaments.size(), std::size_t{21});
        QCOMPARE(scene.tubes.size(), std::size_t{23});

        // Inspecting the models previews every footer as an outline of its real model.
        h->click("buttonSelectDirectory", {examples + QStringLiteral("/models")});
        QTRY_VERIFY(!plan->readingModels());
        QVERIFY(window.summary().contains(
            QString::fromUtf8("small.3ds 0.60 \u00d7 0.60 \u00d7 0.60 m")));
        QVERIFY(window.summary().contains(QStringLiteral("would add 21 footers")));
        QCOMPARE(scene.preview.size(), std::size_t{21});
        QVERIFY(scene.footers.empty());
        // The small model is 0.6 m wide at its foot: so is its outline, not a unit square.
        QVERIFY(std::abs(scene.preview.front().bounds.width() - 0.6) < 0.1);

        // A choice changes the preview once it rests: small on the default model at 80 %, then
        // at 200 %.
        const auto smallestDefault = [&scene] {
            double width = 0.0;
            for (const PlanFooter& footer : scene.preview)
                if (footer.modelFile == "default.3ds" && footer.style == 0)
                    width = footer.bounds.width();
            return width;
        };
        h->boxes()[0].ownModel->click();
        QCOMPARE(smallestDefault(), 0.0);
        QTRY_VERIFY(smallestDefault() > 0.8);  // at least its 0.8 m, tilted along its tube
        const double atEighty = smallestDefault();
        h->boxes()[0].scale->setValue(200);
        QCOMPARE(smallestDefault(), atEighty);
        QTRY_VERIFY(std::abs(smallestDefault() - 2.5 * atEighty) < 1e-3);
        QCOMPARE(scene.preview.size(), std::size_t{21});
        h->boxes()[0].ownModel->click();
        QTRY_COMPARE(smallestDefault(), 0.0);

        QTemporaryDir simulator;
        h->click("buttonSelectNLDirectory", {simulator.path()});
        QVERIFY(window.summary().endsWith(QStringLiteral("NoLimits directory: ") +
                                          QDir::toNativeSeparators(simulator.path())));
        h->click("buttonGenerate");
        QVERIFY2(h->warnings.isEmpty(), qPrintable(h->warnings.join(QLatin1Char('\n'))));
        // Drawn once the copies are read: solid footers now, and the fundaments are gone, so a
        // second generate would add none.
        QVERIFY(plan->readingModels());
        QTRY_COMPARE(scene.footers.size(), std::size_t{21});
        QVERIFY(scene.preview.empty());
        QVERIFY2(window.summary().contains(QStringLiteral("Placed 21 footers (small 6, medium ")),
                 qPrintable(window.summary()));
        QVERIFY(window.summary().contains(
            QStringLiteral("replaced 21 fundaments, copied 5 models to ") +
            QDir::toNativeSeparators(simulator.path() + QStringLiteral("/objects/demo"))));
        QVERIFY(!window.summary().contains(QStringLiteral("doubled")));
        QVERIFY(window.summary().startsWith(
            QString::fromUtf8("demo.nltrack \u2014 0 fundaments, 23 tubes, 21 footers")));

        const QString saved = h->dir.filePath(QStringLiteral("saved.nltrack"));
        h->click("buttonSave", {saved});
        QVERIFY(
            window.summary().contains(QStringLiteral("Saved ") + QDir::toNativeSeparators(saved)));
    }

    void secondGenerateIsCountedAsDoubledAndReopensTheWindow()
    {
        QTemporaryDir simulator;
        h->click("buttonSelectNLDirectory", {simulator.path()});
        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {examples + QStringLiteral("/models")});
        h->get<QCheckBox>("deleteNativeFundaments")->click();  // keep them
        h->click("buttonGenerate");
        PlanWindow& window = plan->window();
        QTRY_VERIFY(!plan->readingModels());
        window.close();
        QVERIFY(!window.isVisible());
        const auto previewBounds = [&window] {
            std::vector<QRectF> bounds;
            for (const PlanFooter& footer : window.canvas()->scene().preview)
                bounds.push_back(footer.bounds);
            return bounds;
        };
        const std::vector<QRectF> aligned = previewBounds();
        QCOMPARE(aligned.size(), std::size_t{21});
        // Only a choice: the window stays closed and works nothing out for it.
        h->get<QCheckBox>("checkAlignTangent")->click();
        QTest::qWait(PlanCoordinator::previewDelayMs * 2);
        QVERIFY(!window.isVisible());
        QCOMPARE(previewBounds(), aligned);
        h->get<QCheckBox>("checkAlignTangent")->click();
        h->picks = QStringList{QStringLiteral("Add")};
        h->click("buttonGenerate");
        QVERIFY(window.isVisible());
        QVERIFY(window.summary().contains(QStringLiteral(", 21 footers doubled")));
        QTRY_COMPARE(window.canvas()->scene().footers.size(), std::size_t{42});
        // Generating again would place the same footers a third time: the preview is the
        // generation's own.
        QVERIFY(previewBounds() == aligned);
    }

    // After a generate the plan draws the track as generate left it, from what it kept of the
    // track before: each tube where it stands (one named a free node the track lacked, and
    // generate added that node), and what generating again would add (the first end of a tube
    // between two fundaments), as the core works them out afresh.
    void generatedTrackIsDrawnAsItStands()
    {
        Track track = makeRichTrack();
        addTube(TubeEndFundament, 0, 0, TubeEndFreeNode,
                static_cast<std::int32_t>(track.freeNodes.size()), 0, 1, 0, 0, track);
        QTemporaryDir simulator;
        h->click("buttonSelectNLDirectory", {simulator.path()});
        h->click("buttonSelectInput", {h->writeTrack(QStringLiteral("dangling.nltrack"), track)});
        h->click("buttonSelectDirectory", {h->modelDirectory(allModelFiles)});
        QTRY_VERIFY(!plan->readingModels());
        const std::size_t tubesBefore = plan->window().canvas()->scene().tubes.size();
        h->click("buttonGenerate");
        QVERIFY2(h->warnings.isEmpty(), qPrintable(h->warnings.join(QLatin1Char('\n'))));
        QTRY_VERIFY(!plan->readingModels());

        const Track& generated = h->window->session().track();
        const PlanScene& scene = plan->window().canvas()->scene();
        const PlanScene fresh = buildPlanScene(generated, PlanView::Top, {});
        QCOMPARE(scene.tubes, fresh.tubes);
        QCOMPARE(scene.tubes.size(), tubesBefore + 1);
        const std::vector<SceneryObject> again =
            footersGenerateWouldAdd(generated, h->window->session().previewOptions());
        // The first end of the tube between two fundaments, and the tube whose far end has
        // become a free node.
        QCOMPARE(again.size(), std::size_t{2});
        const std::vector<PlanFooter> expected =
            buildPlanFooters(generated, PlanView::Top, {}, again);
        QCOMPARE(scene.preview.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const Vector3 shown = scene.preview[i].position;
            const Vector3 placed = expected[i].position;
            QVERIFY(shown.x == placed.x && shown.y == placed.y && shown.z == placed.z);
        }
    }

    // Another track's models of the same names are named when replaced; the summary says what is
    // not saved, and names a ticked model that is missing instead of promising footers.
    void summarySaysWhatGenerateReplacedAndWhatIsNotSaved()
    {
        QTemporaryDir simulator;
        h->click("buttonSelectNLDirectory", {simulator.path()});
        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {examples + QStringLiteral("/models")});
        h->click("buttonGenerate");
        PlanWindow& window = plan->window();
        QVERIFY(!window.summary().contains(QStringLiteral("which differed")));
        QVERIFY(
            window.summary().endsWith(QStringLiteral("\nunsaved changes\nNoLimits directory: ") +
                                      QDir::toNativeSeparators(simulator.path())));

        h->replies = {QMessageBox::Discard};
        h->click("buttonReloadInput");
        QVERIFY(!window.summary().contains(QStringLiteral("unsaved changes")));
        h->click("buttonSelectDirectory", {h->modelDirectory(allModelFiles)});  // other models
        h->click("buttonGenerate");
        QVERIFY2(window.summary().contains(
                     QStringLiteral("copied 5 models to %1 (fundament-small.3ds, "
                                    "fundament-medium.3ds, fundament-large.3ds, "
                                    "fundament-xlarge.3ds, fundament-xxlarge.3ds), replaced %2, "
                                    "which differed")
                         .arg(QDir::toNativeSeparators(simulator.path() +
                                                       QStringLiteral("/objects/demo")),
                              QDir::toNativeSeparators(
                                  QStringLiteral("objects/demo/fundament-small.3ds")))),
                 qPrintable(window.summary()));
        h->click("buttonSave", {h->dir.filePath(QStringLiteral("saved.nltrack"))});
        QVERIFY(!window.summary().contains(QStringLiteral("unsaved changes")));

        // Large loses its own model and falls back on a default model that is not there.
        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory",
                 {h->modelDirectory({QStringLiteral("large.3ds"), QStringLiteral("default.3ds")})});
        const QString empty = h->modelDirectory({});
        h->click("buttonSelectDirectory", {empty});
        QTRY_VERIFY2(
            window.summary().contains(QStringLiteral("generate would refuse: the chosen footer "
                                                     "model \"%1/default.3ds\" is not there")
                                          .arg(empty)),
            qPrintable(window.summary()));
        QVERIFY(!window.summary().contains(QStringLiteral("would add")));
    }

    // The plan window is never active, yet its tooltips come without a click into it.
    void tooltipComesWhileTheMainWindowIsActive()
    {
        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {examples + QStringLiteral("/models")});
        QTRY_VERIFY(!plan->readingModels());
        h->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h->window.get()));
        PlanCanvas* canvas = plan->window().canvas();
        QVERIFY(QTest::qWaitForWindowExposed(&plan->window()));
        QVERIFY(!plan->window().isActiveWindow());
        // Zoomed in about the first footer, so that the pointer rests on it alone.
        const QPointF world = canvas->scene().preview.front().bounds.center();
        const QPointF pointer = canvas->worldToDevice().map(world);
        QWheelEvent wheel(pointer, canvas->mapToGlobal(pointer), QPoint(), QPoint(0, 360),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas, &wheel);
        const QPoint footer = canvas->worldToDevice().map(world).toPoint();
        const QString tip = canvas->toolTipAt(footer);
        QVERIFY(!tip.isEmpty());
        // Through the window system, as a real pointer arrives.
        QTest::mouseMove(plan->window().windowHandle(), canvas->mapTo(&plan->window(), footer));
        QTRY_COMPARE(QToolTip::text(), tip);
        QVERIFY(h->window->isActiveWindow());
    }

    void pointerZoomsAboutItselfAndNamesTheFooterUnderIt()
    {
        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {examples + QStringLiteral("/models")});
        QTRY_VERIFY(!plan->readingModels());
        PlanCanvas* canvas = plan->window().canvas();
        const PlanFooter& footer = canvas->scene().preview.front();
        const QPointF world = footer.bounds.center();

        const QPointF pointer = canvas->worldToDevice().map(world);
        QWheelEvent wheel(pointer, canvas->mapToGlobal(pointer), QPoint(), QPoint(0, 360),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        const double before = canvas->worldToDevice().m11();
        QApplication::sendEvent(canvas, &wheel);
        QVERIFY(canvas->worldToDevice().m11() > before * 1.9);
        const QPointF after = canvas->worldToDevice().map(world);
        QVERIFY(QLineF(after, pointer).length() < 1e-6);

        const QString tip = canvas->toolTipAt(pointer.toPoint());
        QVERIFY2(
            tip.contains(QString::fromStdString(footer.modelFile) + QStringLiteral(" at 100 %")),
            qPrintable(tip));
        QVERIFY(tip.contains(QStringLiteral("generate would add it")));
        QVERIFY(canvas->toolTipAt(QPoint(2, 2)).isEmpty());

        // From the front the footers stand at the ground, below the track: y up is drawn upward.
        plan->window().findChild<QAction*>(QStringLiteral("planSideView"))->trigger();
        QCOMPARE(canvas->scene().view, PlanView::Side);
        QCOMPARE(canvas->scene().preview.size(), std::size_t{21});
        for (const PlanFooter& standing : canvas->scene().preview)
            QVERIFY(standing.bounds.bottom() > canvas->scene().curve.front().bounds.bottom());
    }

    void wheelZoomSchedulesACrispRepaint()
    {
        h->click("buttonSelectInput", {demo});
        PlanCanvas* canvas = plan->window().canvas();
        QTRY_VERIFY_WITH_TIMEOUT(!canvas->crispRepaintPending(), 2000);  // the window's first size
        const QPointF pointer(canvas->width() / 2.0, canvas->height() / 2.0);
        QWheelEvent wheel(pointer, canvas->mapToGlobal(pointer), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas, &wheel);
        QVERIFY(canvas->crispRepaintPending());
        QTRY_VERIFY_WITH_TIMEOUT(!canvas->crispRepaintPending(), 2000);
    }

    void slowPlanIsPaintedCrisplyAfterTheZoomInTheBackground()
    {
        // Thousands of long crossing lines: far more than a frame's worth of painting.
        PlanScene scene;
        for (int i = 0; i < 20000; ++i) {
            const double x = (i * 37) % 500, y = (i * 53) % 400;
            scene.tubes.emplace_back(x, y, 500 - y, x * 0.8);
        }
        scene.bounds = QRectF(0, 0, 500, 400);
        PlanCanvas canvas;
        canvas.resize(640, 480);
        canvas.setScene(scene, true);
        canvas.show();
        QVERIFY(QTest::qWaitForWindowExposed(&canvas));
        QTRY_VERIFY_WITH_TIMEOUT(!canvas.crispRepaintPending(), 5000);
        canvas.grab();

        const QPointF pointer(200, 150);
        for (const int notch : {120, 120, -120}) {
            QWheelEvent wheel(pointer, canvas.mapToGlobal(pointer), QPoint(), QPoint(0, notch),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&canvas, &wheel);
            canvas.grab();  // the stand-in
        }
        QVERIFY(canvas.crispRepaintPending());
        QTRY_VERIFY_WITH_TIMEOUT(!canvas.crispRepaintPending(), 5000);

        QImage expected(canvas.size(), QImage::Format_ARGB32_Premultiplied);
        {
            QPainter painter(&expected);
            PlanLayer().draw(painter, scene, canvas.worldToDevice(), canvas.size());
            paintLegend(painter, QPointF(canvas.width() - legendSize().width() - 8, 8), scene.view,
                        false);
        }
        QCOMPARE(canvas.grab().toImage().convertToFormat(QImage::Format_RGB32),
                 expected.convertToFormat(QImage::Format_RGB32));
    }

    void unreadableModelIsNamedAndDrawnAsASquare()
    {
        const QString models = h->modelDirectory({});
        touchFiles(models, {QStringLiteral("small.3ds")});
        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {models});
        PlanWindow& window = plan->window();
        QTRY_VERIFY(!plan->readingModels());
        QVERIFY(window.summary().contains(QStringLiteral("small.3ds: not a 3ds model")));
        const PlanScene& scene = window.canvas()->scene();
        QVERIFY(!scene.preview.empty());
        QVERIFY(std::abs(scene.preview.front().bounds.width() - 1.0) < 0.5);
    }

    // Models within the file's bounds that once took the window minutes and gigabytes, and
    // aborted it on the switch to 3D.
    void modelsThatExplodedReadersAreNamedAsSquaresInTime()
    {
        const QString models = h->modelDirectory({});
        writeModel(models + QStringLiteral("/small.3ds"), instancedModel(512, 20000));
        writeModel(models + QStringLiteral("/medium.3ds"), tiltedGridModel(true));
        h->click("buttonSelectInput", {demo});
        QElapsedTimer clock;
        clock.start();
        h->click("buttonSelectDirectory", {models});
        QTRY_VERIFY_WITH_TIMEOUT(!plan->readingModels(), 10000);
        QVERIFY(clock.elapsed() < 10000);
        const QString summary = plan->window().summary();
        QVERIFY2(summary.contains(
                     QStringLiteral("small.3ds: more than 131072 vertices with their instances")),
                 qPrintable(summary));
        QVERIFY2(summary.contains(QStringLiteral(
                     "medium.3ds: more than 100000000 vertex comparisons to smooth its normals")),
                 qPrintable(summary));
        QVERIFY(!plan->window().canvas()->scene().preview.empty());
    }

    // The reader is a stand-in that misbehaves as each model tells it, under limits made small for
    // the test; the window answers while it reads.
    void aReaderThatFailsLeavesSquaresAndTheWindowGoesOn()
    {
        const ScopedVariable reader(modelReaderVariable, PLINTHWRIGHT_READER_STAND_IN);
        // A deadline far off: the spinning reader must reach its processor time first, however
        // busy the machine. The deadline itself is tested through the client and plan.
        const ScopedVariable limits(readerLimitsVariable, "1,256,30000");
        plan.reset();
        plan = std::make_unique<PlanCoordinator>(h->window->session(), *h->window);
        const QString models = h->modelDirectory({});
        // Without a limit to its address space, a reader that allocates would take 4 GiB.
        const std::pair<const char*, std::string> files[] = {
            {"small.3ds", "abort"},
            {"medium.3ds", "spin"},
            {"large.3ds", "model"},
            {"xlarge.3ds", addressSpaceLimitsApply() ? "allocate" : "model"},
            {"xxlarge.3ds", "model"},
        };
        for (const auto& [file, content] : files)
            writeModel(models + QLatin1Char('/') + QLatin1String(file),
                       {content.begin(), content.end()});
        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {models});
        QVERIFY(plan->readingModels());
        h->boxes()[4].ownModel->click();  // the window takes a choice meanwhile
        QVERIFY(!h->boxes()[4].ownModel->isChecked());
        QTRY_VERIFY_WITH_TIMEOUT(!plan->readingModels(), 30000);
        const QString summary = plan->window().summary();
        QStringList expected{
            QStringLiteral("small.3ds: the reader stopped: it crashed (%1)")
                .arg(QString::fromStdString(crashText(6))),
            QStringLiteral("medium.3ds: took longer than 1 s to read"),
            QString::fromUtf8("xxlarge.3ds 1.00 \u00d7 0.00 \u00d7 1.00 m")};
        if (addressSpaceLimitsApply())
            expected << QStringLiteral("xlarge.3ds: needs more than 256 MiB");
        for (const QString& text : expected)
            QVERIFY2(summary.contains(text),
                     qPrintable(summary + QStringLiteral(" lacks ") + text));
    }

#ifdef __linux__
    // Closing the window ends the plan's reader process at once, even in the middle of a model.
    void closingEndsTheReaderWithinASecond()
    {
        const ScopedVariable reader(modelReaderVariable, PLINTHWRIGHT_READER_STAND_IN);
        plan.reset();
        plan = std::make_unique<PlanCoordinator>(h->window->session(), *h->window);
        const QString models = h->modelDirectory({});
        writeModel(models + QStringLiteral("/small.3ds"), {'s', 'l', 'e', 'e', 'p'});
        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {models});
        const QString standIn = QFileInfo(QStringLiteral(PLINTHWRIGHT_READER_STAND_IN)).fileName();
        QTRY_COMPARE(childrenRunning(standIn), 1);
        QElapsedTimer clock;
        clock.start();
        plan.reset();
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(childrenRunning(standIn), 0);
    }
#endif

    void threeDViewWithoutOpenGLSaysWhyAndThePlanGoesOn()
    {
        // The offscreen platform these tests run on cannot show OpenGL in a window.
        h->click("buttonSelectInput", {demo});
        PlanWindow& window = plan->window();
        window.findChild<QAction*>(QStringLiteral("planThreeDView"))->trigger();
        QVERIFY(window.threeDShown());
        QVERIFY(window.view3d()->view() == nullptr);
        QVERIFY2(window.view3d()->message().startsWith(QStringLiteral("No 3D view: ")),
                 qPrintable(window.view3d()->message()));
        QVERIFY(!window.view3d()->message().contains(QLatin1Char('\n')));
        window.findChild<QAction*>(QStringLiteral("planSideView"))->trigger();
        QCOMPARE(window.canvas()->scene().view, PlanView::Side);
        QCOMPARE(window.canvas()->scene().tubes.size(), std::size_t{23});
        QVERIFY(window.canvas()->isVisible());
    }

private:
    // A plan whose models are read only once the gate is released.
    void holdModels()
    {
        gate.emplace();
        plan.reset();
        plan = std::make_unique<PlanCoordinator>(h->window->session(), *h->window, std::ref(*gate));
    }

    std::optional<ModelGate> gate;
};

PW_WINDOW_TEST(PlanWindowTest)

}  // namespace pw::test

#include "PlanWindowTest.moc"
