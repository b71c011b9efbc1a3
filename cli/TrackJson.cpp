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

// A named number of the object being written.
template <typename Number>
void field(JsonWriter& json, const char* name, Number value)
{
    json.key(name);
    json.value(value);
}

void writeColour(JsonWriter& json, const Colour& colour)
{
    json.beginArray(true);
    for (const std::int32_t component : {colour.c0, colour.c1, colour.c2, colour.c3})
        json.value(component);
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

enum class Inline { List, Object };

// The element on one line: a list of its fields' values, or an object of its named fields.
template <class Element, class Layout>
void writeInline(JsonWriter& json, Inline shape, const Element& element, Layout layout)
{
    LayoutJson io(json, true);  // the group itself is a value: no name before it
    if (shape == Inline::List)
        io.beginList(nullptr);
    else
        io.beginObject(nullptr);
    layout(io, element);
    io.endGroup();
}

template <class Element, class Layout>
void writeLayoutList(JsonWriter& json, const Element& element, Layout layout)
{
    writeInline(json, Inline::List, element, layout);
}

template <class Element, class Layout>
void writeLayoutObject(JsonWriter& json, const Element& element, Layout layout)
{
    writeInline(json, Inline::Object, element, layout);
}

// A named list, one element per line, each as `writeElement` writes it.
template <class Elements, class WriteElement>
void writeList(JsonWriter& json, const char* name, const Elements& elements,
               WriteElement writeElement)
{
    json.key(name);
    json.beginArray();
    for (const auto& element : elements)
        writeElement(element);
    json.endArray();
}

template <class Elements, class Layout>
void writeLayoutObjects(JsonWriter& json, const char* name, const Elements& elements, Layout layout)
{
    writeList(json, name, elements,
              [&json, layout](const auto& element) { writeLayoutObject(json, element, layout); });
}

void writeSegment(JsonWriter& json, const Segment& s)
{
    json.beginObject();
    field(json, "extraLength", s.extraLength);
    field(json, "kind", s.kind);
    field(json, "flagA", flagValue(s.flagA));
    json.key("colours");
    writeColours(json, s.colours);
    field(json, "flagB", flagValue(s.flagB));
    field(json, "value", s.value);
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
    field(json, "headerValue", t.headerValue);
    json.key("headerBytes");
    writeInt8s(json, t.headerBytes);
    field(json, "headerFlag", flagValue(t.headerFlag));
    field(json, "trackValueA", t.trackValueA);
    field(json, "trackValueB", t.trackValueB);
    field(json, "slotCount", t.slotCount);
    field(json, "trackValueC", t.trackValueC);
    writeLayoutObjects(json, "slots", t.slots, slotLayout<LayoutJson, const TrackSlot>);
    json.key("colours");
    writeColours(json, t.colours);
    json.key("trackBytes");
    writeInt8s(json, t.trackBytes);
    field(json, "trackValueD", t.trackValueD);
    field(json, "trackFlag", flagValue(t.trackFlag));
    json.key("extraColour");
    writeColour(json, t.extraColour);
    field(json, "infoLength", t.infoLength);
    json.key("infoText");
    json.latin1Value(t.infoText);
}

void writeCurve(JsonWriter& json, const Track& t)
{
    field(json, "vertexLength", t.vertexLength);
    writeLayoutObjects(json, "vertices", t.vertices, vertexLayout<LayoutJson, const Vertex>);
    field(json, "segmentLength", t.segmentLength);
    field(json, "segmentFlag", flagValue(t.segmentFlag));
    writeList(json, "segments", t.segments, [&json](const Segment& s) { writeSegment(json, s); });
}

void writeSupports(JsonWriter& json, const Track& t)
{
    field(json, "supportLength", t.supportLength);
    field(json, "fundamentLength", t.fundamentLength);
    writeLayoutObjects(json, "fundaments", t.fundaments,
                       fundamentLayout<LayoutJson, const Fundament>);
    field(json, "railConnectorLength", t.railConnectorLength);
    writeList(json, "groups", t.groups, [&json](const RailConnectorGroup& group) {
        json.beginArray();
        for (const RailConnector& c : group.connectors)
            writeLayoutObject(json, c, railConnectorLayout<LayoutJson, const RailConnector>);
        json.endArray();
    });
    field(json, "freeNodeLength", t.freeNodeLength);
    writeLayoutObjects(json, "freeNodes", t.freeNodes, freeNodeLayout<LayoutJson, const FreeNode>);
    field(json, "tubeLength", t.tubeLength);
    writeLayoutObjects(json, "tubes", t.tubes, tubeLayout<LayoutJson, const Tube>);
    field(json, "catwalkLength", t.catwalkLength);
    writeList(json, "catwalks", t.catwalks, [&json](const Catwalk& c) {
        json.beginObject(true);
        json.key("values");
        json.beginArray(true);
        for (const std::int32_t v : c.values)
            json.value(v);
        json.endArray();
        json.key("bytes");
        writeInt8s(json, c.bytes);
        json.endObject();
    });
}

void writeScenery(JsonWriter& json, const Track& t)
{
    field(json, "sceneryLength", t.sceneryLength);
    field(json, "sceneryChildCount", t.sceneryChildCount);
    writeList(json, "sceneryItems", t.sceneryItems, [&json](const SceneryItem& item) {
        json.beginObject(true);
        json.key("values");
        writeLayoutList(json, item, sceneryItemLayout<LayoutJson, const SceneryItem>);
        json.endObject();
    });
    field(json, "sceneryObjectLength", t.sceneryObjectLength);
    writeLayoutObjects(json, "sceneryObjects", t.sceneryObjects,
                       sceneryObjectLayout<LayoutJson, const SceneryObject>);
    field(json, "environmentLength", t.environmentLength);
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
