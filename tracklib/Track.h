#pragma once
// The in-memory record of one track file: every field the file carries, in file order.
// Texts hold the file's 8-bit (Latin-1) bytes unchanged. Counted arrays take their count from
// the vector; only slotCount is kept as a field of its own, because the format stores it apart
// from the slots it counts.

#include "geometry/Vector3.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pw {

// A flag is a 32-bit truth value: only 1 is true when written to a file.
using Flag = std::int32_t;

struct Colour {
    std::int32_t c0 = 0;
    std::int32_t c1 = 0;
    std::int32_t c2 = 0;
    std::int32_t c3 = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

using Float3 = Vector3;

struct TrackSlot {
    Flag flag = 0;
    std::string text;
    std::array<Colour, 4> colours{};
    friend bool operator==(const TrackSlot&, const TrackSlot&) = default;
};

// The curve from vertex i to vertex i + 1 is the cubic Bezier curve through
// position(i), controlOut(i), controlIn(i + 1), position(i + 1).
struct Vertex {
    Float3 position;
    Float3 controlIn;
    Float3 controlOut;
    float value = 0.0f;
    std::array<Flag, 3> flags{};
    friend bool operator==(const Vertex&, const Vertex&) = default;
};

// The kind blocks carry fields whose meaning the format does not give; they are kept by position.
struct SegmentKind1Data {
    float field1 = 0, field2 = 0, field3 = 0, field4 = 0;
    std::int8_t field5 = 0, field6 = 0;
    Flag field7 = 0;
    std::int8_t field8 = 0;
    float field9 = 0;
    std::int8_t field10 = 0, field11 = 0;
    Flag field12 = 0, field13 = 0;
    float field14 = 0, field15 = 0, field16 = 0;
    Flag field17 = 0;
    float field18 = 0, field19 = 0, field20 = 0;
    std::int8_t field21 = 0;
    float field22 = 0;
    Flag field23 = 0;
    friend bool operator==(const SegmentKind1Data&, const SegmentKind1Data&) = default;
};

struct SegmentKind2Data {
    std::int8_t field1 = 0;
    float field2 = 0, field3 = 0, field4 = 0;
    Flag field5 = 0, field6 = 0;
    std::int32_t field7 = 0;
    friend bool operator==(const SegmentKind2Data&, const SegmentKind2Data&) = default;
};

struct SegmentKind3Data {
    float field1 = 0, field2 = 0, field3 = 0;
    std::int8_t field4 = 0;
    Flag field5 = 0, field6 = 0;
    std::int8_t field7 = 0, field8 = 0;
    float field9 = 0;
    friend bool operator==(const SegmentKind3Data&, const SegmentKind3Data&) = default;
};

struct SegmentKind4Data {
    float field1 = 0, field2 = 0, field3 = 0, field4 = 0;
    Flag field5 = 0, field6 = 0;
    float field7 = 0, field8 = 0, field9 = 0;
    Flag field10 = 0, field11 = 0, field12 = 0;
    std::int8_t field13 = 0;
    std::int32_t field14 = 0;
    Flag field15 = 0;
    float field16 = 0;
    Flag field17 = 0;
    friend bool operator==(const SegmentKind4Data&, const SegmentKind4Data&) = default;
};

// Segment i runs from vertex i to vertex i + 1. Only the block whose number equals `kind`
// travels through files; extraLength is that block's encoded size (as read, for a read file).
struct Segment {
    std::int32_t extraLength = 0;
    std::int32_t kind = 0;
    Flag flagA = 0;
    std::array<Colour, 3> colours{};
    Flag flagB = 0;
    std::int32_t value = 0;
    SegmentKind1Data kind1;
    SegmentKind2Data kind2;
    SegmentKind3Data kind3;
    SegmentKind4Data kind4;
    friend bool operator==(const Segment&, const Segment&) = default;
};

struct RailConnector {
    std::int32_t value = 0;
    float position = 0.0f;  // place along its segment: 0 at the start, 1 at the end
    friend bool operator==(const RailConnector&, const RailConnector&) = default;
};

// Group g holds the rail connectors of segment g.
struct RailConnectorGroup {
    std::vector<RailConnector> connectors;
    friend bool operator==(const RailConnectorGroup&, const RailConnectorGroup&) = default;
};

struct Fundament {
    Flag flagA = 0;
    float valueA = 0.0f;
    Flag flagB = 0;
    float angle = 0.0f;  // radians; a non-zero angle is the footer's turn about the vertical
    std::int8_t byteValue = 0;
    std::int32_t valueB = 0;
    Float3 position;  // where the footer stands
    friend bool operator==(const Fundament&, const Fundament&) = default;
};

struct FreeNode {
    Float3 position;
    std::int32_t value = 0;
    friend bool operator==(const FreeNode&, const FreeNode&) = default;
};

enum TubeEndKind : std::int32_t {
    TubeEndFundament = 1,
    TubeEndFreeNode = 2,
    TubeEndRailConnector = 3,
};

// `group` matters only for rail-connector ends.
struct TubeEnd {
    std::int32_t kind = 0;
    std::int32_t group = 0;
    std::int32_t index = 0;
    friend bool operator==(const TubeEnd&, const TubeEnd&) = default;
};

struct Tube {
    TubeEnd endA;
    TubeEnd endB;
    std::int32_t sizeClass = 0;
    std::int32_t valueA = 0;
    float valueB = 0.0f;
    friend bool operator==(const Tube&, const Tube&) = default;
};

struct Catwalk {
    std::array<std::int32_t, 6> values{};
    std::vector<std::int8_t> bytes;
    friend bool operator==(const Catwalk&, const Catwalk&) = default;
};

struct SceneryItem {
    float valueA = 0.0f, valueB = 0.0f, valueC = 0.0f;
    std::int32_t valueD = 0;
    float valueE = 0.0f;
    friend bool operator==(const SceneryItem&, const SceneryItem&) = default;
};

// `matrix` is a placement: row-major, element (r, c) at 4r + c, translation in 3, 7 and 11.
struct SceneryObject {
    std::string textA;
    std::string textB;
    std::array<float, 16> matrix{};
    friend bool operator==(const SceneryObject&, const SceneryObject&) = default;
};

// The terrain grid has a fixed stride of terrainGridSize columns; only rows below terrainRows
// and columns below terrainColumns (both clamped to terrainGridSize) are meaningful.
inline constexpr int terrainGridSize = 300;

struct Terrain {
    std::int32_t terrainValue = 0;
    std::int32_t terrainColumns = 0;  // the track has a terrain exactly when this is not 0
    std::int32_t terrainRows = 0;
    float terrainF1 = 0.0f;
    float terrainF2 = 0.0f;
    std::string terrainTextA;
    float terrainF3 = 0.0f;
    std::string terrainTextB;
    float terrainF4 = 0.0f;
    Flag terrainFlagA = 0;
    float terrainF5 = 0.0f;
    std::string terrainTextC;
    float terrainF6 = 0.0f;
    std::int8_t terrainByte = 0;
    Flag terrainFlagB = 0;
    float terrainF7 = 0.0f;
    // Empty, or terrainGridSize * terrainGridSize values, element [r][c] at r * terrainGridSize +
    // c.
    std::vector<float> terrainGrid;
    friend bool operator==(const Terrain&, const Terrain&) = default;
};

struct Track {
    // file header "NLIM"
    std::int32_t headerValue = 0;
    std::array<std::int8_t, 5> headerBytes{};
    Flag headerFlag = 0;

