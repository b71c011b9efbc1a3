// The window as it first shows: which controls are usable, their start values, the tab order.

#include "WindowHarness.h"

#include <QGridLayout>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

namespace pw::test {

class WindowLayoutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { h.emplace(); }

    void startState()
    {
        QVERIFY(!h->window->findChild<QMenuBar*>() && !h->window->findChild<QToolBar*>() &&
                !h->window->findChild<QStatusBar*>());
        h->window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h->window.get()));
        QCOMPARE(h->window->size(), QSize(602, h->window->minimumSizeHint().height()));

        QCOMPARE(h->focusChain(true),
                 (QStringList{"textInputFile", "buttonSelectInput", "buttonSelectNLDirectory",
                              "deleteNativeFundaments", "checkAlignTangent"}));
        QVERIFY(h->get<QCheckBox>("deleteNativeFundaments")->isChecked());
        QVERIFY(h->get<QCheckBox>("checkAlignTangent")->isChecked());
        QCOMPARE(h->text("textNumberFooter"), QStringLiteral("0"));
        QCOMPARE(h->boxStates(), QStringLiteral("d- d- d | d- d- d | d- d- d | d- d- d | d- d- d"));
        QList<int> scales;
        for (const SizeClassBoxes& b : h->boxes()) {
            scales << b.scale->value();
            QCOMPARE(b.scale->minimum(), 10);
            QCOMPARE(b.scale->maximum(), 1000);
        }
        QCOMPARE(scales, (QList<int>{80, 110, 200, 280, 330}));
        // The form's numbers are the core's, which the command line and the session use too.
        for (const TubeSizeClass sizeClass : allSizeClasses) {
            const SizeClassBoxes b = h->boxes()[static_cast<std::size_t>(sizeClass)];
            QCOMPARE(b.scale->value(), defaultScalePercent(sizeClass));
            QCOMPARE(b.scale->minimum(), minimumScalePercent);
            QCOMPARE(b.scale->maximum(), maximumScalePercent);
            QCOMPARE(h->window->session().footerChoice(sizeClass).scalePercent,
                     defaultScalePercent(sizeClass));
        }
    }

    // The form's size-class rows are the table's, in its order, each named by its row's stem and
    // saying its class and model file; the form has none beyond them.
    void sizeClassTableMatchesTheForm()
    {
        const auto* grid = h->window->findChild<QGridLayout*>(QStringLiteral("gridLayout_7"));
        QVERIFY(grid);
        const std::vector<SizeClassBoxes> boxes = h->boxes();  // found by the rows' stems
        QStringList tableNames;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const SizeClass& row = sizeClasses[i];
            const SizeClassBoxes& b = boxes[i];
            QCOMPARE(b.ownModel->text(),
                     QStringLiteral("use %1 tube fundament - %2")
                         .arg(QLatin1String(row.label), QLatin1String(row.ownModelFile)));
            QCOMPARE(b.defaultModel->text(), QStringLiteral("use %1").arg(defaultModelFile));
            QCOMPARE(b.scale->value(), row.defaultScalePercent);
            // Own model, spacer, default model, scale, "%"; row 0 holds the heading.
            const std::pair<QWidget*, int> cells[] = {
                {b.ownModel, 0}, {b.defaultModel, 2}, {b.scale, 3}};
            for (const auto& [widget, column] : cells) {
                int atRow = -1, atColumn = -1, rowSpan = 0, columnSpan = 0;
                grid->getItemPosition(grid->indexOf(widget), &atRow, &atColumn, &rowSpan,
                                      &columnSpan);
                QCOMPARE(atRow, static_cast<int>(i) + 1);
                QCOMPARE(atColumn, column);
                tableNames << widget->objectName();
            }
        }
        const QRegularExpression sizeClassBox(
            QStringLiteral("^(use\\w+Tube(Default)?|scale\\w+Tube)$"));
        QStringList formNames;
        for (const QWidget* widget : h->window->findChildren<QWidget*>())
            if (sizeClassBox.match(widget->objectName()).hasMatch())
                formNames << widget->objectName();
        formNames.sort();
        tableNames.sort();
        QCOMPARE(formNames, tableNames);
    }

    void tabOrderFollowsCreationOrder()
    {
        QCOMPARE(h->focusChain(), (QStringList{"textInputFile",
                                               "buttonSelectInput",
                                               "buttonReloadInput",
                                               "textObjDir",
                                               "text3dsDir",
                                               "buttonSelectDirectory",
                                               "buttonSelectRefresh",
                                               "useSmallTube",
                                               "useMediumTube",
                                               "useSmallTubeDefault",
                                               "useMediumTubeDefault",
                                               "useLargeTubeDefault",
                                               "useXLargeTubeDefault",
                                               "useXXLargeTubeDefault",
                                               "useLargeTube",
                                               "useXLargeTube",
                                               "scaleSmallTube",
                                               "scaleMediumTube",
                                               "scaleLargeTube",
                                               "scaleXLargeTube",
                                               "scaleXXLargeTube",
                                               "useXXLargeTube",
                                               "buttonGenerate",
                                               "buttonSave",
                                               "buttonSelectNLDirectory",
                                               "deleteNativeFundaments",
                                               "checkAlignTangent",
                                               "buttonShowPlan"}));
    }

private:
    std::optional<WindowHarness> h;
};

PW_WINDOW_TEST(WindowLayoutTest)

}  // namespace pw::test

#include "WindowLayoutTest.moc"
