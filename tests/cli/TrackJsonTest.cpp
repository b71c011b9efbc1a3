#include "cli/JsonWriter.h"
#include "cli/TrackJson.h"
#include "testsupport/TrackFixtures.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <regex>

namespace pw {
namespace {

TEST(FloatFormatting, PrintsTheShortestDecimalThatReadsBackAsTheSameFloat)
{
    using limits = std::numeric_limits<float>;
    const std::pair<float, const char*> rows[] = {{0.1f, "0.1"},
                                                  {1e-3f, "0.001"},
                                                  {1.0f, "1"},
                                                  {-2.25f, "-2.25"},
                                                  {16777216.0f, "16777216"},
                                                  {-0.0f, "-0"},
                                                  {limits::max(), "3.4028235e+38"},
                                                  {limits::denorm_min(), "1e-45"},
                                                  {limits::quiet_NaN(), "nan"},
                                                  {limits::infinity(), "inf"},
                                                  {-limits::infinity(), "-inf"}};
    for (const auto& [value, text] : rows)
        EXPECT_EQ(formatFloat(value), text);
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

// The dump with each line break and the indentation after it turned into one blank, so that a
// multi-line object can be matched as one line.
std::string flat(const std::string& json)
{
    return std::regex_replace(json, std::regex("\n *"), " ");
}

void expectFragments(const std::string& json, std::initializer_list<std::string> fragments)
{
    EXPECT_TRUE(QJsonDocument::fromJson(QByteArray::fromStdString(json)).isObject());
    const std::string text = flat(json);
    for (const std::string& fragment : fragments)
        EXPECT_NE(text.find(fragment), std::string::npos) << fragment;
}

TEST(TrackJson, HoldsTheRecordsFieldsByNameInTheRecordsOrder)
{
    const std::string json = trackToJson(makeRichTrack());
    const std::regex topLevelKey("\n  \"(\\w+)\": ");
    std::vector<std::string> keys;
    for (auto it = std::sregex_iterator(json.begin(), json.end(), topLevelKey);
         it != std::sregex_iterator(); ++it)
        keys.push_back((*it)[1]);
    EXPECT_EQ(keys, (std::vector<std::string>{"headerValue",
                                              "headerBytes",
                                              "headerFlag",
                                              "trackValueA",
                                              "trackValueB",
                                              "slotCount",
                                              "trackValueC",
                                              "slots",
                                              "colours",
                                              "trackBytes",
                                              "trackValueD",
                                              "trackFlag",
                                              "extraColour",
                                              "infoLength",
                                              "infoText",
                                              "vertexLength",
                                              "vertices",
                                              "segmentLength",
                                              "segmentFlag",
                                              "segments",
                                              "supportLength",
                                              "fundamentLength",
                                              "fundaments",
                                              "railConnectorLength",
                                              "groups",
                                              "freeNodeLength",
                                              "freeNodes",
                                              "tubeLength",
                                              "tubes",
                                              "catwalkLength",
                                              "catwalks",
                                              "sceneryLength",
                                              "sceneryChildCount",
                                              "sceneryItems",
                                              "sceneryObjectLength",
                                              "sceneryObjects",
                                              "environmentLength",
                                              "environmentTextA",
                                              "environmentTextB",
                                              "terrain"}));
    // Lists of elements take a line per element; vectors, colours and blocks stay on one line.
    EXPECT_EQ(json.substr(0, 64),
              "{\n  \"headerValue\": 16909060,\n  \"headerBytes\": [1, 6, -1, 2, 9],\n");
    EXPECT_NE(json.find("  \"groups\": [\n    [\n      {\"value\": 11, \"position\": 0.25},\n"
                        "      {\"value\": 12, \"position\": 0.75}\n    ],\n"),
              std::string::npos);
    EXPECT_TRUE(json.ends_with("\n      [20.5, 21.5, 22.5, 23.5]\n    ]\n  }\n}\n"));
}

// Texts are Latin-1 in the file and UTF-8 in the dump.
TEST(TrackJson, ShowsEveryValueOfTheRichTrack)
{
    expectFragments(
        trackToJson(makeRichTrack()),
        {
            R"("headerFlag": 1, "trackValueA": 88, "trackValueB": 1, "slotCount": 32, "trackValueC": 6, "slots": [ )"
            R"({"flag": 1, "text": "Caf)"
            "\u00e9"
            R"( train", "colours": [[10, 20, 30, 40], [255, 0, 128, 7], [1, 2, 3, 4], [200, 201, 202, 203]]}, )",
            R"({"flag": 0, "text": "Z)"
            "\u00fc"
            R"(rich", "colours": [[0, 0, 0, 0], [9, 8, 7, 6], [255, 255, 255, 255], [17, 34, 51, 68]]}, )",
            R"({"flag": 1, "text": "last", "colours": [[5, 5, 5, 5], [6, 6, 6, 6], [7, 7, 7, 7], [8, 8, 8, 8]]} ], )"
            R"("colours": [[255, 255, 255, 255], [255, 255, 255, 255], [12, 34, 56, 78], [255, 255, 255, 255], )"
            R"([255, 255, 255, 255], [255, 255, 255, 255], [255, 255, 255, 255], [0, 1, 0, 1]], )"
            R"("trackBytes": [1, -2, 3, 127], "trackValueD": -77, "trackFlag": 1, "extraColour": [99, 98, 97, 96], )"
            R"("infoLength": 19, "infoText": "Rich test track", "vertexLength": 400, )",
            R"({"position": [15, 8.5, -60], "controlIn": [10, 8, -55], "controlOut": [20, 9, -65], "value": -3, "flags": [1, 1, 1]}, )",
            // 1e-3f is 0.0010000000474974513 as a double; the dump shows the float's own decimal.
            R"("value": 0.001, "flags": [1, 0, 0]} ], "segmentLength": 466, "segmentFlag": 1, )",
            R"({ "extraLength": 126, "kind": 1, "flagA": 1, "colours": [[1, 2, 3, 250], [255, 1, 0, 1], [1, 0, 255, 128]], )"
            R"("flagB": 0, "value": -1000, "block": [1.5, -2.25, 3, 4.125, 5, -6, 1, 7, 8.5, -9, 10, 0, 1, 14, 15.5, -16, 1, 18, 19.25, 20, 21, 22.5, 1] }, )",
            R"("extraLength": 36, "kind": 2, )",
            R"("value": -2000, "block": [-1, 2.5, 3.5, 4.5, 1, 0, 123456] }, )",
            R"("value": -3000, "block": [0.5, 1.5, 2.5, 4, 0, 1, -7, 8, 9.75] }, )",
            R"("value": -4000, "block": [1, 2, 3, 4, 1, 1, 7, 8, 9, 0, 1, 0, -13, -140000, 1, 16.5, 1] }, )",
            R"({ "extraLength": 0, "kind": 6, "flagA": 1, "colours": [[6, 12, 18, 250], [255, 6, 0, 1], [5, 0, 255, 128]], )"
            R"("flagB": 0, "value": -5000 } ], "supportLength": 36, )",
            R"({"flagA": 0, "valueA": 1.25, "flagB": 1, "angle": 0.5, "byteValue": -4, "valueB": -200, "position": [15, 0, -60]}, )",
            R"("byteValue": 127, "valueB": 7, "position": [60, 0, -50]} ], )",
            R"("groups": [ [ {"value": 11, "position": 0.25}, {"value": 12, "position": 0.75} ], )"
            R"([ {"value": 21, "position": 0.5} ], [ {"value": 31, "position": 0} ], [ {"value": 41, "position": 1} ], [] ], )",
            R"({"position": [16, 3, -61], "value": 42}, )",
            R"({"endA": {"kind": 2, "group": 0, "index": 1}, "endB": {"kind": 3, "group": 2, "index": 0}, "sizeClass": 3, "valueA": 0, "valueB": 0}, )",
            R"("sizeClass": 7, "valueA": 9, "valueB": 1000} ], )",
            R"({"values": [-1, 0, 0, 0, 0, 65536], "bytes": []}, {"values": [7, 7, 7, 7, 7, 7], "bytes": [0, 127, -128, 5, 6]} ], )",
            R"("sceneryChildCount": 1, "sceneryItems": [ {"values": [1, 2, 3, 4, 5]}, {"values": [-0.5, 0, 1e+06, -9, 0.125]} ], )",
            R"({"textA": "trees/)"
            "\u00e9"
            R"(rable.3ds", "textB": "Ahorn", "matrix": [0.5, -0.25, 0, 3, 0.25, 0.5, 0, 4, 0, 0, 2, 5, 0, 0, 0, 1]} ], )",
            R"("environmentTextA": "Sommer", "environmentTextB": "Nacht )"
            "\u00c4"
            R"(", )"
            R"("terrain": { "terrainValue": 3, "terrainColumns": 4, "terrainRows": 3, "terrainF1": 10.5, "terrainF2": -1, )"
            R"("terrainTextA": "grass", "terrainF3": 0.25, "terrainTextB": "", "terrainF4": 100, "terrainFlagA": 1, )"
            R"("terrainF5": 2, "terrainTextC": "r)"
            "\u00f6"
            R"(ck", "terrainF6": 3, "terrainByte": -5, "terrainFlagB": 0, "terrainF7": 4.5, )"
            R"("grid": [ [0.5, 1.5, 2.5, 3.5], [10.5, 11.5, 12.5, 13.5], [20.5, 21.5, 22.5, 23.5] ] } })",
        });
}

