#include "CliTestSupport.h"
#include "cli/PlanSvg.h"

#include <QFileInfo>
#include <QMap>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>

namespace pw {
namespace {

// What a plan holds: element counts keyed "group class/element", and the footer squares.
struct PlanContents {
    QMap<QString, int> elementsByGroup;
    QStringList footerClasses;
    QStringList footerPoints;
    QString title;
};

PlanContents parsePlan(const QByteArray& svg)
{
    PlanContents contents;
    QXmlStreamReader xml(svg);
    QString group;
    while (!xml.atEnd()) {
        if (!xml.readNext() || !xml.isStartElement())
            continue;
        const QString name = xml.name().toString();
        if (name == QLatin1String("g")) {
            group = xml.attributes().value("class").toString();
        } else if (name == QLatin1String("title")) {
            contents.title = xml.readElementText();
        } else {
            ++contents.elementsByGroup[group + '/' + name];
            if (name == QLatin1String("polygon")) {
                contents.footerClasses << xml.attributes().value("class").toString();
                contents.footerPoints << xml.attributes().value("points").toString();
            }
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return contents;
}

PlanContents plan(const Track& track) { return parsePlan(QByteArray::fromStdString(planSvg(track))); }

SceneryObject placedObject(const char* model, std::array<float, 16> matrix)
{
    return SceneryObject{"fundament0", model, matrix};
}

TEST(PlanSvg, DrawsTrackSupportsAndOneSquarePerFooter)
{
    Track track = makeRichTrack();
    const std::array<float, 16> placed{1, 0, 0, 15, 0, 1, 0, 0, 0, 0, 1, -60, 0, 0, 0, 1};
    for (const char* model : {"rich/fundament-small.3ds", "rich/fundament-xxlarge.3ds",
                              "rich/fundament-default.3ds", "trees/fundament.3ds"})
        track.sceneryObjects.push_back(placedObject(model, placed));

    const PlanContents contents = plan(track);
    EXPECT_EQ(contents.elementsByGroup.value("track/polyline"), 5);  // one per pair of vertices
    EXPECT_EQ(contents.elementsByGroup.value("supports/line"), 8);
    // A model path without "/fundament-" is not a footer.
    EXPECT_EQ(contents.footerClasses,
              (QStringList{"footer small", "footer xxlarge", "footer other"}));
    EXPECT_EQ(contents.elementsByGroup.value("legend/rect"), 6);
    EXPECT_EQ(contents.title, QStringLiteral("Rich test track"));
}

TEST(PlanSvg, TurnsTheSquareByTheFootersPlacement)
{
    // A lone footer turned by 45 degrees at scale 2: its corners touch the middle of each side
    // of the drawing, which spans 1000 pixels inside a 20-pixel margin.
    Track track = makeNewTrack();
    track.vertices.clear();
    const float c = 2.0f * std::cos(0.78539816f);
    const float s = 2.0f * std::sin(0.78539816f);
    track.sceneryObjects.push_back(
        placedObject("x/fundament-large.3ds", {c, 0, s, 10, 0, 2, 0, 5, -s, 0, c, 20, 0, 0, 0, 1}));
    EXPECT_EQ(plan(track).footerPoints,
              QStringList{"20.00,520.00 520.00,20.00 1020.00,520.00 520.00,1020.00"});
}

TEST(PlanSvg, LeavesOutWhatCannotBeDrawn)
{
    Track track = makeRichTrack();
    track.tubes[0].endB.index = 99;   // no such free node
    track.tubes[1].endB.group = -1;   // no such connector group
    track.fundaments[2].position.x = std::nanf("");
    track.infoText = "a<b&c\x01\xE9";
    track.sceneryObjects.push_back(placedObject(
        "p/fundament-small.3ds", {INFINITY, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));

    const PlanContents contents = plan(track);
    EXPECT_EQ(contents.elementsByGroup.value("supports/line"), 5);  // tube 2 stands on fundament 2
    EXPECT_TRUE(contents.footerClasses.isEmpty());
    EXPECT_EQ(contents.title, QString::fromUtf8("a<b&c?\u00e9"));
}

TEST(PlanSvg, CommandWritesTheFileOrNothing)
{
    TempFiles files;
    const QString track = files.track("rich.nltrack");
    const QString svg = files.path("plan.svg");
    CliRun run = runCli({"plan", track, "-o", svg});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "Written: " + svg + '\n');
    EXPECT_EQ(fileBytes(svg).toStdString(), planSvg(makeRichTrack()));

    const QString unwritable = files.path("no-dir/plan.svg");
    run = runCli({"plan", track, "-o", unwritable});
    expectFailure(run, unwritable + ": ");
    EXPECT_FALSE(QFileInfo::exists(unwritable));
}

}  // namespace
}  // namespace pw