    // track header "TRCK"
    std::int32_t trackValueA = 0;
    std::int32_t trackValueB = 0;
    std::int32_t slotCount = 0;
    std::int32_t trackValueC = 0;
    std::vector<TrackSlot> slots;
    std::array<Colour, 8> colours{};
    std::array<std::int8_t, 4> trackBytes{};
    std::int32_t trackValueD = 0;
    Flag trackFlag = 0;
    Colour extraColour;

    // "INFO"
    std::int32_t infoLength = 0;
    std::string infoText;

    // "BEZR"
    std::int32_t vertexLength = 0;
    std::vector<Vertex> vertices;

    // "SEGM"
    std::int32_t segmentLength = 0;
    Flag segmentFlag = 0;
    std::vector<Segment> segments;

    // "SUPP" and its children
    std::int32_t supportLength = 0;
    std::int32_t fundamentLength = 0;
    std::vector<Fundament> fundaments;
    std::int32_t railConnectorLength = 0;
    std::vector<RailConnectorGroup> groups;
    std::int32_t freeNodeLength = 0;
    std::vector<FreeNode> freeNodes;
    std::int32_t tubeLength = 0;
    std::vector<Tube> tubes;
    std::int32_t catwalkLength = 0;
    std::vector<Catwalk> catwalks;

    // "SCEN" and its child "SCOB"
    std::int32_t sceneryLength = 0;
    std::int32_t sceneryChildCount = 0;
    std::vector<SceneryItem> sceneryItems;
    std::int32_t sceneryObjectLength = 0;
    std::vector<SceneryObject> sceneryObjects;

    // "ENVC"
    std::int32_t environmentLength = 0;
    std::string environmentTextA;
    std::string environmentTextB;

    // "TERA", present exactly when terrain.terrainColumns is not 0
    Terrain terrain;

    friend bool operator==(const Track&, const Track&) = default;
};

}  // namespace pw
