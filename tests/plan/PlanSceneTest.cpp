#include "plan/PlanScene.h"

#include "testsupport/TrackFixtures.h"
#include "tracklib/TrackOperations.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pw {
namespace {

SceneryObject placedObject(const char* model, std::array<float, 16> matrix)
{
    return SceneryObject{"fundament0", model, matrix};
}

std::vector<int> styles(const std::vector<PlanFooter>& footers)
{
    std::vector<int> result;
    for (const PlanFooter& footer : footers)
        result.push_back(footer.style);
    return result;
}

TEST(PlanScene, DrawsTrackSupportsAndOneOutlinePerFooter)
{
    Track track = makeRichTrack();
    // Away from every tube end, so that the class comes from the model's name.
    const std::array<float, 16> placed{1, 0, 0, 1234, 0, 1, 0, 0, 0, 0, 1, -60, 0, 0, 0, 1};
    for (const char* model : {"rich/fundament-xxlarge.3ds", "rich/fundament-small.3ds",
                              "rich/fundament-default.3ds", "trees/fundament.3ds"})
        track.sceneryObjects.push_back(placedObject(model, placed));

    const PlanScene scene = buildPlanScene(track, PlanView::Top, nullptr);
    EXPECT_EQ(scene.curve.size(), 5u);  // one per segment
    EXPECT_EQ(scene.tubes.size(), 8u);
    // A model path without "/fundament-" is no footer; footers come ordered by class.
    EXPECT_EQ(styles(scene.footers),
              (std::vector<int>{0, static_cast<int>(TubeSizeClass::XXLarge), otherFooterStyle}));
    EXPECT_EQ(scene.footers[0].modelFile, "small.3ds");
    EXPECT_EQ(scene.sceneryObjects.size(), track.sceneryObjects.size() - 3);
    EXPECT_EQ(scene.title, QStringLiteral("Rich test track"));
}

TEST(PlanScene, TurnsAndScalesTheFootprintByThePlacement)
{
    // A lone footer turned by 45 degrees at scale 2: its unit square becomes a diamond.
    Track track = makeNewTrack();
    track.vertices.clear();
    const float c = 2.0f * std::cos(0.78539816f);
    const float s = 2.0f * std::sin(0.78539816f);
    track.sceneryObjects.push_back(
        placedObject("x/fundament-large.3ds", {c, 0, s, 10, 0, 2, 0, 5, -s, 0, c, 20, 0, 0, 0, 1}));

    const PlanScene top = buildPlanScene(track, PlanView::Top, nullptr);
    ASSERT_EQ(top.footers.size(), 1u);
    const PlanFooter& footer = top.footers[0];
    EXPECT_EQ(footer.outline.size(), 4);
    EXPECT_NEAR(footer.bounds.left(), 10 - std::sqrt(2.0), 1e-5);
    EXPECT_NEAR(footer.bounds.top(), 20 - std::sqrt(2.0), 1e-5);
    EXPECT_NEAR(footer.bounds.width(), 2 * std::sqrt(2.0), 1e-5);
    EXPECT_NEAR(footer.bounds.height(), 2 * std::sqrt(2.0), 1e-5);
    EXPECT_FLOAT_EQ(footer.scale, 2.0f);
    EXPECT_FALSE(footer.tilted);
    EXPECT_NEAR(footer.angleDegrees, 45.0f, 1e-4);
    EXPECT_EQ(top.bounds, footer.bounds);

    // From the front the flat square is a line at height 5, drawn upward as -y.
    const PlanScene side = buildPlanScene(track, PlanView::Side, nullptr);
    EXPECT_NEAR(side.footers[0].bounds.top(), -5.0, 1e-6);
    EXPECT_NEAR(side.footers[0].bounds.height(), 0.0, 1e-6);
}

TEST(PlanScene, ColoursADefaultModelFooterByTheTubeItStandsUnder)
{
    Track track = makeRichTrack();
    // Tubes of every code stand on the rich track's fundaments; find one of a known class.
    const auto tube = std::find_if(track.tubes.begin(), track.tubes.end(), [](const Tube& t) {
        return t.endB.kind == TubeEndFundament && sizeClassOfCode(t.sizeClass);
    });
    ASSERT_NE(tube, track.tubes.end());
    const Float3 p = track.fundaments[static_cast<std::size_t>(tube->endB.index)].position;
    track.sceneryObjects.push_back(placedObject(
        "rich/fundament-default.3ds", {1, 0, 0, p.x, 0, 1, 0, p.y, 0, 0, 1, p.z, 0, 0, 0, 1}));
    const PlanScene scene = buildPlanScene(track, PlanView::Top, nullptr);
    ASSERT_EQ(scene.footers.size(), 1u);
    EXPECT_EQ(scene.footers[0].style, static_cast<int>(*sizeClassOfCode(tube->sizeClass)));
}

TEST(PlanScene, LeavesOutWhatCannotBeDrawn)
{
    Track track = makeRichTrack();
    track.tubes[0].endB.index = 99;  // no such free node
    track.tubes[1].endB.group = -1;  // no such connector group
    track.fundaments[2].position.x = std::nanf("");
    track.vertices[1].controlOut.x = INFINITY;
    track.infoText = "a<b&c\x01\xE9";
    track.sceneryObjects.push_back(placedObject(
        "p/fundament-small.3ds", {INFINITY, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));

    const PlanScene scene = buildPlanScene(track, PlanView::Top, nullptr,
                                           std::vector<SceneryObject>{track.sceneryObjects.back()});
    EXPECT_EQ(scene.tubes.size(), 5u);  // tube 2 stands on fundament 2
    EXPECT_EQ(scene.curve.size(), 4u);  // segment 1 bends through infinity
    EXPECT_EQ(scene.fundaments.size(), track.fundaments.size() - 1);
    EXPECT_TRUE(scene.footers.empty());
    EXPECT_TRUE(scene.preview.empty());
    EXPECT_TRUE(std::isfinite(scene.bounds.width()));
    EXPECT_EQ(scene.title, QString::fromUtf8("a<b&c?\u00e9"));

    // Beyond a million metres, a footer, a vertex or a scale is drawn but not fitted.
    const QRectF fitted = scene.bounds;
    track.sceneryObjects.push_back(
        placedObject("p/fundament-small.3ds", {1, 0, 0, 2e6f, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
    track.sceneryObjects.push_back(placedObject(
        "p/fundament-small.3ds", {1e30f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1e30f, 0, 0, 0, 0, 1}));
    track.vertices[2].position.z = -1e30f;
    const PlanScene runaway = buildPlanScene(track, PlanView::Top, nullptr);
    EXPECT_EQ(runaway.footers.size(), 2u);
    EXPECT_EQ(runaway.bounds.top(), fitted.top());
    EXPECT_EQ(runaway.bounds.right(), fitted.right());

    const PlanScene empty = buildPlanScene(Track{}, PlanView::Top, nullptr);
    EXPECT_TRUE(empty.bounds.isNull());
}

}  // namespace
}  // namespace pw
