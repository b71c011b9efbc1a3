#include "SyntheticTrack.h"

#include "tracklib/TrackOperations.h"

#include <algorithm>
#include <cmath>

namespace pw::bench {

namespace {

enum class TubeShape { RailConnector, FreeNode, BothFundaments, NoFundament };

// Interleaved, so that every stretch of the tube list holds every shape.
TubeShape tubeShape(int tube)
{
    switch (tube % 4) {
    case 0:
    case 1: return TubeShape::RailConnector;
    case 2: return TubeShape::FreeNode;
    default: return (tube / 4) % 2 == 0 ? TubeShape::BothFundaments : TubeShape::NoFundament;
    }
}

int usableSegments(const SyntheticTrackSize& size)
{
    return std::max(0, std::min(size.segments, size.vertices - 1));
}

// A closed tangle of curves inside a 900 m square: long enough rides stay at coordinates where
// single precision still resolves the curve walk's millimetre steps.
Float3 ridePoint(double s)
{
    return {static_cast<float>(420.0 * std::sin(0.0100 * s)),
            static_cast<float>(32.0 + 18.0 * std::sin(0.0370 * s)),
            static_cast<float>(420.0 * std::sin(0.0131 * s + 0.7))};
}

Float3 rideTangent(double s)
{
    return {static_cast<float>(4.20 * std::cos(0.0100 * s)),
            static_cast<float>(0.666 * std::cos(0.0370 * s)),
            static_cast<float>(5.502 * std::cos(0.0131 * s + 0.7))};
}

Float3 offset(Float3 p, Float3 d, float factor)
{
    return {p.x + factor * d.x, p.y + factor * d.y, p.z + factor * d.z};
}

void addVertices(const SyntheticTrackSize& size, Track& track)
{
    for (int i = 0; i < size.vertices; ++i) {
        const Float3 p = ridePoint(i);
        const Float3 d = rideTangent(i);
        const Float3 in = offset(p, d, -1.0f / 3.0f);
        const Float3 out = offset(p, d, 1.0f / 3.0f);
        if (i == 0)
            setVertex(0, p, in, out, 0.0f, 0, 0, 0, track);
        else
            addVertex(p, in, out, 0.0f, 0, i % 7 == 0 ? 1 : 0, 0, track);
    }
}

void addSegments(const SyntheticTrackSize& size, Track& track)
{
    const Colour red = makeColour(200, 30, 30, 255);
    const Colour grey = makeColour(120, 120, 120, 255);
    for (int i = 0; i < size.segments; ++i)
        addSegment(1 + i % 4, i + 1, 1, red, grey, grey, i % 2, i % 3, track);
}

void addFundaments(const SyntheticTrackSize& size, Track& track)
{
    for (int f = 0; f < size.fundaments; ++f) {
        const Float3 p = ridePoint(static_cast<double>(f) * size.vertices / size.fundaments);
        const float angle = f % 5 == 0 ? 0.3f : 0.0f;
        addFundament(1, 1.0f, 0, angle, 0, 0, p.x + 2.5f, 0.0f, p.z - 1.5f, track);
    }
}

void addTerrain(const SyntheticTrackSize& size, Track& track)
{
    if (size.terrainSide == 0)
        return;
    // clang-format off
    track.terrain = Terrain{.terrainValue = 1, .terrainColumns = size.terrainSide,
                            .terrainRows = size.terrainSide, .terrainF1 = 4.0f, .terrainF2 = 0.5f,
                            .terrainTextA = "terrain/grass.bmp", .terrainF3 = 1.0f,
                            .terrainTextB = "terrain/rock.bmp", .terrainF4 = 2.0f,
                            .terrainFlagA = 1, .terrainF5 = 0.25f,
                            .terrainTextC = "terrain/detail.bmp", .terrainF6 = 8.0f,
                            .terrainByte = 3, .terrainFlagB = 0, .terrainF7 = 1.5f,
                            .terrainGrid = {}};
    // clang-format on
    Terrain& terrain = track.terrain;
    terrain.terrainGrid.assign(static_cast<std::size_t>(terrainGridSize) * terrainGridSize, 0.0f);
    for (int r = 0; r < size.terrainSide; ++r)
        for (int c = 0; c < size.terrainSide; ++c)
            terrain.terrainGrid[static_cast<std::size_t>(r) * terrainGridSize + c] =
                static_cast<float>(3.0 * std::sin(0.05 * r) * std::cos(0.07 * c));
}

void addScenery(const SyntheticTrackSize& size, Track& track)
{
    for (int k = 0; k < size.sceneryObjects; ++k) {
        SceneryObject object;
        object.textA = "tree" + std::to_string(k);
        object.textB = k % 3 == 0 ? "scenery/pine.3ds" : "scenery/station-roof-segment.3ds";
        const Float3 p = ridePoint(static_cast<double>(k) * size.vertices / size.sceneryObjects);
        object.matrix = {1, 0, 0, p.x + 12.0f, 0, 1, 0, 0, 0, 0, 1, p.z, 0, 0, 0, 1};
        addSceneryObject(object, track);
    }
}

// The segment that rail-connector tube r stands on, and its place along that segment.
struct ConnectorPlace {
    int segment = 0;
    float position = 0.0f;
};

ConnectorPlace connectorPlace(int r, int railTubes, int segmentsUsed, int usable)
{
    const int perSegment = (railTubes + segmentsUsed - 1) / segmentsUsed;
    const int slot = r / segmentsUsed;
    const double jitter = std::fmod(r * 0.6180339887, 1.0);
    return {static_cast<int>(static_cast<long long>(r % segmentsUsed) * usable / segmentsUsed),
            static_cast<float>((slot + 0.2 + 0.6 * jitter) / perSegment)};
}

}  // namespace

SyntheticTrackSize largeTrackSize() { return {"large", 20000, 20000, 20000, 10000, 300, 2000, 0}; }

SyntheticTrackSize realisticTrackSize()
{
    return {"realistic", 1000, 1000, 2000, 1000, 300, 100, 0};
}

SyntheticTrackSize largeClusteredTrackSize()
{
    SyntheticTrackSize size = largeTrackSize();
    size.name = "large-clustered";
    size.connectorSegments = 1000;
    return size;
}

SyntheticTrackSize trackSizeNamed(const std::string& name)
{
    for (const SyntheticTrackSize& size :
         {largeTrackSize(), realisticTrackSize(), largeClusteredTrackSize()})
        if (size.name == name)
            return size;
    return {};
}

SyntheticTrackCounts syntheticTrackCounts(const SyntheticTrackSize& size)
{
    SyntheticTrackCounts counts;
    for (int t = 0; t < size.tubes; ++t) {
        switch (tubeShape(t)) {
        case TubeShape::RailConnector: ++counts.railConnectorTubes; break;
        case TubeShape::FreeNode: ++counts.freeNodeTubes; break;
        case TubeShape::BothFundaments: ++counts.fundamentTubes; break;
        case TubeShape::NoFundament: ++counts.unfootedTubes; break;
        }
    }
    const int usable = usableSegments(size);
    const int wanted = size.connectorSegments > 0 ? size.connectorSegments : usable;
    counts.connectorSegmentsUsed = std::min({wanted, usable, counts.railConnectorTubes});
    return counts;
}

Track makeSyntheticTrack(const SyntheticTrackSize& size)
{
    Track track;
    newTrack(track);
    setInfoText("Synthetic ride " + size.name, track);
    setEnvironmentTexts("environment/day.nlenv", "environment/sky.bmp", track);
    addVertices(size, track);
    addSegments(size, track);
    addFundaments(size, track);
    addTerrain(size, track);
    addScenery(size, track);

    const SyntheticTrackCounts counts = syntheticTrackCounts(size);
    const int usable = usableSegments(size);
    int footedEnds = 0;
    int railTube = 0;
    const auto nextFundament = [&] {
        return size.fundaments > 0 ? footedEnds++ % size.fundaments : 0;
    };

    for (int t = 0; t < size.tubes; ++t) {
        const std::int32_t sizeCode = t % 7;  // 0 to 6: every code, two of them without footer
        switch (tubeShape(t)) {
        case TubeShape::RailConnector: {
            const ConnectorPlace place = connectorPlace(railTube++, counts.railConnectorTubes,
                                                        counts.connectorSegmentsUsed, usable);
            const int connector = addRailConnector(place.segment, 0, place.position, track);
            addTube(TubeEndFundament, nextFundament(), 0, TubeEndRailConnector, connector,
                    place.segment, sizeCode, 0, 1, track);
            break;
        }
        case TubeShape::FreeNode: {
            const Float3 p = ridePoint(static_cast<double>(t) * size.vertices / size.tubes);
            const int node = addFreeNode(p.x, 9.0f, p.z, track);
            addTube(TubeEndFundament, nextFundament(), 0, TubeEndFreeNode, node, 0, sizeCode, 0, 1,
                    track);
            break;
        }
        case TubeShape::BothFundaments: {
            const int a = nextFundament();
            const int b = nextFundament();
            addTube(TubeEndFundament, a, 0, TubeEndFundament, b, 0, sizeCode, 0, 1, track);
            break;
        }
        case TubeShape::NoFundament: {
            const int nodes = freeNodeCount(track);
            if (nodes >= 2)
                addTube(TubeEndFreeNode, nodes - 2, 0, TubeEndFreeNode, nodes - 1, 0, sizeCode, 0,
                        1, track);
            else
                addTube(TubeEndFreeNode, 0, 0, TubeEndFreeNode, 0, 0, sizeCode, 0, 1, track);
            break;
        }
        }
    }
    return track;
}

}  // namespace pw::bench
