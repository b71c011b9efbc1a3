// The window says where you are: the track and its unsaved mark in the title, the last generate
// and the NoLimits directory in the result line, the plan window brought back on request with its
// summary whole at any size, and the save dialog back again after "No".

#include "PlanWindowFixture.h"

#include "PlanCanvas.h"
#include "PlanWindow.h"
#include "ResultLine.h"

#include <QAction>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QWindow>
#include <QtTest>

#include <memory>
#include <optional>

namespace pw::test {

class WhereYouAreTest : public QObject, private PlanWindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(openExposed(true)); }
    void cleanup() { close(); }

    void titleNamesTheTrackAndFollowsUnsavedWork()
    {
        QCOMPARE(h->window->windowTitle(), QStringLiteral("Plinthwright"));
        // A "[*]" of the file's own is no unsaved mark.
        const QString odd = h->dir.filePath(QStringLiteral("loop[*]1.nltrack"));
        QVERIFY(QFile::copy(demo, odd));
        for (const QString& file : {demo, odd}) {
            const QString name = QFileInfo(file).fileName();
            h->click("buttonSelectInput", {file});
            h->get<QLineEdit>("textObjDir")->setText(QStringLiteral("loop"));
            QCOMPARE(h->window->windowFilePath(), file);
            QCOMPARE(h->window->windowHandle()->title(),
                     name + QString::fromUtf8(" \u2014 Plinthwright"));
            h->click("buttonSelectDirectory", {h->modelDirectory(allModelFiles)});
            h->click("buttonGenerate");
            QCOMPARE(h->window->windowHandle()->title(),
                     name + QString::fromUtf8("* \u2014 Plinthwright"));
            h->click("buttonSave", {h->dir.filePath(QStringLiteral("saved.nltrack"))});
            QCOMPARE(h->window->windowHandle()->title(),
                     name + QString::fromUtf8(" \u2014 Plinthwright"));
        }
    }

    void resultLineSaysWhatGeneratePlacedAndWhere()
    {
        auto* line = h->get<ResultLine>("labelResult");
        // A long path, so that the line must give way.
        const QString nolimits =
            simulator->filePath(QStringLiteral("a rather long directory of games/NoLimits 2"));
        QVERIFY(QDir().mkpath(nolimits));
        h->click("buttonSelectNLDirectory", {nolimits});
        QCOMPARE(line->fullText(), QStringLiteral("NoLimits directory: ") + nolimits);
        QCOMPARE(h->get("buttonSelectNLDirectory")->toolTip(), line->fullText());

        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {h->modelDirectory(allModelFiles)});
        h->click("buttonGenerate");
        QCOMPARE(line->fullText(), QStringLiteral("21 footers placed, 5 models copied to ") +
                                       nolimits + QStringLiteral("/objects/demo"));
        QCOMPARE(line->toolTip(),
                 line->fullText() + QStringLiteral("\nNoLimits directory: ") + nolimits);
        // The sentence whole, whole directories of the path's end after "…".
        QVERIFY2(line->text().startsWith(
                     QString::fromUtf8("21 footers placed, 5 models copied to \u2026/")) &&
                     line->text().endsWith(QStringLiteral("/objects/demo")),
                 qPrintable(line->text()));
        QVERIFY(line->fontMetrics().horizontalAdvance(line->text()) <=
                line->contentsRect().width());
        const QString windows = QStringLiteral("C:\\NoLimits 2\\objects\\demo");
        const QString sentence = QStringLiteral("copied to %1");
        QCOMPARE(elidedSentence(sentence, windows, line->fontMetrics(),
                                line->fontMetrics().horizontalAdvance(
                                    QString::fromUtf8("copied to \u2026\\objects\\demo"))),
                 QString::fromUtf8("copied to \u2026\\objects\\demo"));
        h->window->resize(1600, h->window->height());
        QTRY_COMPARE(line->text(), line->fullText());
    }

    void planWindowComesBackWithCtrlPAndItsButton()
    {
        PlanWindow& window = plan->window();
        QVERIFY(QTest::qWaitForWindowActive(h->window.get()));
        QTest::keyClick(h->window.get(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(!window.isVisible() && !h->get("buttonShowPlan")->isEnabled());  // no track yet

        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {QStringLiteral(PLINTHWRIGHT_EXAMPLES_DIR "/models")});
        QTRY_VERIFY(!plan->readingModels());
        const auto firstBounds = [&window] {
            return window.canvas()->scene().preview.front().bounds;
        };
        const QRectF tilted = firstBounds();
        window.close();
        // A choice made while it was closed shows once it is back. (The offscreen platform
        // activates each window shown.)
        h->get<QCheckBox>("checkAlignTangent")->click();
        h->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h->window.get()));
        QTest::keyClick(h->window.get(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(window.isVisible());
        QVERIFY(firstBounds() != tilted);
        window.close();
        h->click("buttonShowPlan");
        QVERIFY(window.isVisible());

        // The legend hidden, the plan takes its room; so it stays on the next start.
        PlanCanvas& canvas = *window.canvas();
        QVERIFY(canvas.layout().legend);
        window.findChild<QAction*>(QStringLiteral("planLegend"))->trigger();
        QVERIFY(!canvas.layout().legend);
        plan = std::make_unique<PlanCoordinator>(h->window->session(), *h->window);
        QVERIFY(!plan->window().canvas()->legendShown());
    }

    // However long the file's name and however small the window, the summary can be read whole:
    // wrapped, never cut, scrolled where it is taller than a third of the window.
    void summaryShowsAllItsTextAtAnySize()
    {
        const QString longName =
            h->dir.filePath(QString(120, QLatin1Char('n')) + QStringLiteral(".nltrack"));
        QVERIFY(QFile::copy(demo, longName));
        h->click("buttonSelectInput", {longName});
        h->click("buttonSelectDirectory", {QStringLiteral(PLINTHWRIGHT_EXAMPLES_DIR "/models")});
        h->get<QCheckBox>("deleteNativeFundaments")->click();
        h->click("buttonGenerate");
        PlanWindow& window = plan->window();
        QTRY_VERIFY(window.summary().contains(QStringLiteral("\nwould add 21 footers\n")));
        QVERIFY(window.summary().endsWith(
            QStringLiteral("\nunsaved changes\nNoLimits directory: ") + simulator->path()));
        auto* summary = window.findChild<QTextEdit*>(QStringLiteral("planSummary"));
        QVERIFY(summary->isReadOnly() &&
                summary->textInteractionFlags() & Qt::TextSelectableByMouse);
        // Large enough, all of it shows; small, it scrolls.
        for (const QSize size : {QSize(1200, 900), QSize(360, 400)}) {
            window.resize(size);
            QTRY_COMPARE(window.size(), size);
            QCOMPARE(summary->horizontalScrollBar()->maximum(), 0);
            QVERIFY(summary->height() <= size.height() / 3);
            const bool whole =
                summary->document()->size().height() <= summary->viewport()->height() + 1;
            QCOMPARE(whole, summary->verticalScrollBar()->maximum() == 0);
            QCOMPARE(whole, size.width() == 1200);
        }
    }

    // No box can be ticked in a directory without a single model: the summary names what the
    // directory lacks instead.
    void emptyModelDirectoryIsNamedWithoutBlamingTheBoxes()
    {
        h->click("buttonSelectInput", {demo});
        const QString empty = h->modelDirectory({});
        h->click("buttonSelectDirectory", {empty});
        QTRY_VERIFY(!plan->readingModels());
        QVERIFY(
            plan->window().summary().contains(QStringLiteral("\nno footer models in ") + empty));
        QVERIFY(!plan->window().summary().contains(QStringLiteral("would refuse")));
    }

    void noToReplacingGoesBackToTheSaveDialog()
    {
        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {h->modelDirectory(allModelFiles)});
        h->click("buttonGenerate");
        touchFiles(h->dir.path(), {QStringLiteral("mine.nltrack")});
        const QString existing = h->dir.filePath(QStringLiteral("mine.nltrack"));
        const QString other = h->dir.filePath(QStringLiteral("other.nltrack"));
        h->dialogs.clear();
        h->replies = {QMessageBox::No};
        h->click("buttonSave", {h->dir.filePath(QStringLiteral("mine")), other});
        const QString filter = QStringLiteral(" | NoLimits Coaster Files (*.nltrack)");
        QCOMPARE(h->dialogs, (QStringList{"Save NlTrack file | " + h->dir.path() + filter,
                                          "Save NlTrack file | " + existing + filter}));
        QCOMPARE(QFileInfo(existing).size(), qint64{18});  // kept
        QVERIFY(QFileInfo(other).size() > 18);
        QVERIFY(!h->window->isWindowModified());
    }

};

PW_WINDOW_TEST(WhereYouAreTest)

}  // namespace pw::test

#include "WhereYouAreTest.moc"
