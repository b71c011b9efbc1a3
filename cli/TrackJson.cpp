#include "TrackJson.h"

#include "JsonWriter.h"
#include "TrackLoading.h"
#include "tracklib/ElementLayouts.h"
#include "tracklib/Track.h"

#include <algorithm>
#include <cstddef>

namespace pw {

namespace {

// A file stores only 1 as true; any other value reads back as 0.
std::int32_t flagValue(Flag flag) { return flag == 1 ? 1 : 0; }

void writeColour(JsonWriter& json, const Colour& colour)
{
    json.beginArray(true);
    json.value(colour.c0);
    json.value(colour.c1);
    json.value(colour.c2);
    json.value(colour.c3);
    json.endArray();
}

template <std::size_t N>
void writeColours(JsonWriter& json, const std::array<Colour, N>& colours)
{
    json.beginArray(true);
    for (const Colour& colour : colours)
        writeColour(json, colour);
    json.endArray();
}

void writeFloat3(JsonWriter& json, const Float3& v)
{
    json.beginArray(true);
    json.value(v.x);
    json.value(v.y);
    json.value(v.z);
    json.endArray();
}

template <typename Container>
void writeInt8s(JsonWriter& json, const Container& bytes)
{
    json.beginArray(true);
    for (const std::int8_t b : bytes)
        json.value(std::int32_t{b});
    json.endArray();
}

// Walks an element's layout, the one the reader and the writer walk, writing each field as one
// value of an inline list; reserved bytes are no field.
struct LayoutJsonList {
    JsonWriter& json;
    void int32(std::int32_t value) { json.value(value); }
    void float32(float value) { json.value(value); }
    void int8(std::int8_t value) { json.value(std::int32_t{value}); }
    void flag(Flag value) { json.value(flagValue(value)); }
    void colour(const Colour& value) { writeColour(json, value); }
    void text(const std::string& value) { json.latin1Value(value); }
    void reserved(std::size_t) {}
};

template <class Element, class Layout>
void writeLayoutList(JsonWriter& json, const Element& element, Layout layout)
{
    json.beginArray(true);
    LayoutJsonList io{json};
    layout(io, element);
    json.endArray();
}

void writeSegment(JsonWriter& json, const Segment& s)
{
    json.beginObject();
    json.key("extraLength");
    json.value(s.extraLength);
    json.key("kind");
    json.value(s.kind);
    json.key("flagA");
    json.value(flagValue(s.flagA));
    json.key("colours");
    writeColours(json, s.colours);
    json.key("flagB");
    json.value(flagValue(s.flagB));
    json.key("value");
    json.value(s.value);
    // Other kinds carry no block in a file.
    if (s.kind >= 1 && s.kind <= 4)
        json.key("block");
    switch (s.kind) {
    case 1:
        writeLayoutList(json, s.kind1, kind1Layout<LayoutJsonList, const SegmentKind1Data>);
        break;
    case 2:
        writeLayoutList(json, s.kind2, kind2Layout<LayoutJsonList, const SegmentKind2Data>);
        break;
    case 3:
        writeLayoutList(json, s.kind3, kind3Layout<LayoutJsonList, const SegmentKind3Data>);
        break;
    case 4:
        writeLayoutList(json, s.kind4, kind4Layout<LayoutJsonList, const SegmentKind4Data>);
        break;
    default: break;
    }
    json.endObject();
}

void writeTubeEnd(JsonWriter& json, const TubeEnd& end)
{
    json.beginObject(true);
    json.key("kind");
    json.value(end.kind);
    json.key("group");
    json.value(end.group);
    json.key("index");
    json.value(end.index);
    json.endObject();
}

void writeHeaders(JsonWriter& json, const Track& t)
{
    json.key("headerValue");
    json.value(t.headerValue);
    json.key("headerBytes");
    writeInt8s(json, t.headerBytes);
    json.key("headerFlag");
    json.value(flagValue(t.headerFlag));
    json.key("trackValueA");
    json.value(t.trackValueA);
    json.key("trackValueB");
    json.value(t.trackValueB);
    json.key("slotCount");
    json.value(t.slotCount);
    json.key("trackValueC");
    json.value(t.trackValueC);
    json.key("slots");
    json.beginArray();
    for (const TrackSlot& slot : t.slots) {
        json.beginObject(true);
        json.key("flag");
        json.value(flagValue(slot.flag));
        json.key("text");
        json.latin1Value(slot.text);
        json.key("colours");
        writeColours(json, slot.colours);
        json.endObject();
    }
    json.endArray();
    json.key("colours");
    writeColours(json, t.colours);
    json.key("trackBytes");
    writeInt8s(json, t.trackBytes);
    json.key("trackValueD");
    json.value(t.trackValueD);
    json.key("trackFlag");
    json.value(flagValue(t.trackFlag));
    json.key("extraColour");
    writeColour(json, t.extraColour);
    json.key("infoLength");
    json.value(t.infoLength);
    json.key("infoText");
    json.latin1Value(t.infoText);
}

void writeCurve(JsonWriter& json, const Track& t)
{
    json.key("vertexLength");
    json.value(t.vertexLength);
    json.key("vertices");
    json.beginArray();
    for (const Vertex& v : t.vertices) {
        json.beginObject(true);
        json.key("position");
        writeFloat3(json, v.position);
        json.key("controlIn");
        writeFloat3(json, v.controlIn);
        json.key("controlOut");
        writeFloat3(json, v.controlOut);
        json.key("value");
        json.value(v.value);
        json.key("flags");
        json.beginArray(true);
        for (const Flag flag : v.flags)
            json.value(flagValue(flag));
        json.endArray();
        json.endObject();
    }
    json.endArray();
    json.key("segmentLength");
    json.value(t.segmentLength);
    json.key("segmentFlag");
    json.value(flagValue(t.segmentFlag));
    json.key("segments");
    json.beginArray();
    for (const Segment& s : t.segments)
        writeSegment(json, s);
    json.endArray();
}

void writeSupports(JsonWriter& json, const Track& t)
{
    json.key("supportLength");
    json.value(t.supportLength);
    json.key("fundamentLength");
    json.value(t.fundamentLength);
    json.key("fundaments");
    json.beginArray();
    for (const Fundament& f : t.fundaments) {
        json.beginObject(true);
        json.key("flagA");
        json.value(flagValue(f.flagA));
        json.key("valueA");
        json.value(f.valueA);
        json.key("flagB");
        json.value(flagValue(f.flagB));
        json.key("angle");
        json.value(f.angle);
        json.key("byteValue");
        json.value(std::int32_t{f.byteValue});
        json.key("valueB");
        json.value(f.valueB);
        json.key("position");
        writeFloat3(json, f.position);
        json.endObject();
    }
    json.endArray();
    json.key("railConnectorLength");
    json.value(t.railConnectorLength);
    json.key("groups");
    json.beginArray();
    for (const RailConnectorGroup& group : t.groups) {
        json.beginArray();
        for (const RailConnector& c : group.connectors) {
            json.beginObject(true);
            json.key("value");
            json.value(c.value);
            json.key("position");
            json.value(c.position);
            json.endObject();
        }
        json.endArray();
    }
    json.endArray();
    json.key("freeNodeLength");
    json.value(t.freeNodeLength);
    json.key("freeNodes");
    json.beginArray();
    for (const FreeNode& n : t.freeNodes) {
        json.beginObject(true);
        json.key("position");
        writeFloat3(json, n.position);
        json.key("value");
        json.value(n.value);
        json.endObject();
    }
    json.endArray();
    json.key("tubeLength");
    json.value(t.tubeLength);
    json.key("tubes");
    json.beginArray();
    for (const Tube& tube : t.tubes) {
        json.beginObject(true);
        json.key("endA");
        writeTubeEnd(json, tube.endA);
        json.key("endB");
        writeTubeEnd(json, tube.endB);
        json.key("sizeClass");
        json.value(tube.sizeClass);
        json.key("valueA");
        json.value(tube.valueA);
        json.key("valueB");
        json.value(tube.valueB);
        json.endObject();
    }
    json.endArray();
    json.key("catwalkLength");
    json.value(t.catwalkLength);
    json.key("catwalks");
    json.beginArray();
    for (const Catwalk& c : t.catwalks) {
        json.beginObject(true);
        json.key("values");
        json.beginArray(true);
        for (const std::int32_t v : c.values)
            json.value(v);
        json.endArray();
        json.key("bytes");
        writeInt8s(json, c.bytes);
        json.endObject();
    }
    json.endArray();
}

void writeScenery(JsonWriter& json, const Track& t)
{
    json.key("sceneryLength");
    json.value(t.sceneryLength);
    json.key("sceneryChildCount");
    json.value(t.sceneryChildCount);
    json.key("sceneryItems");
    json.beginArray();
    for (const SceneryItem& item : t.sceneryItems) {
        json.beginObject(true);
        json.key("values");
        writeLayoutList(json, item, sceneryItemLayout<LayoutJsonList, const SceneryItem>);
        json.endObject();
    }
    json.endArray();
    json.key("sceneryObjectLength");
    json.value(t.sceneryObjectLength);
    json.key("sceneryObjects");
    json.beginArray();
    for (const SceneryObject& object : t.sceneryObjects) {
        json.beginObject(true);
        json.key("textA");
        json.latin1Value(object.textA);
        json.key("textB");
        json.latin1Value(object.textB);
        json.key("matrix");
        json.beginArray(true);
        for (const float e : object.matrix)
            json.value(e);
        json.endArray();
        json.endObject();
    }
    json.endArray();
    json.key("environmentLength");
    json.value(t.environmentLength);
    json.key("environmentTextA");
    json.latin1Value(t.environmentTextA);
    json.key("environmentTextB");
    json.latin1Value(t.environmentTextB);
}

// A grid value outside the stored grid (a record built without one) reads as 0.
float gridValue(const Terrain& terrain, int row, int column)
{
    const std::size_t at = static_cast<std::size_t>(row) * terrainGridSize + column;
    return at < terrain.terrainGrid.size() ? terrain.terrainGrid[at] : 0.0f;
}

void writeTerrain(JsonWriter& json, const Terrain& t)
{
    json.key("terrain");
    if (t.terrainColumns == 0) {
        json.nullValue();
        return;
    }
    json.beginObject();
    json.key("terrainValue");
    json.value(t.terrainValue);
    json.key("terrainColumns");
    json.value(t.terrainColumns);
    json.key("terrainRows");
    json.value(t.terrainRows);
    json.key("terrainF1");
    json.value(t.terrainF1);
    json.key("terrainF2");
    json.value(t.terrainF2);
    json.key("terrainTextA");
    json.latin1Value(t.terrainTextA);
    json.key("terrainF3");
    json.value(t.terrainF3);
    json.key("terrainTextB");
    json.latin1Value(t.terrainTextB);
    json.key("terrainF4");
    json.value(t.terrainF4);
    json.key("terrainFlagA");
    json.value(flagValue(t.terrainFlagA));
    json.key("terrainF5");
    json.value(t.terrainF5);
    json.key("terrainTextC");
    json.latin1Value(t.terrainTextC);
    json.key("terrainF6");
    json.value(t.terrainF6);
    json.key("terrainByte");
    json.value(std::int32_t{t.terrainByte});
    json.key("terrainFlagB");
    json.value(flagValue(t.terrainFlagB));
    json.key("terrainF7");
    json.value(t.terrainF7);
    const int rows = std::clamp(t.terrainRows, 0, terrainGridSize);
    const int columns = std::clamp(t.terrainColumns, 0, terrainGridSize);
    json.key("grid");
    json.beginArray();
    for (int r = 0; r < rows; ++r) {
        json.beginArray(true);
        for (int c = 0; c < columns; ++c)
            json.value(gridValue(t, r, c));
        json.endArray();
    }
    json.endArray();
    json.endObject();
}

void writeTrack(JsonWriter& json, const Track& track)
{
    json.beginObject();
    writeHeaders(json, track);
    writeCurve(json, track);
    writeSupports(json, track);
    writeScenery(json, track);
    writeTerrain(json, track.terrain);
    json.endObject();
}

}  // namespace

std::string trackToJson(const Track& track)
{
    JsonWriter json;
    writeTrack(json, track);
    return json.text();
}

void writeTrackJson(const Track& track, const std::function<void(std::string_view)>& sink)
{
    JsonWriter json(sink);
    writeTrack(json, track);
}

int runDump(const QString& trackPath, QTextStream& out, QTextStream& err)
{
    // The record as read, whatever the bytes were: dump is how one looks at them.
    const std::optional<OpenedTrack> loaded = loadTrack(trackPath, err, WithoutTrackData::Accept);
    if (!loaded)
        return 1;
    // Streamed: the text of a large track is many times its file's size.
    writeTrackJson(loaded->track, [&](std::string_view piece) {
        out << QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size()));
    });
    return 0;
}

}  // namespace pw
