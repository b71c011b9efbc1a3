// Where the windows go: the plan window beside the main window and never over it, both on the
// screen, for screens and main windows of every shape.

#include "WindowHarness.h"

#include "WindowPlacement.h"

#include <QtTest>

namespace pw::test {

class WindowPlacementTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void planGoesWhereTheScreenHasRoom()
    {
        const QRect hd(0, 0, 1920, 1080);
        const QRect portrait(0, 0, 1024, 1280);
        const struct {
            const char* what;
            QRect main;
            QRect screen;
            QRect plan;
            bool behind;
        } rows[] = {
            {"right", {100, 50, 602, 500}, hd, {710, 50, 720, 500}, false},
            {"right, narrowed",
             {100, 50, 602, 500},
             {0, 0, 1280, 1024},
             {710, 50, 570, 500},
             false},
            {"right, on a second screen",
             {2000, 100, 602, 500},
             {1920, 0, 1280, 1024},
             {2610, 100, 590, 500},
             false},
            {"right, raised off the bottom", {100, 700, 602, 300}, hd, {710, 680, 720, 400}, false},
            {"right, no taller than the screen",
             {100, 0, 602, 1200},
             hd,
             {710, 0, 720, 1080},
             false},
            {"left", {1200, 100, 602, 500}, hd, {472, 100, 720, 500}, false},
            {"left, narrowed", {500, 100, 602, 500}, {0, 0, 1400, 1080}, {0, 100, 492, 500}, false},
            {"below", {211, 50, 602, 500}, portrait, {211, 558, 720, 500}, false},
            {"below, moved in from the right edge",
             {350, 50, 602, 500},
             portrait,
             {304, 558, 720, 500},
             false},
            {"above", {211, 700, 602, 500}, portrait, {211, 192, 720, 500}, false},
            // 1024 x 768 with the main window in the middle: no side has room.
            {"behind, showing right",
             {211, 100, 602, 500},
             {0, 0, 1024, 768},
             {664, 100, 360, 500},
             true},
            {"behind, showing left",
             {300, 100, 602, 500},
             {0, 0, 1000, 768},
             {0, 100, 360, 500},
             true},
            {"behind, on a screen narrower than the plan",
             {0, 0, 300, 200},
             {0, 0, 320, 240},
             {0, 0, 320, 240},
             true},
        };
        for (const auto& row : rows) {
            const PlanPlacement placement = planWindowPlacement(row.main, row.screen);
            QVERIFY2(placement.frame == row.plan && placement.behindMain == row.behind,
                     qPrintable(QStringLiteral("%1: %2,%3 %4x%5%6")
                                    .arg(QLatin1String(row.what))
                                    .arg(placement.frame.x())
                                    .arg(placement.frame.y())
                                    .arg(placement.frame.width())
                                    .arg(placement.frame.height())
                                    .arg(placement.behindMain ? " behind" : "")));
        }
    }

    // Whatever the main window's place and size, the plan lies on the screen, and apart from
    // the main window unless it lies behind it.
    void planNeverCoversTheMainWindowNorLeavesTheScreen()
    {
        const QRect screens[] = {{0, 0, 1920, 1080},
                                 {0, 0, 1024, 768},
                                 {0, 0, 800, 600},
                                 {1920, 0, 1280, 1024},
                                 {0, 0, 1024, 1280}};
        int apart = 0;
        for (const QRect& screen : screens) {
            for (int x = screen.left(); x + 602 <= screen.right() + 1; x += 53) {
                for (int y = screen.top(); y + 500 <= screen.bottom() + 1; y += 47) {
                    const QRect main(x, y, 602, 500);
                    const PlanPlacement placement = planWindowPlacement(main, screen);
                    const QString where = QStringLiteral("main at %1,%2 on %3 x %4")
                                              .arg(x)
                                              .arg(y)
                                              .arg(screen.width())
                                              .arg(screen.height());
                    QVERIFY2(screen.contains(placement.frame), qPrintable(where));
                    QVERIFY2(placement.behindMain || !placement.frame.intersects(main),
                             qPrintable(where));
                    QVERIFY2(placement.frame.width() >= 360 || placement.behindMain,
                             qPrintable(where));
                    apart += placement.behindMain ? 0 : 1;
                }
            }
        }
        QVERIFY(apart > 400);  // most places leave a side with room
    }

    // The main window starts where the plan window fits beside it, even on a 1024-wide screen.
    void mainWindowStartsWhereThePairFits()
    {
        const QSize main(602, 500);
        QCOMPARE(mainWindowStart(main, QRect(0, 0, 1920, 1080)), QPoint(295, 290));
        QCOMPARE(mainWindowStart(main, QRect(1920, 0, 1280, 1024)), QPoint(1920, 262));
        QCOMPARE(mainWindowStart(main, QRect(0, 0, 1024, 768)), QPoint(0, 134));
        QCOMPARE(mainWindowStart(main, QRect(0, 0, 800, 600)), QPoint(0, 50));
        QCOMPARE(mainWindowStart(QSize(602, 300), QRect(0, 30, 1920, 1050)), QPoint(295, 355));
        for (const QRect screen : {QRect(0, 0, 1920, 1080), QRect(0, 0, 1024, 768)}) {
            const QRect started(mainWindowStart(main, screen), main);
            QVERIFY(!planWindowPlacement(started, screen).behindMain);
        }
    }

    void restoredPlaceIsKeptOnTheScreen()
    {
        const QRect screen(0, 0, 1920, 1080);
        QCOMPARE(keptInside(QRect(1201, 10, 720, 500), screen), QRect(1200, 10, 720, 500));
        QCOMPARE(keptInside(QRect(-30, -5, 720, 500), screen), QRect(0, 0, 720, 500));
        QCOMPARE(keptInside(QRect(100, 900, 2000, 500), screen), QRect(0, 580, 1920, 500));
        QCOMPARE(keptInside(QRect(100, 100, 720, 500), screen), QRect(100, 100, 720, 500));
    }
};

PW_WINDOW_TEST(WindowPlacementTest)

}  // namespace pw::test

#include "WindowPlacementTest.moc"
