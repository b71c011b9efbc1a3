// The window says where you are: the track and its unsaved mark in the title, the last generate
// and the NoLimits directory in the result line, the plan window brought back on request, its
// summary whole at any size, and the save dialog back again after "No".

#include "WindowHarness.h"

#include "PlanCanvas.h"
#include "PlanCoordinator.h"
#include "PlanWindow.h"
#include "ResultLine.h"
#include "footers/FooterGeneration.h"

#include <QAction>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QWindow>
#include <QtTest>

#include <memory>
#include <optional>

namespace pw::test {

class WhereYouAreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        h.emplace();
        h->window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h->window.get()));
        plan = std::make_unique<PlanCoordinator>(h->window->session(), *h->window);
        demo = h->copyExample(QStringLiteral("demo.nltrack"));
        QVERIFY(!demo.isEmpty());
    }

    void cleanup()
    {
        plan.reset();
        h.reset();
    }

    void titleNamesTheTrackAndFollowsUnsavedWork()
    {
        QCOMPARE(h->window->windowTitle(), QStringLiteral("Plinthwright"));
        const QString odd = h->dir.filePath(QStringLiteral("loop[*]1.nltrack"));
        QVERIFY(QFile::copy(demo, odd));
        const struct {
            QString file;
            QString clean;
            QString unsaved;
        } rows[] = {
            {demo, QString::fromUtf8("demo.nltrack \u2014 Plinthwright"),
             QString::fromUtf8("demo.nltrack* \u2014 Plinthwright")},
            // The file's own "[*]" is no unsaved mark.
            {odd, QString::fromUtf8("loop[*]1.nltrack \u2014 Plinthwright"),
             QString::fromUtf8("loop[*]1.nltrack* \u2014 Plinthwright")},
        };
        QTemporaryDir simulator;
        h->click("buttonSelectNLDirectory", {simulator.path()});
        for (const auto& row : rows) {
            h->click("buttonSelectInput", {row.file});
            h->get<QLineEdit>("textObjDir")->setText(QStringLiteral("loop"));
            QCOMPARE(h->window->windowFilePath(), row.file);
            QCOMPARE(h->window->windowHandle()->title(), row.clean);
            h->click("buttonSelectDirectory", {h->modelDirectory(allModelFiles)});
            h->click("buttonGenerate");
            QVERIFY2(h->warnings.isEmpty(), qPrintable(h->warnings.join(QLatin1Char('\n'))));
            QVERIFY(h->window->isWindowModified());
            QCOMPARE(h->window->windowHandle()->title(), row.unsaved);
            h->click("buttonSave", {h->dir.filePath(QStringLiteral("saved.nltrack"))});
            QCOMPARE(h->window->windowHandle()->title(), row.clean);
        }
        // Keeping the fundaments, generate places footers again; a reload discards them.
        h->click("buttonReloadInput");
        h->get<QCheckBox>("deleteNativeFundaments")->click();
        h->get<QLineEdit>("textObjDir")->setText(QStringLiteral("loop"));
        h->click("buttonGenerate");
        QCOMPARE(h->window->windowHandle()->title(), rows[1].unsaved);
        h->replies = {QMessageBox::Discard};
        h->click("buttonReloadInput");
        QCOMPARE(h->window->windowHandle()->title(), rows[1].clean);
    }

    void resultLineSaysWhatGeneratePlacedAndWhere()
    {
        auto* line = h->get<ResultLine>("labelResult");
        auto* button = h->get<QPushButton>("buttonSelectNLDirectory");
        QCOMPARE(line->fullText(),
                 QStringLiteral("NoLimits directory: not chosen yet; generate asks for it"));
        QCOMPARE(button->toolTip(), QStringLiteral("NoLimits directory: not chosen"));

        // A long path, so that the line must give way.
        QTemporaryDir base;
        const QString simulator =
            base.filePath(QStringLiteral("a rather long directory of games/NoLimits Coaster 2"));
        QVERIFY(QDir().mkpath(simulator));
        h->click("buttonSelectNLDirectory", {simulator});
        QCOMPARE(line->fullText(), QStringLiteral("NoLimits directory: ") + simulator);
        QCOMPARE(button->toolTip(), QStringLiteral("NoLimits directory: ") + simulator);

        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {h->modelDirectory(allModelFiles)});
        h->click("buttonGenerate");
        const QString installed = simulator + QStringLiteral("/objects/demo");
        QCOMPARE(line->fullText(),
                 QStringLiteral("21 footers placed, 5 models copied to ") + installed);
        QCOMPARE(line->toolTip(),
                 line->fullText() + QStringLiteral("\nNoLimits directory: ") + simulator);
        // Shown as wide as the line is: the sentence whole, the path's end after "…".
        QVERIFY2(line->text().startsWith(
                     QString::fromUtf8("21 footers placed, 5 models copied to \u2026/")),
                 qPrintable(line->text()));
        QVERIFY(line->text().endsWith(QStringLiteral("/objects/demo")));
        QVERIFY(line->fontMetrics().horizontalAdvance(line->text()) <=
                line->contentsRect().width());
        // Wider, more of the path.
        h->window->resize(1600, h->window->height());
        QTRY_COMPARE(line->text(), line->fullText());
    }

    void planWindowComesBackWithItsButtonAndCtrlP()
    {
        PlanWindow& window = plan->window();
        auto* button = h->get<QPushButton>("buttonShowPlan");
        QVERIFY(!button->isEnabled());
        QVERIFY(QTest::qWaitForWindowActive(h->window.get()));
        QTest::keyClick(h->window.get(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(!window.isVisible());  // nothing to show yet

        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {QStringLiteral(PLINTHWRIGHT_EXAMPLES_DIR "/models")});
        QTRY_VERIFY(!plan->readingModels());
        QVERIFY(window.isVisible());
        const auto previewBounds = [&window] {
            std::vector<QRectF> bounds;
            for (const PlanFooter& footer : window.canvas()->scene().preview)
                bounds.push_back(footer.bounds);
            return bounds;
        };
        const std::vector<QRectF> tilted = previewBounds();
        QCOMPARE(tilted.size(), std::size_t{21});

        window.close();
        // A choice made while it was closed shows once it is back. (The offscreen platform
        // activates every window shown.)
        h->get<QCheckBox>("checkAlignTangent")->click();
        h->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h->window.get()));
        QTest::keyClick(h->window.get(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(window.isVisible());
        QCOMPARE(previewBounds().size(), std::size_t{21});
        QVERIFY(previewBounds() != tilted);
        window.close();
        h->click("buttonShowPlan");
        QVERIFY(window.isVisible());
    }

    void legendCanBeHiddenAndStaysHidden()
    {
        h->click("buttonSelectInput", {demo});
        PlanCanvas& canvas = *plan->window().canvas();
        plan->window().resize(900, 600);
        QTRY_VERIFY(canvas.layout().legend.has_value());
        const QRectF withLegend = canvas.layout().drawing;
        QVERIFY(!QRectF(*canvas.layout().legend, legendSize()).intersects(withLegend));

        plan->window().findChild<QAction*>(QStringLiteral("planLegend"))->trigger();
        QVERIFY(!canvas.layout().legend);
        QVERIFY(canvas.layout().drawing.width() > withLegend.width());
        // Fitted again to the whole canvas.
        QCOMPARE(canvas.worldToDevice(),
                 fitTransform(canvas.scene().bounds, canvas.layout().drawing));

        plan.reset();
        plan = std::make_unique<PlanCoordinator>(h->window->session(), *h->window);
        QVERIFY(!plan->window().legendShown());
        QVERIFY(!plan->window().canvas()->legendShown());
    }

    // However long the file's name and however small the window, the summary can be read whole:
    // wrapped, never cut, scrolled where it is taller than a third of the window.
    void summaryShowsAllItsTextAtAnySize()
    {
        const QString longName =
            h->dir.filePath(QString(120, QLatin1Char('n')) + QStringLiteral(".nltrack"));
        QVERIFY(QFile::copy(demo, longName));
        QTemporaryDir simulator;
        h->click("buttonSelectNLDirectory", {simulator.path()});
        h->click("buttonSelectInput", {longName});
        h->click("buttonSelectDirectory", {QStringLiteral(PLINTHWRIGHT_EXAMPLES_DIR "/models")});
        h->get<QCheckBox>("deleteNativeFundaments")->click();
        h->click("buttonGenerate");
        PlanWindow& window = plan->window();
        auto* summary = window.findChild<QTextEdit*>(QStringLiteral("planSummary"));
        QVERIFY(summary->isReadOnly());
        QVERIFY(summary->textInteractionFlags() & Qt::TextSelectableByMouse);
        QTRY_VERIFY(window.summary().contains(QStringLiteral("\nwould add 21 footers\n")));
        QVERIFY(window.summary().contains(QStringLiteral("\nunsaved changes\n")));
        QVERIFY(
            window.summary().endsWith(QStringLiteral("NoLimits directory: ") + simulator.path()));

        for (const QSize size : {QSize(1200, 900), QSize(360, 400), QSize(700, 320)}) {
            window.resize(size);
            QTRY_COMPARE(window.width(), size.width());
            QCOMPARE(summary->horizontalScrollBar()->maximum(), 0);
            QVERIFY(summary->height() <= window.height() / 3);
            const int hidden = summary->verticalScrollBar()->maximum();
            const bool whole =
                summary->document()->size().height() <= summary->viewport()->height() + 1;
            QVERIFY2(whole == (hidden == 0),
                     qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
        }
        // Large enough, nothing is scrolled away.
        window.resize(1200, 900);
        QTRY_COMPARE(summary->verticalScrollBar()->maximum(), 0);
    }

    // A directory without a single model cannot have a class ticked: the summary says what the
    // directory lacks, not that nothing is ticked.
    void emptyModelDirectoryIsNamedWithoutBlamingTheBoxes()
    {
        h->click("buttonSelectInput", {demo});
        const QString empty = h->modelDirectory({});
        h->click("buttonSelectDirectory", {empty});
        QTRY_VERIFY(!plan->readingModels());
        QCOMPARE(h->boxStates(), QStringLiteral("d- d- d | d- d- d | d- d- d | d- d- d | d- d- d"));
        QVERIFY(plan->window().summary().contains(QStringLiteral("no footer models in ") + empty));
        QVERIFY2(!plan->window().summary().contains(QStringLiteral("would refuse")),
                 qPrintable(plan->window().summary()));
    }

    void noToReplacingGoesBackToTheSaveDialog()
    {
        QTemporaryDir simulator;
        h->click("buttonSelectNLDirectory", {simulator.path()});
        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {h->modelDirectory(allModelFiles)});
        h->click("buttonGenerate");
        const QString existing = h->dir.filePath(QStringLiteral("mine.nltrack"));
        touchFiles(h->dir.path(), {QStringLiteral("mine.nltrack")});
        const QString other = h->dir.filePath(QStringLiteral("other.nltrack"));
        h->dialogs.clear();
        h->replies = {QMessageBox::No};
        h->click("buttonSave", {h->dir.filePath(QStringLiteral("mine")), other});
        const QString filter = QStringLiteral(" | NoLimits Coaster Files (*.nltrack)");
        QCOMPARE(h->dialogs,
                 (QStringList{QStringLiteral("Save NlTrack file | ") +
                                  QDir(h->dir.path()).absolutePath() + filter,
                              QStringLiteral("Save NlTrack file | ") + existing + filter}));
        QCOMPARE(QFileInfo(existing).size(), qint64{18});  // kept
        QVERIFY(QFileInfo(other).size() > 18);
        QVERIFY(!h->window->isWindowModified());
    }

private:
    std::optional<WindowHarness> h;
    std::unique_ptr<PlanCoordinator> plan;
    QString demo;
};

PW_WINDOW_TEST(WhereYouAreTest)

}  // namespace pw::test

#include "WhereYouAreTest.moc"
