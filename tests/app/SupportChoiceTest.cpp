// Choices for single supports, made in the plan: picked by a click on a footer or a fundament,
// chosen by key or context menu, previewed at once, honoured by generate, and undone like any
// other step.

#include "PlanCanvas.h"
#include "PlanWindow.h"
#include "PlanWindowFixture.h"

#include "footers/FooterGeneration.h"
#include "plan/PlanScene.h"
#include "qtbridge/QtPaths.h"

#include <QMenu>
#include <QtTest>

namespace pw::test {

class SupportChoiceTest : public QObject, private PlanWindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(openExposed(true));
        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {h->modelDirectory(allModelFiles)});
        QTRY_VERIFY(!plan->readingModels());
        QTRY_VERIFY(plan->window().summary().contains(QStringLiteral("\nwould add 21 footers\n")));
        canvas = plan->window().canvas();
        // A support in the middle of the preview's order, picked where its footer is drawn.
        const TrackSession& session = h->window->session();
        const std::vector<std::int32_t> supports =
            footerSupports(session.track(), session.previewOptions());
        QCOMPARE(supports.size(), std::size_t{21});
        support = supports[10];
    }

    void cleanup()
    {
        canvas = nullptr;
        close();
    }

    void keysChooseForThePickedSupport_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("wouldAdd");
        QTest::newRow("Del") << int(Qt::Key_Delete) << QStringLiteral("no footer") << 20;
        QTest::newRow("0") << int(Qt::Key_0) << QStringLiteral("no footer") << 20;
        QTest::newRow("1") << int(Qt::Key_1) << QStringLiteral("the small model") << 21;
        QTest::newRow("5") << int(Qt::Key_5) << QStringLiteral("the xx-large model") << 21;
    }

    void keysChooseForThePickedSupport()
    {
        QFETCH(int, key);
        QFETCH(QString, chosen);
        QFETCH(int, wouldAdd);
        pick(support);
        QCOMPARE(plan->pickedSupport(), std::optional<std::int32_t>(support));
        QTest::keyClick(canvas, static_cast<Qt::Key>(key));
        QTRY_VERIFY2(plan->window().summary().contains(
                         QStringLiteral("\nwould add %1 footers\n").arg(wouldAdd)),
                     qPrintable(plan->window().summary()));
        QVERIFY(plan->window().summary().contains(
            QStringLiteral("support %1: %2 (").arg(support).arg(chosen)));
        QVERIFY(h->window->isWindowModified());
        activateMain();
        // Backspace: back to its class, a step of its own.
        QTest::keyClick(canvas, Qt::Key_Backspace);
        QVERIFY(h->window->session().supportChoices().empty());
        QTest::keyClick(h->window.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(h->window->session().supportChoices().size(), std::size_t{1});
        QTest::keyClick(h->window.get(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(h->window->session().supportChoices().empty());
        QVERIFY(!h->window->isWindowModified());
    }

    void aSupportWithoutFooterGetsNoneAndTheOthersAreUnchanged()
    {
        // What generate places without a choice, worked out by the core on a copy.
        Track plain = h->window->session().track();
        GenerationOptions options = h->window->session().previewOptions();
        const QString plainSimulator = simulator->filePath(QStringLiteral("plain"));
        QVERIFY(QDir().mkpath(plainSimulator));
        options.nolimitsDirectory = toFileSystemPath(plainSimulator);
        // The footer on the chosen support, as the preview orders them.
        const SceneryObject leftOut = footersGenerateWouldAdd(plain, options)[10];
        QVERIFY(generateFooters(plain, options));
        std::vector<SceneryObject> expected = plain.sceneryObjects;
        const auto found = std::find(expected.begin(), expected.end(), leftOut);
        QVERIFY(found != expected.end());
        expected.erase(found);

        pick(support);
        QTest::keyClick(canvas, Qt::Key_Delete);
        h->click("buttonGenerate");
        QVERIFY2(h->warnings.isEmpty(), qPrintable(h->warnings.join(QLatin1Char('\n'))));
        const Track& generated = h->window->session().track();
        // Each footer is named after its fundament, which one kept fundament renumbers; where
        // and what each stands is the same.
        QCOMPARE(generated.sceneryObjects.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            QCOMPARE(generated.sceneryObjects[i].textB, expected[i].textB);
            QVERIFY(generated.sceneryObjects[i].matrix == expected[i].matrix);
        }
        QCOMPARE(h->window->session().lastReport()->footersLeftOut, 1);
        QVERIFY(plan->window().summary().contains(QStringLiteral("left out 1 support")));
        // The fundament that kept no footer is the one left, renumbered to the first place.
        QCOMPARE(generated.fundaments.size(), std::size_t{1});
        QVERIFY(h->window->session().supportChoices().find(0) != nullptr);

        // Undone, the choice is back on its own fundament.
        activateMain();
        QTest::keyClick(h->window.get(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(h->window->session().supportChoices().find(support) != nullptr);
    }

    void contextMenuOffersTheClassesWithAModel()
    {
        // Medium without any model: it cannot lend one.
        h->click("buttonSelectDirectory",
                 {h->modelDirectory({QStringLiteral("small.3ds"), QStringLiteral("large.3ds"),
                                     QStringLiteral("xlarge.3ds"), QStringLiteral("xxlarge.3ds")})});
        QTRY_VERIFY(!plan->readingModels());
        // It falls back on the default model until that is unticked too.
        h->boxes()[1].defaultModel->setChecked(false);
        const QPoint at = pointOf(support);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, canvas->mapToGlobal(at));
        QApplication::sendEvent(canvas, &event);
        QMenu* menu = plan->supportMenu();
        QVERIFY(menu != nullptr);
        QStringList items;
        for (const QAction* action : menu->actions())
            items << action->text() + (action->isEnabled() ? QString() : QStringLiteral(" -"));
        QCOMPARE(items, (QStringList{QStringLiteral("No footer here"),
                                     QStringLiteral("The small model here"),
                                     QStringLiteral("The medium model here -"),
                                     QStringLiteral("The large model here"),
                                     QStringLiteral("The x-large model here"),
                                     QStringLiteral("The xx-large model here"),
                                     QStringLiteral("As its size class -")}));
        menu->actions()[0]->trigger();
        QCOMPARE(*h->window->session().supportChoices().find(support), SupportChoice::noFooter());
        menu->close();
    }

    void openingAnotherTrackAsksAndForgetsTheChoices()
    {
        pick(support);
        QTest::keyClick(canvas, Qt::Key_Delete);
        h->replies = {QMessageBox::Cancel};
        h->window->openTrackFile(h->window->session().trackFile());
        QCOMPARE(h->questions.size(), 1);
        QVERIFY2(h->questions[0].contains(QStringLiteral("footer choices for single supports")),
                 qPrintable(h->questions[0]));
        QCOMPARE(h->window->session().supportChoices().size(), std::size_t{1});
        h->replies = {QMessageBox::Discard};
        h->window->openTrackFile(h->window->session().trackFile());
        QVERIFY(h->window->session().supportChoices().empty());
        QCOMPARE(h->window->session().undoStack().count(), 0);
        QCOMPARE(plan->pickedSupport(), std::nullopt);
    }

private:
    void activateMain()
    {
        h->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h->window.get()));
    }
    QPoint pointOf(std::int32_t fundament) const
    {
        const Vector3 p = h->window->session().track().fundaments[std::size_t(fundament)].position;
        return canvas->worldToDevice().map(projected(canvas->scene().view, p)).toPoint();
    }
    void pick(std::int32_t fundament)
    {
        QTest::mouseClick(canvas, Qt::LeftButton, {}, pointOf(fundament));
    }

    PlanCanvas* canvas = nullptr;
    std::int32_t support = 0;
};

PW_WINDOW_TEST(SupportChoiceTest)

}  // namespace pw::test

#include "SupportChoiceTest.moc"
