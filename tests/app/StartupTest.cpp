// Started with a track as its argument, on a first start, the plan window opens beside the main
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
    void planOpensBesideTheMainWindow()
    {
        QSettings(QSettings::defaultFormat(), QSettings::UserScope,
                  QString::fromLatin1(organisationName),
                  QString::fromLatin1(settingsApplicationName))
            .clear();
        QTemporaryDir dir;
        const QString demo = dir.filePath(QStringLiteral("demo.nltrack"));
        QVERIFY(QFile::copy(QStringLiteral(PLINTHWRIGHT_EXAMPLES_DIR "/demo.nltrack"), demo));

        const StartedWindows started = startWindows({QStringLiteral("plinthwright"), demo});
        PlanWindow& plan = started.plan->window();
        QCOMPARE(started.main->session().trackFile(), demo);
        QVERIFY(QTest::qWaitForWindowExposed(&plan));
        const QRect screen = started.main->screen()->availableGeometry();
        const auto main = [&] { return started.main->frameGeometry(); };
        const QByteArray where = QStringLiteral("main %1,%2, plan %3,%4 %5x%6 on %7x%8")
                                     .arg(main().x())
                                     .arg(main().y())
                                     .arg(plan.frameGeometry().x())
                                     .arg(plan.frameGeometry().y())
                                     .arg(plan.width())
                                     .arg(plan.height())
                                     .arg(screen.width())
                                     .arg(screen.height())
                                     .toLatin1();
        QTRY_VERIFY2(!plan.frameGeometry().intersects(main()), where);
        QVERIFY2(screen.contains(main()) && screen.contains(plan.frameGeometry()), where);
        QVERIFY2(plan.frameGeometry().width() >= 360, where);
    }
};

PW_WINDOW_TEST(StartupTest)

}  // namespace pw::test

#include "StartupTest.moc"
