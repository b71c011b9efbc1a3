// The plan window goes beside the main window and never over it, both on the screen.

#include "WindowHarness.h"

#include "WindowPlacement.h"

#include <QtTest>

namespace pw::test {

class WindowPlacementTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void planGoesWhereTheScreenHasRoom()
    {
        const QRect hd(0, 0, 1920, 1080), portrait(0, 0, 1024, 1280);
        const struct {
            QRect main, screen, plan;
            bool behind;
        } rows[] = {
            {{100, 50, 602, 500}, hd, {710, 50, 720, 500}, false},  // right
            {{2000, 100, 602, 500}, {1920, 0, 1280, 1024}, {2610, 100, 590, 500}, false},
            {{100, 700, 602, 300}, hd, {710, 680, 720, 400}, false},   // raised off the bottom
            {{100, 0, 602, 1200}, hd, {710, 0, 720, 1080}, false},     // no taller than the screen
            {{1200, 100, 602, 500}, hd, {472, 100, 720, 500}, false},  // left
            {{500, 100, 602, 500}, {0, 0, 1400, 1080}, {0, 100, 492, 500}, false},
            {{211, 50, 602, 500}, portrait, {211, 558, 720, 500}, false},  // below
            {{350, 50, 602, 500}, portrait, {304, 558, 720, 500}, false},
            {{211, 700, 602, 500}, portrait, {211, 192, 720, 500}, false},  // above
            // No room on any side: behind, showing where there is most room.
            {{211, 100, 602, 500}, {0, 0, 1024, 768}, {664, 100, 360, 500}, true},
            {{300, 100, 602, 500}, {0, 0, 1000, 768}, {0, 100, 360, 500}, true},
            {{0, 0, 300, 200}, {0, 0, 320, 240}, {0, 0, 320, 240}, true},
        };
        for (const auto& row : rows) {
            const PlanPlacement placed = planWindowPlacement(row.main, row.screen);
            QCOMPARE(placed.frame, row.plan);
            QCOMPARE(placed.behindMain, row.behind);
        }
    }

    void planNeverCoversTheMainWindowNorLeavesTheScreen()
    {
        int apart = 0;
        for (const QRect screen : {QRect(0, 0, 1920, 1080), QRect(0, 0, 1024, 768),
                                   QRect(0, 0, 800, 600), QRect(1920, 0, 1280, 1024)}) {
            for (int x = screen.left(); x + 602 <= screen.right() + 1; x += 53) {
                for (int y = screen.top(); y + 500 <= screen.bottom() + 1; y += 47) {
                    const QRect main(x, y, 602, 500);
                    const PlanPlacement placed = planWindowPlacement(main, screen);
                    QVERIFY(screen.contains(placed.frame));
                    QVERIFY(placed.behindMain || !placed.frame.intersects(main));
                    apart += placed.behindMain ? 0 : 1;
                }
            }
        }
        QVERIFY(apart > 400);  // most places leave a side with room
    }

    void mainWindowStartsWhereThePairFits()
    {
        const QSize main(602, 500);
        QCOMPARE(mainWindowStart(main, QRect(0, 0, 1920, 1080)), QPoint(295, 290));
        QCOMPARE(mainWindowStart(main, QRect(1920, 0, 1280, 1024)), QPoint(1920, 262));
        QCOMPARE(mainWindowStart(main, QRect(0, 0, 800, 600)), QPoint(0, 50));
        // 1024 wide: room for the plan at its narrowest only once the main window is at the edge.
        const QRect small(0, 0, 1024, 768);
        QCOMPARE(mainWindowStart(main, small), QPoint(0, 134));
        QVERIFY(!planWindowPlacement(QRect(mainWindowStart(main, small), main), small).behindMain);
    }

    void restoredPlaceIsKeptOnTheScreen()
    {
        const QRect screen(0, 0, 1920, 1080);
        QCOMPARE(keptInside(QRect(1201, 10, 720, 500), screen), QRect(1200, 10, 720, 500));
        QCOMPARE(keptInside(QRect(-30, -5, 720, 500), screen), QRect(0, 0, 720, 500));
        QCOMPARE(keptInside(QRect(100, 900, 2000, 500), screen), QRect(0, 580, 1920, 500));
    }
};

PW_WINDOW_TEST(WindowPlacementTest)

}  // namespace pw::test

#include "WindowPlacementTest.moc"
