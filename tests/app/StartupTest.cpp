// The program as it starts with a track as its argument: the plan window opens beside the main
// window, never over it, and both lie on the screen. Run on screens of several sizes.

#include "WindowHarness.h"

#include "ApplicationNames.h"
#include "PlanCoordinator.h"
#include "PlanWindow.h"
#include "Startup.h"

#include <QScreen>
#include <QSettings>
#include <QtTest>

namespace pw::test {

class StartupTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void planOpensBesideTheMainWindowStartedWithATrack()
    {
        // No place of the plan window remembered, as on a first start.
        QSettings(QSettings::defaultFormat(), QSettings::UserScope,
                  QString::fromLatin1(organisationName),
                  QString::fromLatin1(settingsApplicationName))
            .clear();
        QTemporaryDir dir;
        const QString demo = dir.filePath(QStringLiteral("demo.nltrack"));
        QVERIFY(QFile::copy(QStringLiteral(PLINTHWRIGHT_EXAMPLES_DIR "/demo.nltrack"), demo));

        const StartedWindows started = startWindows({QStringLiteral("plinthwright"), demo});
        const frmMain& main = *started.main;
        PlanWindow& plan = started.plan->window();
        QCOMPARE(main.session().trackFile(), demo);
        QVERIFY(plan.isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(&plan));
        const QRect screen = main.screen()->availableGeometry();
        const auto where = [&] {
            const auto rect = [](const QRect& r) {
                return QStringLiteral("%1,%2 %3x%4")
                    .arg(r.x())
                    .arg(r.y())
                    .arg(r.width())
                    .arg(r.height());
            };
            return QStringLiteral("screen %1, main %2, plan %3")
                .arg(rect(screen), rect(main.frameGeometry()), rect(plan.frameGeometry()));
        };
        QTRY_VERIFY2(!plan.frameGeometry().intersects(main.frameGeometry()), qPrintable(where()));
        QVERIFY2(screen.contains(main.frameGeometry()), qPrintable(where()));
        QVERIFY2(screen.contains(plan.frameGeometry()), qPrintable(where()));
        QVERIFY2(plan.frameGeometry().width() >= 360, qPrintable(where()));
    }
};

PW_WINDOW_TEST(StartupTest)

}  // namespace pw::test

#include "StartupTest.moc"
