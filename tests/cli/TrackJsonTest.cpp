#include "cli/JsonWriter.h"
#include "cli/TrackJson.h"
#include "tests/support/TrackFixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace pw {
namespace {

QJsonObject parsed(const std::string& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_TRUE(document.isObject());
    return document.object();
}

QJsonArray ints(std::initializer_list<int> values)
{
    QJsonArray array;
    for (const int v : values)
        array.append(v);
    return array;
}

QJsonArray numbers(std::initializer_list<double> values)
{
    QJsonArray array;
    for (const double v : values)
        array.append(v);
    return array;
}

TEST(FloatFormatting, PrintsTheShortestDecimalThatReadsBackAsTheSameFloat)
{
    EXPECT_EQ(formatFloat(0.1f), "0.1");
    EXPECT_EQ(formatFloat(1e-3f), "0.001");
    EXPECT_EQ(formatFloat(1.0f), "1");
    EXPECT_EQ(formatFloat(-2.25f), "-2.25");
    EXPECT_EQ(formatFloat(16777216.0f), "16777216");
    EXPECT_EQ(formatFloat(-0.0f), "-0");
    EXPECT_EQ(formatFloat(std::numeric_limits<float>::max()), "3.4028235e+38");
    EXPECT_EQ(formatFloat(std::numeric_limits<float>::denorm_min()), "1e-45");
}

TEST(FloatFormatting, NamesNonFiniteValues)
{
    EXPECT_EQ(formatFloat(std::numeric_limits<float>::quiet_NaN()), "nan");
    EXPECT_EQ(formatFloat(std::numeric_limits<float>::infinity()), "inf");
    EXPECT_EQ(formatFloat(-std::numeric_limits<float>::infinity()), "-inf");
}

TEST(FloatFormatting, EveryFiniteFloatOfASweepReadsBackBitForBit)
{
    for (std::uint64_t bits = 0; bits <= 0xFFFFFFFFu; bits += 0x0001F3A7u) {
        const auto value = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
        if (!std::isfinite(value))
            continue;
        const std::string text = formatFloat(value);
        const float back = std::strtof(text.c_str(), nullptr);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(back), static_cast<std::uint32_t>(bits)) << text;
    }
}

TEST(TrackJson, HoldsExactlyTheRecordsFieldsByName)
{
    const QJsonObject json = parsed(trackToJson(makeRichTrack()));
    QStringList keys = json.keys();
    QStringList expected{
        "headerValue", "headerBytes", "headerFlag", "trackValueA", "trackValueB", "slotCount",
        "trackValueC", "slots", "colours", "trackBytes", "trackValueD", "trackFlag", "extraColour",
        "infoLength", "infoText", "vertexLength", "vertices", "segmentLength", "segmentFlag",
        "segments", "supportLength", "fundamentLength", "fundaments", "railConnectorLength",
        "groups", "freeNodeLength", "freeNodes", "tubeLength", "tubes", "catwalkLength",
        "catwalks", "sceneryLength", "sceneryChildCount", "sceneryItems", "sceneryObjectLength",
        "sceneryObjects", "environmentLength", "environmentTextA", "environmentTextB", "terrain"};
    keys.sort();
    expected.sort();
    EXPECT_EQ(keys, expected);
}

TEST(TrackJson, KeepsTheRecordsOrderInTheText)
{
    const std::string json = trackToJson(makeRichTrack());
    EXPECT_LT(json.find("\"headerValue\""), json.find("\"slots\""));
    EXPECT_LT(json.find("\"infoText\""), json.find("\"vertices\""));
    EXPECT_LT(json.find("\"tubes\""), json.find("\"catwalks\""));
    EXPECT_LT(json.find("\"environmentTextB\""), json.find("\"terrain\""));
}

TEST(TrackJson, HeadersSlotsAndLatin1Texts)
{
    const QJsonObject json = parsed(trackToJson(makeRichTrack()));
    EXPECT_EQ(json["headerValue"].toInt(), 0x01020304);
    EXPECT_EQ(json["headerBytes"].toArray(), ints({1, 6, -1, 2, 9}));
    EXPECT_EQ(json["headerFlag"].toInt(), 1);
    EXPECT_EQ(json["slotCount"].toInt(), 32);
    EXPECT_EQ(json["trackBytes"].toArray(), ints({1, -2, 3, 127}));
    EXPECT_EQ(json["trackValueD"].toInt(), -77);
    EXPECT_EQ(json["extraColour"].toArray(), ints({99, 98, 97, 96}));
    EXPECT_EQ(json["colours"].toArray()[2].toArray(), ints({12, 34, 56, 78}));
    EXPECT_EQ(json["infoText"].toString(), QStringLiteral("Rich test track"));

    const QJsonArray slots = json["slots"].toArray();
    ASSERT_EQ(slots.size(), 32);
    const QJsonObject first = slots[0].toObject();
    EXPECT_EQ(first["flag"].toInt(), 1);
    EXPECT_EQ(first["text"].toString(), QString::fromUtf8("Caf\u00e9 train"));
    const QJsonArray colours = first["colours"].toArray();
    ASSERT_EQ(colours.size(), 4);
    EXPECT_EQ(colours[1].toArray(), ints({255, 0, 128, 7}));
    EXPECT_EQ(slots[3].toObject()["text"].toString(), QString::fromUtf8("Z\u00fcrich"));
    EXPECT_EQ(json["environmentTextB"].toString(), QString::fromUtf8("Nacht \u00c4"));
    const QJsonObject tree = json["sceneryObjects"].toArray()[1].toObject();
    EXPECT_EQ(tree["textA"].toString(), QString::fromUtf8("trees/\u00e9rable.3ds"));
    EXPECT_EQ(tree["textB"].toString(), QStringLiteral("Ahorn"));
    EXPECT_EQ(tree["matrix"].toArray(),
              numbers({0.5, -0.25, 0, 3, 0.25, 0.5, 0, 4, 0, 0, 2, 5, 0, 0, 0, 1}));
}

