#pragma once
// The byte layout of each fixed element, written once and walked by the reader, the writer and
// the JSON dump. `IO` is LayoutReader (fills the element) or LayoutWriter (writes a const
// element). Each field carries its name, and lists and nested objects are marked, for the dump;
// the reader, the writer and the sizer pass over both.

#include "ChunkReader.h"
#include "ChunkWriter.h"
#include "Track.h"
#include "TrackOperations.h"

#include <array>
#include <cstddef>

namespace pw {

struct LayoutReader {
    ChunkReader& in;
    void int32(std::int32_t& value, const char* = nullptr) { value = in.readInt32(); }
    void float32(float& value, const char* = nullptr) { value = in.readFloat32(); }
    void int8(std::int8_t& value, const char* = nullptr) { value = in.readInt8(); }
    void flag(Flag& value, const char* = nullptr) { value = in.readBool(); }
    void colour(Colour& value, const char* = nullptr) { value = in.readColour(); }
    void text(std::string& value, const char* = nullptr) { value = in.readText(); }
    void reserved(std::size_t count) { in.skipBytes(count); }
    constexpr void beginList(const char*) {}
    constexpr void beginObject(const char*) {}
    constexpr void endGroup() {}
};

// The same for a header whose fields keep what they had when its chunk is cut short.
struct LayoutKeepingReader {
    ChunkReader& in;
    void int32(std::int32_t& value, const char* = nullptr) { in.read(value); }
    void float32(float& value, const char* = nullptr) { in.read(value); }
    void int8(std::int8_t& value, const char* = nullptr) { in.read(value); }
    void flag(Flag& value, const char* = nullptr) { in.readFlag(value); }
    void colour(Colour& value, const char* = nullptr) { in.read(value); }
    void text(std::string& value, const char* = nullptr) { in.read(value); }
    void reserved(std::size_t count) { in.skipBytes(count); }
    constexpr void beginList(const char*) {}
    constexpr void beginObject(const char*) {}
    constexpr void endGroup() {}
};

struct LayoutWriter {
    ChunkWriter& out;
    void int32(std::int32_t value, const char* = nullptr) { out.writeInt32(value); }
    void float32(float value, const char* = nullptr) { out.writeFloat32(value); }
    void int8(std::int8_t value, const char* = nullptr) { out.writeInt8(value); }
    void flag(Flag value, const char* = nullptr) { out.writeBool(value); }
    void colour(const Colour& value, const char* = nullptr) { out.writeColour(value); }
    void text(const std::string& value, const char* = nullptr) { out.writeText(value); }
    void reserved(std::size_t count) { out.writeZeros(count); }
    constexpr void beginList(const char*) {}
    constexpr void beginObject(const char*) {}
    constexpr void endGroup() {}
};

// Counts the bytes a layout takes; a text counts its length field only.
struct LayoutSizer {
    std::size_t bytes = 0;
    constexpr void int32(std::int32_t, const char* = nullptr) { bytes += 4; }
    constexpr void float32(float, const char* = nullptr) { bytes += 4; }
    constexpr void int8(std::int8_t, const char* = nullptr) { bytes += 1; }
    constexpr void flag(Flag, const char* = nullptr) { bytes += 1; }
    constexpr void colour(const Colour&, const char* = nullptr) { bytes += 4; }
    template <class Text>
    constexpr void text(const Text&, const char* = nullptr)
    {
        bytes += 4;
    }
    constexpr void reserved(std::size_t count) { bytes += count; }
    constexpr void beginList(const char*) {}
    constexpr void beginObject(const char*) {}
    constexpr void endGroup() {}
};

template <class IO, class P>
constexpr void float3Layout(IO& io, P& point, const char* name)
{
    io.beginList(name);
    io.float32(point.x);
    io.float32(point.y);
    io.float32(point.z);
    io.endGroup();
}

template <class IO, class S>
constexpr void slotLayout(IO& io, S& slot)
{
    io.flag(slot.flag, "flag");
    io.reserved(7);
    io.text(slot.text, "text");
    io.beginList("colours");
    for (auto& colour : slot.colours) {
        io.colour(colour);
    }
    io.endGroup();
}

template <class IO, class V>
constexpr void vertexLayout(IO& io, V& vertex)
{
    float3Layout(io, vertex.position, "position");
    float3Layout(io, vertex.controlIn, "controlIn");
    float3Layout(io, vertex.controlOut, "controlOut");
    io.float32(vertex.value, "value");
    io.beginList("flags");
    for (auto& flag : vertex.flags) {
        io.flag(flag);
    }
    io.endGroup();
    io.reserved(17);
}

// The part every segment has, whatever its kind.
template <class IO, class S>
constexpr void segmentCommonLayout(IO& io, S& segment)
{
    io.int32(segment.kind, "kind");
    io.flag(segment.flagA, "flagA");
    io.beginList("colours");
    for (auto& colour : segment.colours) {
        io.colour(colour);
    }
    io.endGroup();
    io.flag(segment.flagB, "flagB");
    io.int32(segment.value, "value");
    io.reserved(11);
    io.int32(segment.extraLength, "extraLength");
}

template <class IO, class B>
constexpr void kind1Layout(IO& io, B& d)
{
    io.float32(d.field1, "field1");
    io.float32(d.field2, "field2");
    io.float32(d.field3, "field3");
    io.float32(d.field4, "field4");
    io.int8(d.field5, "field5");
    io.int8(d.field6, "field6");
    io.flag(d.field7, "field7");
    io.int8(d.field8, "field8");
    io.float32(d.field9, "field9");
    io.int8(d.field10, "field10");
    io.int8(d.field11, "field11");
    io.flag(d.field12, "field12");
    io.reserved(1);
    io.flag(d.field13, "field13");
    io.float32(d.field14, "field14");
    io.reserved(4);
    io.float32(d.field15, "field15");
    io.float32(d.field16, "field16");
    io.reserved(4);
    io.flag(d.field17, "field17");
    io.float32(d.field18, "field18");
    io.float32(d.field19, "field19");
    io.float32(d.field20, "field20");
    io.reserved(3);
    io.int8(d.field21, "field21");
    io.float32(d.field22, "field22");
    io.flag(d.field23, "field23");
    io.reserved(55);
}

template <class IO, class B>
constexpr void kind2Layout(IO& io, B& d)
{
    io.reserved(3);
    io.int8(d.field1, "field1");
    io.float32(d.field2, "field2");
    io.float32(d.field3, "field3");
    io.float32(d.field4, "field4");
    io.reserved(4);
    io.flag(d.field5, "field5");
    io.flag(d.field6, "field6");
    io.int32(d.field7, "field7");
    io.reserved(10);
}

template <class IO, class B>
constexpr void kind3Layout(IO& io, B& d)
{
    io.float32(d.field1, "field1");
    io.float32(d.field2, "field2");
    io.float32(d.field3, "field3");
    io.reserved(3);
    io.int8(d.field4, "field4");
    io.flag(d.field5, "field5");
    io.flag(d.field6, "field6");
    io.int8(d.field7, "field7");
    io.int8(d.field8, "field8");
    io.float32(d.field9, "field9");
    io.reserved(4);
}

template <class IO, class B>
constexpr void kind4Layout(IO& io, B& d)
{
    io.float32(d.field1, "field1");
    io.float32(d.field2, "field2");
    io.float32(d.field3, "field3");
    io.reserved(4);
    io.float32(d.field4, "field4");
    io.flag(d.field5, "field5");
    io.flag(d.field6, "field6");
    io.float32(d.field7, "field7");
    io.float32(d.field8, "field8");
    io.float32(d.field9, "field9");
    io.flag(d.field10, "field10");
    io.flag(d.field11, "field11");
    io.flag(d.field12, "field12");
    io.int8(d.field13, "field13");
    io.int32(d.field14, "field14");
    io.flag(d.field15, "field15");
    io.float32(d.field16, "field16");
    io.flag(d.field17, "field17");
    io.reserved(2);
}

// The common part, then the block of the segment's kind; kinds other than 1 to 4 carry none.
template <class IO, class S>
constexpr void segmentLayout(IO& io, S& segment)
{
    segmentCommonLayout(io, segment);
    switch (segment.kind) {
    case 1: kind1Layout(io, segment.kind1); break;
    case 2: kind2Layout(io, segment.kind2); break;
    case 3: kind3Layout(io, segment.kind3); break;
    case 4: kind4Layout(io, segment.kind4); break;
    default: break;
    }
}

template <class IO, class C>
constexpr void railConnectorLayout(IO& io, C& connector)
{
    io.int32(connector.value, "value");
    io.float32(connector.position, "position");
    io.reserved(16);
}

template <class IO, class F>
constexpr void fundamentLayout(IO& io, F& fundament)
{
    io.flag(fundament.flagA, "flagA");
    io.float32(fundament.valueA, "valueA");
    io.flag(fundament.flagB, "flagB");
    io.float32(fundament.angle, "angle");
    io.int8(fundament.byteValue, "byteValue");
    io.int32(fundament.valueB, "valueB");
    io.reserved(1);
    float3Layout(io, fundament.position, "position");
    io.reserved(64);
}

template <class IO, class N>
constexpr void freeNodeLayout(IO& io, N& node)
{
    float3Layout(io, node.position, "position");
    io.int32(node.value, "value");
    io.reserved(12);
}

template <class IO, class E>
constexpr void tubeEndLayout(IO& io, E& end)
{
    io.int32(end.kind, "kind");
    io.int32(end.group, "group");
    io.int32(end.index, "index");
    io.reserved(4);
}

template <class IO, class T>
constexpr void tubeLayout(IO& io, T& tube)
{
    io.beginObject("endA");
    tubeEndLayout(io, tube.endA);
    io.endGroup();
    io.beginObject("endB");
    tubeEndLayout(io, tube.endB);
    io.endGroup();
    io.int32(tube.sizeClass, "sizeClass");
    io.int32(tube.valueA, "valueA");
    io.float32(tube.valueB, "valueB");
    io.reserved(4);
}

template <class IO, class I>
constexpr void sceneryItemLayout(IO& io, I& item)
{
    io.float32(item.valueA, "valueA");
    io.float32(item.valueB, "valueB");
    io.float32(item.valueC, "valueC");
    io.int32(item.valueD, "valueD");
    io.float32(item.valueE, "valueE");
    io.reserved(44);
}

template <class IO, class O>
constexpr void sceneryObjectLayout(IO& io, O& object)
{
    io.text(object.textA, "textA");
    io.text(object.textB, "textB");
    io.beginList("matrix");
    for (auto& value : object.matrix) {
        io.float32(value);
    }
    io.endGroup();
    io.reserved(16);
}

// The terrain chunk up to its grid. The counts come apart from the record, so that the writer can
// give them clamped to the grid it writes.
template <class IO, class T, class N>
constexpr void terrainHeaderLayout(IO& io, T& terrain, N& columns, N& rows)
{
    io.int32(terrain.terrainValue, "terrainValue");
    io.int32(columns, "terrainColumns");
    io.int32(rows, "terrainRows");
    io.float32(terrain.terrainF1, "terrainF1");
    io.float32(terrain.terrainF2, "terrainF2");
    io.text(terrain.terrainTextA, "terrainTextA");
    io.float32(terrain.terrainF3, "terrainF3");
    io.text(terrain.terrainTextB, "terrainTextB");
    io.float32(terrain.terrainF4, "terrainF4");
    io.flag(terrain.terrainFlagA, "terrainFlagA");
    io.float32(terrain.terrainF5, "terrainF5");
    io.text(terrain.terrainTextC, "terrainTextC");
    io.float32(terrain.terrainF6, "terrainF6");
    io.int8(terrain.terrainByte, "terrainByte");
    io.flag(terrain.terrainFlagB, "terrainFlagB");
    io.float32(terrain.terrainF7, "terrainF7");
    io.reserved(10);
}

// Elements with texts, for sizing at compile time: a std::string cannot be made there by every
// compiler, and only a text's length field counts anyway.
struct TextPlace {};
struct SlotShape {
    Flag flag = 0;
    TextPlace text;
    std::array<Colour, 4> colours{};
};
struct SceneryObjectShape {
    TextPlace textA;
    TextPlace textB;
    std::array<float, 16> matrix{};
};

template <class Element>
constexpr std::int32_t layoutSize(void (*layout)(LayoutSizer&, const Element&))
{
    LayoutSizer sizer;
    layout(sizer, Element{});
    return static_cast<std::int32_t>(sizer.bytes);
}

// The sizes the record's operations keep chunk lengths with are the layouts' own.
static_assert(layoutSize(vertexLayout<LayoutSizer, const Vertex>) == vertexEncodedSize);
static_assert(layoutSize(segmentCommonLayout<LayoutSizer, const Segment>) ==
              segmentCommonEncodedSize);
static_assert(layoutSize(kind1Layout<LayoutSizer, const SegmentKind1Data>) ==
              segmentExtraLength(1));
static_assert(layoutSize(kind2Layout<LayoutSizer, const SegmentKind2Data>) ==
              segmentExtraLength(2));
static_assert(layoutSize(kind3Layout<LayoutSizer, const SegmentKind3Data>) ==
              segmentExtraLength(3));
static_assert(layoutSize(kind4Layout<LayoutSizer, const SegmentKind4Data>) ==
              segmentExtraLength(4));
static_assert(layoutSize(railConnectorLayout<LayoutSizer, const RailConnector>) ==
              railConnectorEncodedSize);
static_assert(layoutSize(fundamentLayout<LayoutSizer, const Fundament>) == fundamentEncodedSize);
static_assert(layoutSize(freeNodeLayout<LayoutSizer, const FreeNode>) == freeNodeEncodedSize);
static_assert(layoutSize(tubeLayout<LayoutSizer, const Tube>) == tubeEncodedSize);
static_assert(layoutSize(sceneryItemLayout<LayoutSizer, const SceneryItem>) ==
              sceneryItemEncodedSize);
static_assert(layoutSize(sceneryObjectLayout<LayoutSizer, const SceneryObjectShape>) ==
              sceneryObjectFixedEncodedSize);

// Smallest encoded sizes, which bound how many elements the remaining bytes can hold.
inline constexpr std::size_t slotMinimumSize = layoutSize(slotLayout<LayoutSizer, const SlotShape>);
inline constexpr std::size_t segmentMinimumSize = segmentCommonEncodedSize;
inline constexpr std::size_t groupMinimumSize = 4;
inline constexpr std::size_t catwalkMinimumSize = catwalkFixedEncodedSize;
inline constexpr std::size_t sceneryItemSize = sceneryItemEncodedSize;
inline constexpr std::size_t sceneryObjectMinimumSize = sceneryObjectFixedEncodedSize;

}  // namespace pw
