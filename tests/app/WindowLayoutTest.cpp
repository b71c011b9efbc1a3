// The window as it first shows: its frame, the start state of every control and the tab order.

#include "WindowHarness.h"
#include "WindowTests.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

namespace pw::test {

class WindowLayoutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { window = makeWindow(log); }
    void cleanup() { window.reset(); }

    void windowFrame()
    {
        QCOMPARE(window->objectName(), QStringLiteral("frmMain"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Plinthwright"));
        QCOMPARE(window->centralWidget()->objectName(), QStringLiteral("centralWidget"));
        QVERIFY(window->findChild<QMenuBar*>() == nullptr);
        QVERIFY(window->findChild<QToolBar*>() == nullptr);
        QVERIFY(window->findChild<QStatusBar*>() == nullptr);

        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->width(), 602);
        QCOMPARE(window->height(), window->minimumSizeHint().height());
    }

    void onlyInputAndFundamentOptionsUsableAtStart()
    {
        const QStringList usable{"textInputFile",     "buttonSelectInput",
                                 "buttonSelectNLDirectory", "deleteNativeFundaments",
                                 "checkAlignTangent", "groupBox",
                                 "groupBox_2",        "textObjDir",
                                 "text3dsDir",        "buttonSelectDirectory"};
        const QStringList ownDisabled{"buttonReloadInput", "buttonGenerate", "buttonSave",
                                      "groupOptions", "buttonSelectRefresh"};
        for (const QString& name : usable)
            QVERIFY2(ownEnabled(window->findChild<QWidget*>(name)), qPrintable(name));
        for (const QString& name : ownDisabled)
            QVERIFY2(!ownEnabled(window->findChild<QWidget*>(name)), qPrintable(name));
        // Inside "Object options" only the text fields and the select button wait for a load.
        QVERIFY(!widget<QLineEdit>(*window, "textObjDir")->isEnabled());
        for (const SizeClassBoxes& b : sizeClassBoxes(*window)) {
            QVERIFY(!ownEnabled(b.ownModel) && !b.ownModel->isChecked());
            QVERIFY(!ownEnabled(b.defaultModel) && !b.defaultModel->isChecked());
            QVERIFY(!ownEnabled(b.scale));
        }
        QVERIFY(widget<QCheckBox>(*window, "deleteNativeFundaments")->isChecked());
        QVERIFY(widget<QCheckBox>(*window, "checkAlignTangent")->isChecked());
        QCOMPARE(widget<QLabel>(*window, "textNumberFooter")->text(), QStringLiteral("0"));

        const std::vector<int> startScales{80, 110, 200, 280, 330};
        const std::vector<SizeClassBoxes> boxes = sizeClassBoxes(*window);
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            QCOMPARE(boxes[i].scale->value(), startScales[i]);
            QCOMPARE(boxes[i].scale->minimum(), 10);
            QCOMPARE(boxes[i].scale->maximum(), 1000);
        }
    }

    void tabOrderFollowsCreationOrder()
    {
        const QStringList expected{
            "textInputFile",        "buttonSelectInput",     "buttonReloadInput",
            "textObjDir",           "text3dsDir",            "buttonSelectDirectory",
            "buttonSelectRefresh",  "useSmallTube",          "useMediumTube",
            "useSmallTubeDefault",  "useMediumTubeDefault",  "useLargeTubeDefault",
            "useXLargeTubeDefault", "useXXLargeTubeDefault", "useLargeTube",
            "useXLargeTube",        "scaleSmallTube",        "scaleMediumTube",
            "scaleLargeTube",       "scaleXLargeTube",       "scaleXXLargeTube",
            "useXXLargeTube",       "buttonGenerate",        "buttonSave",
            "buttonSelectNLDirectory", "deleteNativeFundaments", "checkAlignTangent"};
        QStringList chain;
        QWidget* start = widget<QWidget>(*window, "textInputFile");
        QWidget* w = start;
        do {
            const bool tabbable = (w->focusPolicy() & Qt::TabFocus) != 0;
            if (tabbable && !w->objectName().startsWith(QLatin1String("qt_")))
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != start && chain.size() <= expected.size());
        QCOMPARE(chain, expected);
    }

private:
    std::shared_ptr<PromptLog> log = std::make_shared<PromptLog>();
    std::unique_ptr<frmMain> window;
};

std::unique_ptr<QObject> makeWindowLayoutTest()
{
    return std::make_unique<WindowLayoutTest>();
}

}  // namespace pw::test

#include "WindowLayoutTest.moc"