TEST(TrackJson, StreamedTextIsTheSameInBoundedPieces)
{
    Track track = makeRichTrack();
    // About 2 MB of text: many pieces.
    track.segments.resize(10000);
    std::vector<std::size_t> pieces;
    std::string streamed;
    writeTrackJson(track, [&](std::string_view piece) {
        pieces.push_back(piece.size());
        streamed += piece;
    });
    EXPECT_EQ(streamed, trackToJson(track));
    EXPECT_GT(pieces.size(), 10u);
    // A piece is handed on at the first line break past the piece size.
    EXPECT_LT(*std::max_element(pieces.begin(), pieces.end()), JsonWriter::sinkPieceSize + 1024);
}

TEST(TrackJson, NewTrackHasNoTerrainAndEmptyLists)
{
    expectFragments(
        trackToJson(makeNewTrack()),
        {
            R"("infoLength": 39, )",
            R"("vertices": [ {"position": [0, 1, 0], "controlIn": [0, 1, 10], "controlOut": [0, 1, -10], "value": 0, "flags": [0, 0, 0]} ], )",
            R"("segments": [], "supportLength": 36, "fundamentLength": 40, "fundaments": [], "railConnectorLength": 40, "groups": [], )",
            R"("sceneryLength": 88, )",
            R"("environmentTextB": "", "terrain": null })",
        });
}

TEST(TrackJson, OddValuesStayValidJson)
{
    Track track = makeNewTrack();
    track.headerFlag = 2;  // only 1 is true in a file
    track.infoText = std::string("q\"b\\s\x01\n\0z\t\r\x1F", 12);
    track.vertices[0].value = std::numeric_limits<float>::quiet_NaN();
    track.vertices[0].position.x = -std::numeric_limits<float>::infinity();
    track.terrain.terrainColumns = 500;  // clamped; a record without a grid reads zeros
    track.terrain.terrainRows = -3;
    expectFragments(
        trackToJson(track),
        {
            R"("headerFlag": 0, )",
            R"("infoText": "q\"b\\s\u0001\n\u0000z\t\r\u001f", )",
            R"({"position": ["-inf", 1, 0], "controlIn": [0, 1, 10], "controlOut": [0, 1, -10], "value": "nan", )",
            R"("terrainColumns": 500, "terrainRows": -3, )",
            R"("grid": [] } })",
        });

    track.terrain.terrainRows = 1;
    std::string row = "[0";
    for (int i = 1; i < 300; ++i)
        row += ", 0";
    expectFragments(trackToJson(track), {R"("grid": [ )" + row + "] ] } }"});
}

}  // namespace
}  // namespace pw
