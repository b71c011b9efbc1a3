#include "plan/PlanHitTest.h"

#include "testsupport/TrackFixtures.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

SceneryObject footerAtPoint(const char* model, float x, float z, float scale)
{
    return SceneryObject{"", model, {scale, 0, 0, x, 0, scale, 0, 0, 0, 0, scale, z, 0, 0, 0, 1}};
}

TEST(PlanHitTest, FindsTheFooterUnderThePointOrNearIt)
{
    Track track = makeNewTrack();
    track.sceneryObjects = {footerAtPoint("d/fundament-small.3ds", 0, 0, 1),
                            footerAtPoint("d/fundament-large.3ds", 10, 0, 4)};
    const std::vector<SceneryObject> preview{footerAtPoint("d/fundament-medium.3ds", 0, 0, 2)};
    const PlanScene scene = buildPlanScene(track, PlanView::Top, nullptr, preview);

    // The large footer covers 8..12; its edge is within reach at 12.3, not at 12.6.
    PlanHit hit = footerAt(scene, {11.9, 1.9}, 0.0);
    ASSERT_NE(hit.footer, nullptr);
    EXPECT_EQ(hit.footer->modelFile, "large.3ds");
    EXPECT_FALSE(hit.preview);
    EXPECT_EQ(footerAt(scene, {12.3, 0}, 0.5).footer, hit.footer);
    EXPECT_EQ(footerAt(scene, {12.6, 0}, 0.5).footer, nullptr);
    EXPECT_EQ(footerAt(scene, {5, 0}, 0.5).footer, nullptr);

    // Where the preview's outline lies over a footer, the preview answers: it is drawn on top.
    hit = footerAt(scene, {0.2, 0.2}, 0.0);
    ASSERT_NE(hit.footer, nullptr);
    EXPECT_TRUE(hit.preview);
    EXPECT_EQ(hit.footer->modelFile, "medium.3ds");

    EXPECT_EQ(describeFooter(*hit.footer, true),
              QString::fromUtf8("medium footer (generate would add it)\nmedium.3ds at 200 %\n"
                                "position (0.00, 0.00, 0.00)\nturned 0.0\u00b0"));
}

}  // namespace
}  // namespace pw
