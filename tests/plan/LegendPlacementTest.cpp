#include "plan/LegendPlacement.h"

#include "plan/PlanPainter.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

TEST(LegendPlacement, TakesTheSideThatLeavesTheDrawingLargest)
{
    const QSizeF legend = legendSize();
    // A square plan on a wide canvas: the legend at the right.
    CanvasLayout layout = canvasLayout({1280, 800}, {0, 0, 900, 900}, true);
    EXPECT_EQ(layout.drawing, QRectF(16, 16, 1232 - legend.width(), 768));
    EXPECT_EQ(layout.legend, QPointF(1272 - legend.width(), 8));
    // A long plan on a tall, narrow canvas: the legend at the foot.
    layout = canvasLayout({400, 800}, {0, 0, 900, 100}, true);
    EXPECT_EQ(layout.drawing, QRectF(16, 16, 368, 752 - legend.height()));
    EXPECT_EQ(layout.legend, QPointF(392 - legend.width(), 792 - legend.height()));
    // Hidden, or no room for both: the plan takes the whole canvas.
    EXPECT_EQ(canvasLayout({1280, 800}, {0, 0, 900, 900}, false).drawing,
              QRectF(16, 16, 1248, 768));
    layout = canvasLayout({300, 250}, {0, 0, 900, 900}, true);
    EXPECT_EQ(layout.drawing, QRectF(16, 16, 268, 218));
    EXPECT_FALSE(layout.legend);
}

TEST(LegendPlacement, NeverLiesOverTheDrawingOrPastTheCanvas)
{
    int shown = 0;
    for (int width = 60; width <= 1400; width += 37) {
        for (int height = 60; height <= 1000; height += 41) {
            const QRectF canvas(0, 0, width, height);
            for (const QRectF scene : {QRectF(0, 0, 900, 900), QRectF(-50, 0, 2000, 30),
                                       QRectF(0, 0, 10, 700), QRectF()}) {
                const CanvasLayout layout = canvasLayout(canvas.size(), scene, true);
                ASSERT_TRUE(canvas.contains(layout.drawing)) << width << " x " << height;
                if (!layout.legend)
                    continue;
                ++shown;
                const QRectF legend(*layout.legend, legendSize());
                ASSERT_TRUE(canvas.contains(legend)) << width << " x " << height;
                ASSERT_FALSE(legend.intersects(layout.drawing)) << width << " x " << height;
            }
        }
    }
    EXPECT_GT(shown, 500);
}

}  // namespace
}  // namespace pw
