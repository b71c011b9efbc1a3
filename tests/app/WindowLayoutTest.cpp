// The window as it first shows: which controls are usable, their start values, the tab order.

#include "WindowHarness.h"

#include <QMenuBar>
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
                                               "checkAlignTangent"}));
    }

private:
    std::optional<WindowHarness> h;
};

PW_WINDOW_TEST(WindowLayoutTest)

}  // namespace pw::test

#include "WindowLayoutTest.moc"