TEST(TrackJson, VerticesAndEveryKindOfSegmentBlock)
{
    const std::string text = trackToJson(makeRichTrack());
    const QJsonObject json = parsed(text);
    const QJsonArray vertices = json["vertices"].toArray();
    ASSERT_EQ(vertices.size(), 6);
    const QJsonObject third = vertices[2].toObject();
    EXPECT_EQ(third["position"].toArray(), numbers({15, 8.5, -60}));
    EXPECT_EQ(third["controlIn"].toArray(), numbers({10, 8, -55}));
    EXPECT_EQ(third["controlOut"].toArray(), numbers({20, 9, -65}));
    EXPECT_EQ(third["value"].toDouble(), -3.0);
    EXPECT_EQ(third["flags"].toArray(), ints({1, 1, 1}));
    // 1e-3f is 0.0010000000474974513 as a double; the dump shows the float's own decimal.
    EXPECT_NE(text.find("\"value\": 0.001,"), std::string::npos);

    const QJsonArray segments = json["segments"].toArray();
    ASSERT_EQ(segments.size(), 5);
    const QJsonObject first = segments[0].toObject();
    EXPECT_EQ(first["extraLength"].toInt(), 126);
    EXPECT_EQ(first["kind"].toInt(), 1);
    EXPECT_EQ(first["flagA"].toInt(), 1);
    EXPECT_EQ(first["flagB"].toInt(), 0);
    EXPECT_EQ(first["value"].toInt(), -1000);
    EXPECT_EQ(first["colours"].toArray()[0].toArray(), ints({1, 2, 3, 250}));
    EXPECT_EQ(first["block"].toArray(),
              numbers({1.5, -2.25, 3, 4.125, 5, -6, 1, 7, 8.5, -9, 10, 0, 1, 14, 15.5, -16, 1, 18,
                       19.25, 20, 21, 22.5, 1}));
    EXPECT_EQ(segments[1].toObject()["block"].toArray(),
              numbers({-1, 2.5, 3.5, 4.5, 1, 0, 123456}));
    EXPECT_EQ(segments[2].toObject()["block"].toArray(),
              numbers({0.5, 1.5, 2.5, 4, 0, 1, -7, 8, 9.75}));
    EXPECT_EQ(segments[3].toObject()["block"].toArray(),
              numbers({1, 2, 3, 4, 1, 1, 7, 8, 9, 0, 1, 0, -13, -140000, 1, 16.5, 1}));
    const QJsonObject sixth = segments[4].toObject();
    EXPECT_EQ(sixth["kind"].toInt(), 6);
    EXPECT_EQ(sixth["extraLength"].toInt(), 0);
    EXPECT_FALSE(sixth.contains("block"));
}

