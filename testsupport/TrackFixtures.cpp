#include "TrackFixtures.h"

#include "tracklib/TrackOperations.h"

namespace pw {

namespace {

void addSlots(Track& track)
{
    setSlot(0, "Caf\xE9 train", 1, makeColour(10, 20, 30, 40), makeColour(255, 0, 128, 7),
            makeColour(1, 2, 3, 4), makeColour(200, 201, 202, 203), track);
    setSlot(3, "Z\xFCrich", 0, makeColour(0, 0, 0, 0), makeColour(9, 8, 7, 6),
            makeColour(255, 255, 255, 255), makeColour(17, 34, 51, 68), track);
    setSlot(31, "last", 1, makeColour(5, 5, 5, 5), makeColour(6, 6, 6, 6), makeColour(7, 7, 7, 7),
            makeColour(8, 8, 8, 8), track);
    setTrackColour(track, 2, makeColour(12, 34, 56, 78));
    setTrackColour(track, 7, makeColour(0, 1, 0, 1));
    setExtraColour(track, makeColour(99, 98, 97, 96));
    track.trackBytes = {1, -2, 3, 127};
    track.trackValueD = -77;
    track.headerValue = 0x01020304;
    track.headerBytes = {1, 6, -1, 2, 9};
}

void addVertices(Track& track)
{
    setVertex(0, {0, 1, 0}, {0, 1, 10}, {0, 1, -10}, 0.25f, 1, 0, 1, track);
    addVertex({0, 2, -30}, {0, 2, -20}, {0, 2, -40}, 1.5f, 0, 1, 0, track);
    addVertex({15, 8.5f, -60}, {10, 8, -55}, {20, 9, -65}, -3.0f, 1, 1, 1, track);
    addVertex({40, 3, -70}, {35, 4, -70}, {45, 2, -70}, 0, 0, 0, 0, track);
    addVertex({60, 1.25f, -50}, {58, 1, -55}, {62, 1.5f, -45}, 7.75f, 0, 0, 1, track);
    addVertex({60, 1, -20}, {60, 1, -30}, {60, 1, -10}, 1e-3f, 1, 0, 0, track);
}

void addSegments(Track& track)
{
    track.segmentFlag = 1;
    const std::int32_t kinds[] = {1, 2, 3, 4, 6};
    int position = 1;
    for (std::int32_t kind : kinds) {
        addSegment(kind, position, position % 2, makeColour(kind, 2 * kind, 3 * kind, 250),
                   makeColour(255, kind, 0, 1), makeColour(position, 0, 255, 128), 1 - position % 2,
                   -position * 1000, track);
        ++position;
    }
    setSegmentKind1(1, SegmentKind1Data{1.5f, -2.25f, 3.0f,   4.125f, 5,  -6,    1,     7,
                                        8.5f, -9,     10,     0,      1,  14.0f, 15.5f, -16.0f,
                                        1,    18.0f,  19.25f, 20.0f,  21, 22.5f, 1},
                    track);
    setSegmentKind2(2, SegmentKind2Data{-1, 2.5f, 3.5f, 4.5f, 1, 0, 123456}, track);
    setSegmentKind3(3, SegmentKind3Data{0.5f, 1.5f, 2.5f, 4, 0, 1, -7, 8, 9.75f}, track);
    setSegmentKind4(4,
                    SegmentKind4Data{1.0f, 2.0f, 3.0f, 4.0f, 1, 1, 7.0f, 8.0f, 9.0f, 0, 1, 0, -13,
                                     -140000, 1, 16.5f, 1},
                    track);
}

void addSupports(Track& track)
{
    addRailConnector(0, 11, 0.25f, track);
    addRailConnector(0, 12, 0.75f, track);
    addRailConnector(1, 21, 0.5f, track);
    addRailConnector(2, 31, 0.0f, track);
    addRailConnector(3, 41, 1.0f, track);

    addFundament(1, 0.5f, 0, 0.0f, 3, 100, 0.0f, 0.0f, -30.0f, track);
    addFundament(0, 1.25f, 1, 0.5f, -4, -200, 15.0f, 0.0f, -60.0f, track);
    addFundament(1, 0.0f, 1, 0.0f, 0, 0, 40.0f, -2.5f, -70.0f, track);
    addFundament(0, 7.0f, 0, 0.0f, 127, 7, 60.0f, 0.0f, -50.0f, track);

    addFreeNode(1.0f, 4.0f, -31.0f, track);
    addFreeNode(16.0f, 3.0f, -61.0f, track);
    track.freeNodes[1].value = 42;
    addFreeNode(59.0f, 0.5f, -21.0f, track);

    // kind, index, group of each end, then size code, valueA, valueB
    addTube(TubeEndFundament, 0, 0, TubeEndFreeNode, 0, 0, 0, 1, 2, track);
    addTube(TubeEndFundament, 1, 0, TubeEndRailConnector, 1, 0, 1, 0, 3, track);
    addTube(TubeEndFundament, 2, 0, TubeEndFundament, 3, 0, 2, 5, -1, track);
    addTube(TubeEndFreeNode, 1, 0, TubeEndRailConnector, 0, 2, 3, 0, 0, track);
    addTube(TubeEndRailConnector, 0, 1, TubeEndFundament, 3, 0, 4, 2, 7, track);
    addTube(TubeEndFreeNode, 2, 0, TubeEndFundament, 0, 0, 5, 3, 10, track);
    addTube(TubeEndFundament, 1, 0, TubeEndFreeNode, 1, 0, 6, 4, 20, track);
    addTube(TubeEndRailConnector, 0, 3, TubeEndFreeNode, 2, 0, 7, 9, 1000, track);

    addCatwalk(Catwalk{{1, 2, 3, 4, 5, 6}, {1, -2, 3}}, track);
    addCatwalk(Catwalk{{-1, 0, 0, 0, 0, 65536}, {}}, track);
    addCatwalk(Catwalk{{7, 7, 7, 7, 7, 7}, {0, 127, -128, 5, 6}}, track);
}

void addScenery(Track& track)
{
    track.sceneryChildCount = 1;
    addSceneryItem(SceneryItem{1.0f, 2.0f, 3.0f, 4, 5.0f}, track);
    addSceneryItem(SceneryItem{-0.5f, 0.0f, 1e6f, -9, 0.125f}, track);

    SceneryObject footer{"mytrack/fundament-small.3ds", "", {}};
    footer.matrix = {1, 0, 0, 15, 0, 1, 0, 0, 0, 0, 1, -60, 0, 0, 0, 1};
    addSceneryObject(footer, track);
    SceneryObject tree{"trees/\xE9rable.3ds", "Ahorn", {}};
    tree.matrix = {0.5f, -0.25f, 0, 3, 0.25f, 0.5f, 0, 4, 0, 0, 2, 5, 0, 0, 0, 1};
    addSceneryObject(tree, track);

    setEnvironmentTexts("Sommer", "Nacht \xC4", track);
}

void addTerrain(Track& track)
{
    // clang-format off
    track.terrain = Terrain{.terrainValue = 3, .terrainColumns = 4, .terrainRows = 3,
                            .terrainF1 = 10.5f, .terrainF2 = -1.0f, .terrainTextA = "grass",
                            .terrainF3 = 0.25f, .terrainTextB = "", .terrainF4 = 100.0f,
                            .terrainFlagA = 1, .terrainF5 = 2.0f, .terrainTextC = "r\xF6" "ck",
                            .terrainF6 = 3.0f, .terrainByte = -5, .terrainFlagB = 0,
                            .terrainF7 = 4.5f, .terrainGrid = {}};
    // clang-format on
    Terrain& terrain = track.terrain;
    terrain.terrainGrid.assign(terrainGridSize * terrainGridSize, 0.0f);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            terrain.terrainGrid[r * terrainGridSize + c] = static_cast<float>(r * 10 + c) + 0.5f;
        }
    }
}

}  // namespace

Track makeNewTrack()
{
    Track track;
    newTrack(track);
    return track;
}

Track makeRichTrack()
{
    Track track = makeNewTrack();
    addSlots(track);
    addVertices(track);
    addSegments(track);
    addSupports(track);
    addScenery(track);
    addTerrain(track);
    setInfoText("Rich test track", track);
    return track;
}

}  // namespace pw
