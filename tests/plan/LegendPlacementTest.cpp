#include "plan/LegendPlacement.h"

#include "plan/PlanPainter.h"

#include <gtest/gtest.h>

#include <array>

namespace pw {
namespace {

TEST(LegendPlacement, TakesTheSideThatLeavesTheDrawingLargest)
{
    const QSizeF legend = legendSize();
    const struct {
        QSizeF canvas;
        QRectF scene;
        bool shown;
        QRectF drawing;
        std::optional<QPointF> legend;
    } rows[] = {
        // A square plan on a wide canvas: the legend at the right, the plan beside it.
        {{1280, 800}, {0, 0, 900, 900}, true, {16, 16, 1248 - legend.width() - 16, 768},
         QPointF(1272 - legend.width(), 8)},
        // A long plan on a tall, narrow canvas: the legend at the foot, the plan above it.
        {{400, 800}, {0, 0, 900, 100}, true, {16, 16, 368, 768 - legend.height() - 16},
         QPointF(392 - legend.width(), 792 - legend.height())},
        // No room on either side: no legend rather than one over the plan.
        {{300, 250}, {0, 0, 900, 900}, true, {16, 16, 268, 218}, std::nullopt},
        // Hidden: the plan takes the whole canvas.
        {{1280, 800}, {0, 0, 900, 900}, false, {16, 16, 1248, 768}, std::nullopt},
        // A plan of one point counts as a metre across, and still gets the legend beside it.
        {{1280, 800}, {}, true, {16, 16, 1248 - legend.width() - 16, 768},
         QPointF(1272 - legend.width(), 8)},
    };
    for (const auto& row : rows) {
        const CanvasLayout layout = canvasLayout(row.canvas, row.scene, row.shown);
        EXPECT_EQ(layout.drawing, row.drawing) << row.canvas.width() << " x " << row.canvas.height();
        EXPECT_EQ(layout.legend, row.legend) << row.canvas.width() << " x " << row.canvas.height();
    }
}

TEST(LegendPlacement, NeverLiesOverTheDrawingOrPastTheCanvas)
{
    const QSizeF legend = legendSize();
    const std::array<QRectF, 3> scenes{QRectF(0, 0, 900, 900), QRectF(-50, 0, 2000, 30),
                                       QRectF(0, 0, 10, 700)};
    int shown = 0;
    for (int width = 60; width <= 1400; width += 37) {
        for (int height = 60; height <= 1000; height += 41) {
            const QRectF canvas(0, 0, width, height);
            for (const QRectF& scene : scenes) {
                const CanvasLayout layout = canvasLayout(canvas.size(), scene, true);
                if (!layout.legend)
                    continue;
                ++shown;
                const QRectF drawn(*layout.legend, legend);
                ASSERT_TRUE(canvas.contains(drawn)) << width << " x " << height;
                ASSERT_FALSE(drawn.intersects(layout.drawing)) << width << " x " << height;
                ASSERT_TRUE(canvas.contains(layout.drawing)) << width << " x " << height;
            }
        }
    }
    EXPECT_GT(shown, 500);  // the sweep reaches canvases with a legend
}

}  // namespace
}  // namespace pw
