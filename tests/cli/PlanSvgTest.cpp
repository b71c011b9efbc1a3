#include "CliTestSupport.h"
#include "cli/PlanSvg.h"
#include "tests/support/TrackFixtures.h"

#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>

namespace pw {
namespace {

// What a plan holds, element by element, keyed by the class of the group it sits in.
struct PlanContents {
    QMap<QString, int> elementsByGroup;  // "supports/line" -> count
    QStringList footerClasses;
    QStringList footerPoints;
    QString title;
};

PlanContents parsePlan(const std::string& svg)
{
    PlanContents contents;
    QXmlStreamReader xml(QByteArray::fromStdString(svg));
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

SceneryObject placedObject(const char* model, std::array<float, 16> matrix)
{
    SceneryObject object;
    object.textA = "fundament0";
    object.textB = model;
    object.matrix = matrix;
    return object;
}

TEST(PlanSvg, DrawsTrackSupportsAndOneSquarePerFooter)
{
    Track track = makeRichTrack();
    const std::array<float, 16> placed{1, 0, 0, 15, 0, 1, 0, 0, 0, 0, 1, -60, 0, 0, 0, 1};
    track.sceneryObjects.push_back(placedObject("rich/fundament-small.3ds", placed));
    track.sceneryObjects.push_back(placedObject("rich/fundament-xxlarge.3ds", placed));
    track.sceneryObjects.push_back(placedObject("rich/fundament-default.3ds", placed));
    track.sceneryObjects.push_back(placedObject("trees/fundament.3ds", placed));

    const PlanContents plan = parsePlan(planSvg(track));
    EXPECT_EQ(plan.elementsByGroup.value("track/polyline"), 5);  // one per pair of vertices
    EXPECT_EQ(plan.elementsByGroup.value("supports/line"), 8);
    EXPECT_EQ(plan.footerClasses,
              (QStringList{"footer small", "footer xxlarge", "footer other"}));
    EXPECT_EQ(plan.elementsByGroup.value("legend/rect"), 6);
    EXPECT_EQ(plan.title, QStringLiteral("Rich test track"));
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

    const PlanContents plan = parsePlan(planSvg(track));
    ASSERT_EQ(plan.footerPoints.size(), 1);
    EXPECT_EQ(plan.footerPoints[0],
              QStringLiteral("20.00,520.00 520.00,20.00 1020.00,520.00 520.00,1020.00"));
}

TEST(PlanSvg, LeavesOutWhatCannotBeDrawn)
{
    Track track = makeRichTrack();
    track.tubes[0].endB.index = 99;   // no such free node
    track.tubes[1].endB.group = -1;   // no such connector group
    track.fundaments[2].position.x = std::nanf("");
    track.infoText = "a<b&c\x01\xE9";
    track.sceneryObjects.push_back(placedObject(
        "p/fundament-small.3ds",
        {INFINITY, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));

    const PlanContents plan = parsePlan(planSvg(track));
    EXPECT_EQ(plan.elementsByGroup.value("supports/line"), 5);  // tube 2 stands on fundament 2
    EXPECT_TRUE(plan.footerClasses.isEmpty());
    EXPECT_EQ(plan.title, QString::fromUtf8("a<b&c?\u00e9"));
}

TEST(PlanSvg, CommandWritesTheFile)
{
    QTemporaryDir dir;
    const QString track = dir.filePath(QStringLiteral("rich.nltrack"));
    const QString svg = dir.filePath(QStringLiteral("plan.svg"));
    writeTrack(track, makeRichTrack());

    CliRun run = runCli({"plan", track, "-o", svg});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "Written: " + svg + '\n');
    EXPECT_EQ(parsePlan(fileBytes(svg).toStdString()).elementsByGroup.value("track/polyline"), 5);

    const QString unwritable = dir.filePath(QStringLiteral("no-dir/plan.svg"));
    run = runCli({"plan", track, "-o", unwritable});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith("plinthwright-cli: " + unwritable + ": "));
    EXPECT_FALSE(QFileInfo::exists(unwritable));
}

}  // namespace
}  // namespace pw
