#include "DemoTrack.h"

#include "tracklib/TrackOperations.h"

#include <cmath>
#include <numbers>

namespace pw {

namespace {

constexpr int circuitVertexCount = 10;  // plus the closing vertex on top of the first
constexpr double halfLength = 60.0;     // along x
constexpr double halfWidth = 35.0;      // along z
constexpr double meanHeight = 15.0;
constexpr double heightSwing = 10.0;
constexpr float bentSupportOffset = 4.0f;  // how far out a bent support's foot stands
constexpr float aFrameSpread = 3.0f;

struct CircuitPoint {
    Float3 position;
    Float3 tangent;  // derivative by the angle
};

CircuitPoint circuitPoint(double angle)
{
    CircuitPoint p;
    p.position = {static_cast<float>(halfLength * std::cos(angle)),
                  static_cast<float>(meanHeight + heightSwing * std::sin(2.0 * angle)),
                  static_cast<float>(halfWidth * std::sin(angle))};
    p.tangent = {static_cast<float>(-halfLength * std::sin(angle)),
                 static_cast<float>(2.0 * heightSwing * std::cos(2.0 * angle)),
                 static_cast<float>(halfWidth * std::cos(angle))};
    return p;
}

Float3 along(Float3 p, Float3 d, float t) { return {p.x + t * d.x, p.y + t * d.y, p.z + t * d.z}; }

// Controls a third of the angle step along the tangent keep the curve smooth at every vertex.
void addCircuitVertex(double angle, Track& track, bool first)
{
    const double step = 2.0 * std::numbers::pi / circuitVertexCount;
    const CircuitPoint p = circuitPoint(angle);
    const float h = static_cast<float>(step / 3.0);
    const Float3 in = along(p.position, p.tangent, -h);
    const Float3 out = along(p.position, p.tangent, h);
    if (first)
        setVertex(0, p.position, in, out, 0.0f, 0, 0, 0, track);
    else
        addVertex(p.position, in, out, 0.0f, 0, 0, 0, track);
}

// Taller supports carry more load and get thicker tubes.
std::int32_t sizeCodeForHeight(float height)
{
    if (height < 9.0f)
        return 2;  // small
    if (height < 15.0f)
        return 0;  // medium
    if (height < 20.0f)
        return 1;  // large
    if (height < 24.0f)
        return 5;  // x-large
    return 6;      // xx-large
}

Float3 outwards(Float3 p)
{
    const float length = std::sqrt(p.x * p.x + p.z * p.z);
    return {p.x / length, 0.0f, p.z / length};
}

int addGroundFundament(float x, float z, float angle, Track& track)
{
    return addFundament(0, 0.0f, 0, angle, 0, 0, x, 0.0f, z, track);
}

enum class SupportShape { Straight, Bent, AFrame };

void addSupport(int group, int connector, SupportShape shape, float fundamentAngle, Track& track)
{
    const Float3 top = railConnectorPoint(connector, group, track);
    const std::int32_t size = sizeCodeForHeight(top.y);
    switch (shape) {
    case SupportShape::Straight: {
        const int f = addGroundFundament(top.x, top.z, fundamentAngle, track);
        addTube(TubeEndRailConnector, connector, group, TubeEndFundament, f, 0, size, 0, 0, track);
        break;
    }
    case SupportShape::Bent: {
        const Float3 out = outwards(top);
        const Float3 foot = along(top, out, bentSupportOffset);
        const int node = addFreeNode(foot.x, top.y / 2.0f, foot.z, track);
        const int f = addGroundFundament(foot.x, foot.z, fundamentAngle, track);
        addTube(TubeEndRailConnector, connector, group, TubeEndFreeNode, node, 0, size, 0, 0,
                track);
        // The fundament on end A: the generation must find it on either end.
        addTube(TubeEndFundament, f, 0, TubeEndFreeNode, node, 0, size, 0, 0, track);
        break;
    }
    case SupportShape::AFrame: {
        const Float3 out = outwards(top);
        for (const float side : {-aFrameSpread, aFrameSpread}) {
            const Float3 foot = along(top, out, side);
            const int f = addGroundFundament(foot.x, foot.z, fundamentAngle, track);
            addTube(TubeEndRailConnector, connector, group, TubeEndFundament, f, 0, size, 0, 0,
                    track);
        }
        break;
    }
    }
}

struct SupportPlan {
    SupportShape shape = SupportShape::Straight;
    float fundamentAngle = 0.0f;  // radians
};

SupportPlan planFor(int support)
{
    switch (support) {
    case 0: return {SupportShape::Straight, 0.5f};
    case 5: return {SupportShape::Bent, 0.0f};
    case 9: return {SupportShape::AFrame, 0.0f};
    case 12: return {SupportShape::Straight, -0.3f};
    case 14: return {SupportShape::Bent, 0.0f};
    default: return {};
    }
}

}  // namespace

Track makeDemoTrack()
{
    Track track;
    newTrack(track);
    setInfoText("Plinthwright demo track", track);
    track.sceneryChildCount = 1;  // the scenery-object chunk nested in the scenery chunk

    const double step = 2.0 * std::numbers::pi / circuitVertexCount;
    for (int i = 0; i <= circuitVertexCount; ++i)
        addCircuitVertex(i == circuitVertexCount ? 0.0 : i * step, track, i == 0);

    const Colour red = makeColour(200, 40, 30, 255);
    const Colour white = makeColour(240, 240, 240, 255);
    const Colour grey = makeColour(90, 90, 90, 255);
    for (int position = 1; position <= circuitVertexCount; ++position)
        addSegment(0, position, 0, red, white, grey, 0, 0, track);

    int support = 0;
    for (int group = 0; group < circuitVertexCount; ++group) {
        for (const float at : {0.25f, 0.75f}) {
            const int connector = addRailConnector(group, 0, at, track);
            const SupportPlan plan = planFor(support++);
            addSupport(group, connector, plan.shape, plan.fundamentAngle, track);
        }
    }
    return track;
}

}  // namespace pw
