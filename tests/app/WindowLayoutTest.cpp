// The widget tree as the window first shows it: names, texts, start states, layout and tab order.

#include "WindowHarness.h"
#include "WindowTests.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
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
        for (const SizeClassBoxes& boxes : sizeClassBoxes(*window)) {
            QVERIFY(!ownEnabled(boxes.ownModel) && !boxes.ownModel->isChecked());
            QVERIFY(!ownEnabled(boxes.defaultModel) && !boxes.defaultModel->isChecked());
            QVERIFY(!ownEnabled(boxes.scale));
        }
        QVERIFY(widget<QCheckBox>(*window, "deleteNativeFundaments")->isChecked());
        QVERIFY(widget<QCheckBox>(*window, "checkAlignTangent")->isChecked());
    }

    void textsAndValues()
    {
        const std::vector<std::pair<const char*, const char*>> buttonTexts{
            {"buttonSelectInput", "select..."},     {"buttonReloadInput", "reload"},
            {"buttonSelectDirectory", "select..."}, {"buttonSelectRefresh", "refresh"},
            {"buttonGenerate", "generate"},         {"buttonSave", "save"},
            {"buttonSelectNLDirectory", "select Nolimits directory"},
            {"useSmallTube", "use small tube fundament - small.3ds"},
            {"useMediumTube", "use medium tube fundament - medium.3ds"},
            {"useLargeTube", "use large tube fundament - large.3ds"},
            {"useXLargeTube", "use x-large tube fundament - xlarge.3ds"},
            {"useXXLargeTube", "use xx-large tube fundament - xxlarge.3ds"},
            {"useXXLargeTubeDefault", "use default.3ds"},
            {"deleteNativeFundaments", "delete native fundaments"},
            {"checkAlignTangent", "align to support tangential"}};
        for (const auto& [name, text] : buttonTexts)
            QCOMPARE(widget<QAbstractButton>(*window, name)->text(), QString::fromUtf8(text));

        const std::vector<std::pair<const char*, const char*>> labelTexts{
            {"label", "Input *.nltrack File"},
            {"label_3", "Number of fundaments"},
            {"textNumberFooter", "0"},
            {"label_7", "Directoryname for objects"},
            {"label_2", "Directory, that contains the *.3ds files"},
            {"label_4", "scale value"},
            {"label_6", "%"},
            {"label_11", "%"}};
        for (const auto& [name, text] : labelTexts)
            QCOMPARE(widget<QLabel>(*window, name)->text(), QString::fromUtf8(text));
        QVERIFY(widget<QLabel>(*window, "textNumberFooter")->font().bold());
        QCOMPARE(widget<QGroupBox>(*window, "groupBox_2")->title(), QStringLiteral("Track details"));
        QCOMPARE(widget<QGroupBox>(*window, "groupOptions")->title(), QStringLiteral("Object options"));
        QCOMPARE(widget<QGroupBox>(*window, "groupBox")->title(), QStringLiteral("Fundament options"));
        QCOMPARE(widget<QLabel>(*window, "label_5")->alignment(),
                 Qt::AlignRight | Qt::AlignTrailing | Qt::AlignVCenter);

        const std::vector<int> startScales{80, 110, 200, 280, 330};
        const std::vector<SizeClassBoxes> boxes = sizeClassBoxes(*window);
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            QCOMPARE(boxes[i].scale->value(), startScales[i]);
            QCOMPARE(boxes[i].scale->minimum(), 10);
            QCOMPARE(boxes[i].scale->maximum(), 1000);
            QCOMPARE(boxes[i].scale->singleStep(), 1);
        }
    }

    void layoutSpacingMarginsAndCells()
    {
        for (const QLayout* layout : window->findChildren<QLayout*>()) {
            if (layout->objectName().startsWith(QLatin1String("qt_")) || layout->objectName().isEmpty())
                continue;
            QVERIFY2(layout->spacing() == 6, qPrintable(layout->objectName()));
        }
        for (const char* name : {"gridLayout_2", "gridLayout_3", "gridLayout_5", "gridLayout_6"})
            QCOMPARE(window->findChild<QLayout*>(QLatin1String(name))->contentsMargins(),
                     QMargins(11, 11, 11, 11));

        auto* grid = window->findChild<QGridLayout*>(QStringLiteral("gridLayout_2"));
        const std::vector<std::tuple<const char*, int, int>> cells{
            {"groupBox_2", 1, 1}, {"groupOptions", 2, 2}, {"groupBox", 4, 1}, {"label_5", 5, 1}};
        for (const auto& [name, row, rowSpan] : cells) {
            int r = -1, c = -1, rs = -1, cs = -1;
            grid->getItemPosition(grid->indexOf(window->findChild<QWidget*>(QLatin1String(name))),
                                  &r, &c, &rs, &cs);
            QCOMPARE(std::make_tuple(r, c, rs, cs), std::make_tuple(row, 0, rowSpan, 1));
        }
        auto* sizes = window->findChild<QGridLayout*>(QStringLiteral("gridLayout_7"));
        const std::vector<SizeClassBoxes> boxes = sizeClassBoxes(*window);
        for (int row = 1; row <= 5; ++row) {
            const SizeClassBoxes& b = boxes[static_cast<std::size_t>(row - 1)];
            QCOMPARE(sizes->itemAtPosition(row, 0)->widget(), b.ownModel);
            QCOMPARE(sizes->itemAtPosition(row, 2)->widget(), b.defaultModel);
            QCOMPARE(sizes->itemAtPosition(row, 3)->widget(), b.scale);
            QCOMPARE(qobject_cast<QLabel*>(sizes->itemAtPosition(row, 4)->widget())->text(),
                     QStringLiteral("%"));
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