TEST(TrackJson, SupportsAndScenery)
{
    const QJsonObject json = parsed(trackToJson(makeRichTrack()));
    const QJsonArray groups = json["groups"].toArray();
    ASSERT_EQ(groups.size(), 5);
    const QJsonArray firstGroup = groups[0].toArray();
    ASSERT_EQ(firstGroup.size(), 2);
    EXPECT_EQ(firstGroup[1].toObject(), (QJsonObject{{"value", 12}, {"position", 0.75}}));
    EXPECT_TRUE(groups[4].toArray().isEmpty());

    const QJsonArray fundaments = json["fundaments"].toArray();
    ASSERT_EQ(fundaments.size(), 4);
    EXPECT_EQ(fundaments[1].toObject(),
              (QJsonObject{{"flagA", 0}, {"valueA", 1.25}, {"flagB", 1}, {"angle", 0.5},
                           {"byteValue", -4}, {"valueB", -200},
                           {"position", numbers({15, 0, -60})}}));
    EXPECT_EQ(fundaments[3].toObject()["byteValue"].toInt(), 127);

    const QJsonArray freeNodes = json["freeNodes"].toArray();
    ASSERT_EQ(freeNodes.size(), 3);
    EXPECT_EQ(freeNodes[1].toObject(),
              (QJsonObject{{"position", numbers({16, 3, -61})}, {"value", 42}}));

    const QJsonArray tubes = json["tubes"].toArray();
    ASSERT_EQ(tubes.size(), 8);
    EXPECT_EQ(tubes[3].toObject(),
              (QJsonObject{{"endA", QJsonObject{{"kind", 2}, {"group", 0}, {"index", 1}}},
                           {"endB", QJsonObject{{"kind", 3}, {"group", 2}, {"index", 0}}},
                           {"sizeClass", 3},
                           {"valueA", 0},
                           {"valueB", 0}}));
    EXPECT_EQ(tubes[7].toObject()["valueB"].toDouble(), 1000.0);

    const QJsonArray catwalks = json["catwalks"].toArray();
    ASSERT_EQ(catwalks.size(), 3);
    EXPECT_EQ(catwalks[1].toObject()["values"].toArray(), ints({-1, 0, 0, 0, 0, 65536}));
    EXPECT_TRUE(catwalks[1].toObject()["bytes"].toArray().isEmpty());
    EXPECT_EQ(catwalks[2].toObject()["bytes"].toArray(), ints({0, 127, -128, 5, 6}));

    EXPECT_EQ(json["sceneryChildCount"].toInt(), 1);
    EXPECT_EQ(json["sceneryItems"].toArray()[1].toObject()["values"].toArray(),
              numbers({-0.5, 0, 1e6, -9, 0.125}));
}

TEST(TrackJson, TerrainWithItsMeaningfulGrid)
{
    const QJsonObject json = parsed(trackToJson(makeRichTrack()));
    const QJsonObject terrain = json["terrain"].toObject();
    EXPECT_EQ(terrain["terrainValue"].toInt(), 3);
    EXPECT_EQ(terrain["terrainColumns"].toInt(), 4);
    EXPECT_EQ(terrain["terrainRows"].toInt(), 3);
    EXPECT_EQ(terrain["terrainF1"].toDouble(), 10.5);
    EXPECT_EQ(terrain["terrainTextA"].toString(), QStringLiteral("grass"));
    EXPECT_EQ(terrain["terrainTextB"].toString(), QString());
    EXPECT_EQ(terrain["terrainTextC"].toString(), QString::fromUtf8("r\u00f6ck"));
    EXPECT_EQ(terrain["terrainFlagA"].toInt(), 1);
    EXPECT_EQ(terrain["terrainByte"].toInt(), -5);
    EXPECT_EQ(terrain["terrainF7"].toDouble(), 4.5);
    const QJsonArray grid = terrain["grid"].toArray();
    ASSERT_EQ(grid.size(), 3);
    EXPECT_EQ(grid[0].toArray(), numbers({0.5, 1.5, 2.5, 3.5}));
    EXPECT_EQ(grid[2].toArray(), numbers({20.5, 21.5, 22.5, 23.5}));
}

TEST(TrackJson, NewTrackHasNoTerrainAndEmptyLists)
{
    const QJsonObject json = parsed(trackToJson(makeNewTrack()));
    EXPECT_TRUE(json["terrain"].isNull());
    EXPECT_TRUE(json["segments"].toArray().isEmpty());
    EXPECT_TRUE(json["groups"].toArray().isEmpty());
    EXPECT_EQ(json["infoLength"].toInt(), 39);
    EXPECT_EQ(json["sceneryLength"].toInt(), 88);
    EXPECT_EQ(json["vertices"].toArray()[0].toObject()["controlIn"].toArray(),
              numbers({0, 1, 10}));
}

TEST(TrackJson, OddValuesStayValidJson)
{
    Track track = makeNewTrack();
    track.headerFlag = 2;  // only 1 is true in a file
    track.infoText = std::string("q\"b\\s\x01\n\0z", 9);
    track.vertices[0].value = std::numeric_limits<float>::quiet_NaN();
    track.vertices[0].position.x = -std::numeric_limits<float>::infinity();
    track.terrain.terrainColumns = 500;  // clamped; a record without a grid reads zeros
    track.terrain.terrainRows = -3;

    const QJsonObject json = parsed(trackToJson(track));
    EXPECT_EQ(json["headerFlag"].toInt(), 0);
    EXPECT_EQ(json["infoText"].toString(), QString::fromLatin1("q\"b\\s\x01\n\0z", 9));
    const QJsonObject vertex = json["vertices"].toArray()[0].toObject();
    EXPECT_EQ(vertex["value"].toString(), QStringLiteral("nan"));
    EXPECT_EQ(vertex["position"].toArray()[0].toString(), QStringLiteral("-inf"));
    EXPECT_TRUE(json["terrain"].toObject()["grid"].toArray().isEmpty());

    track.terrain.terrainRows = 1;
    const QJsonArray row = parsed(trackToJson(track))["terrain"].toObject()["grid"].toArray()[0]
                               .toArray();
    ASSERT_EQ(row.size(), 300);
    EXPECT_EQ(row[299].toDouble(), 0.0);
}

}  // namespace
}  // namespace pw
