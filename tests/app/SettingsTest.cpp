// The simulator directory: "/" on a first run, remembered across window lifetimes under the
// settings store's own application key.

#include "ApplicationNames.h"
#include "PlanCoordinator.h"
#include "PlanWindow.h"
#include "WindowHarness.h"

#include <QAction>
#include <QSettings>
#include <QtTest>

namespace pw::test {

namespace {

QSettings store(const char* application)
{
    return QSettings(QSettings::defaultFormat(), QSettings::UserScope,
                     QString::fromLatin1(organisationName), QString::fromLatin1(application));
}

QString storedSimulatorDir()
{
    return store(settingsApplicationName).value(QStringLiteral("frmMain/nolimitsDir")).toString();
}

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void storeIsAFileOfTheTestsNotTheUsersSettings()
    {
        const QSettings s = store(settingsApplicationName);
        QCOMPARE(s.format(), QSettings::IniFormat);
        QVERIFY2(s.fileName().startsWith(QDir::tempPath()), qPrintable(s.fileName()));
    }

    void chosenSimulatorDirectoryOutlivesTheWindow()
    {
        WindowHarness h;
        const QString simulator = h.dir.path();
        QCOMPARE(h.dialogStart("buttonSelectInput"), QStringLiteral("/"));
        h.click("buttonSelectNLDirectory", {simulator});
        QCOMPARE(h.dialogs.back(), QStringLiteral("Select NoLimits directory | / | "
                                                  "ShowDirsOnly|DontResolveSymlinks"));
        QCOMPARE(h.dialogStart("buttonSelectInput"), simulator);

        h.reopen();
        QCOMPARE(storedSimulatorDir(), simulator);
        QVERIFY(store(applicationName).allKeys().isEmpty());
        QCOMPARE(h.dialogStart("buttonSelectInput"), simulator);
        h.window->openTrackFile(h.writeTrack(QStringLiteral("t.nltrack"), makeNewTrack()));
        QCOMPARE(h.dialogStart("buttonSelectDirectory"), simulator);

        // A cancelled choice keeps the value in the window and in the store.
        h.click("buttonSelectNLDirectory");
        QCOMPARE(h.dialogStart("buttonSelectDirectory"), simulator);
        h.reopen();
        QCOMPARE(storedSimulatorDir(), simulator);
    }

    // The model directory, the two options and the plan window's place and view come back too.
    void choicesAndPlanPlaceOutliveTheWindow()
    {
        WindowHarness h;
        const QString models = h.modelDirectory({QStringLiteral("small.3ds")});
        h.get<QCheckBox>("deleteNativeFundaments")->click();
        const QString track = h.writeTrack(QStringLiteral("t.nltrack"), makeRichTrack());
        QPoint placed;
        {
            const PlanCoordinator plan(h.window->session(), *h.window);
            h.window->openTrackFile(track);
            h.click("buttonSelectDirectory", {models});
            plan.window().findChild<QAction*>(QStringLiteral("planSideView"))->trigger();
            plan.window().move(plan.window().pos() + QPoint(40, 30));
            placed = plan.window().pos();
        }

        h.reopen();
        QCOMPARE(h.text("text3dsDir"), models);
        QVERIFY(!h.get<QCheckBox>("deleteNativeFundaments")->isChecked());
        QVERIFY(h.get<QCheckBox>("checkAlignTangent")->isChecked());
        const PlanCoordinator plan(h.window->session(), *h.window);
        QCOMPARE(plan.window().view(), PlanView::Side);
        h.window->openTrackFile(track);
        QCOMPARE(h.boxStates(), QStringLiteral("e+ d- d | d- d- d | d- d- d | d- d- d | d- d- d"));
        QCOMPARE(plan.window().pos(), placed);
    }
};

PW_WINDOW_TEST(SettingsTest)

}  // namespace pw::test

#include "SettingsTest.moc"
