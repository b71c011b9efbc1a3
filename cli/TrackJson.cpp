#include "TrackJson.h"

#include "JsonWriter.h"
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

template <typename Container>
void writeInt8s(JsonWriter& json, const Container& bytes)
{
    json.beginArray(true);
    for (const std::int8_t b : bytes)
        json.value(std::int32_t{b});
    json.endArray();
}

// Walks an element's layout, the one the reader and the writer walk: a field inside an object is
// written under its name, one inside a list as its value; reserved bytes are no field.
class LayoutJson {
public:
    LayoutJson(JsonWriter& json, bool inList) : json_(json) { inList_.push_back(inList); }

    void int32(std::int32_t value, const char* name = nullptr)
    {
        key(name);
        json_.value(value);
    }
    void float32(float value, const char* name = nullptr)
    {
        key(name);
        json_.value(value);
    }
    void int8(std::int8_t value, const char* name = nullptr) { int32(value, name); }
    void flag(Flag value, const char* name = nullptr) { int32(flagValue(value), name); }
    void colour(const Colour& value, const char* name = nullptr)
    {
        key(name);
        writeColour(json_, value);
    }
    void text(const std::string& value, const char* name = nullptr)
    {
        key(name);
        json_.latin1Value(value);
    }
    void reserved(std::size_t) {}
    void beginList(const char* name)
    {
        key(name);
        json_.beginArray(true);
        inList_.push_back(true);
    }
    void beginObject(const char* name)
    {
        key(name);
        json_.beginObject(true);
        inList_.push_back(false);
    }
    void endGroup()
    {
        if (inList_.back())
            json_.endArray();
        else
            json_.endObject();
        inList_.pop_back();
    }

private:
    void key(const char* name)
    {
        // Every field of an object is named; an unnamed one would show as "".
        if (!inList_.back())
            json_.key(name != nullptr ? name : "");
    }

    JsonWriter& json_;
    std::vector<bool> inList_;
};

// The element as one inline list of its fields' values.
template <class Element, class Layout>
void writeLayoutList(JsonWriter& json, const Element& element, Layout layout)
{
    json.beginArray(true);
    LayoutJson io(json, true);
    layout(io, element);
    json.endArray();
}

// The element as one inline object of its named fields.
template <class Element, class Layout>
void writeLayoutObject(JsonWriter& json, const Element& element, Layout layout)
{
    json.beginObject(true);
    LayoutJson io(json, false);
    layout(io, element);
    json.endObject();
}

// Each element of the list, one per line.
template <class Elements, class Layout>
void writeLayoutObjects(JsonWriter& json, const char* name, const Elements& elements, Layout layout)
{
    json.key(name);
    json.beginArray();
    for (const auto& element : elements)
        writeLayoutObject(json, element, layout);
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
    case 1: writeLayoutList(json, s.kind1, kind1Layout<LayoutJson, const SegmentKind1Data>); break;
    case 2: writeLayoutList(json, s.kind2, kind2Layout<LayoutJson, const SegmentKind2Data>); break;
    case 3: writeLayoutList(json, s.kind3, kind3Layout<LayoutJson, const SegmentKind3Data>); break;
    case 4: writeLayoutList(json, s.kind4, kind4Layout<LayoutJson, const SegmentKind4Data>); break;
    default: break;
    }
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
    writeLayoutObjects(json, "slots", t.slots, slotLayout<LayoutJson, const TrackSlot>);
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
    writeLayoutObjects(json, "vertices", t.vertices, vertexLayout<LayoutJson, const Vertex>);
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
    writeLayoutObjects(json, "fundaments", t.fundaments,
                       fundamentLayout<LayoutJson, const Fundament>);
    json.key("railConnectorLength");
    json.value(t.railConnectorLength);
    json.key("groups");
    json.beginArray();
    for (const RailConnectorGroup& group : t.groups) {
        json.beginArray();
        for (const RailConnector& c : group.connectors)
            writeLayoutObject(json, c, railConnectorLayout<LayoutJson, const RailConnector>);
        json.endArray();
    }
    json.endArray();
    json.key("freeNodeLength");
    json.value(t.freeNodeLength);
    writeLayoutObjects(json, "freeNodes", t.freeNodes, freeNodeLayout<LayoutJson, const FreeNode>);
    json.key("tubeLength");
    json.value(t.tubeLength);
    writeLayoutObjects(json, "tubes", t.tubes, tubeLayout<LayoutJson, const Tube>);
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
        writeLayoutList(json, item, sceneryItemLayout<LayoutJson, const SceneryItem>);
        json.endObject();
    }
    json.endArray();
    json.key("sceneryObjectLength");
    json.value(t.sceneryObjectLength);
    writeLayoutObjects(json, "sceneryObjects", t.sceneryObjects,
                       sceneryObjectLayout<LayoutJson, const SceneryObject>);
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
    // The counts as the record holds them, unclamped.
    LayoutJson io(json, false);
    terrainHeaderLayout(io, t, t.terrainColumns, t.terrainRows);
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

}  // namespace pw
