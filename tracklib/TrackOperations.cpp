#include "TrackOperations.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace pw {

namespace {

constexpr Colour white{255, 255, 255, 255};

// A connector group is its int32 count followed by its connectors.
std::int32_t groupEncodedSize(const RailConnectorGroup& group)
{
    return 4 + static_cast<std::int32_t>(group.connectors.size()) * railConnectorEncodedSize;
}

// Resizes the connector groups to `count`, keeping the chunk length in step.
void resizeGroups(std::size_t count, Track& track)
{
    for (std::size_t g = count; g < track.groups.size(); ++g) {
        moveChunkLength(track.railConnectorLength,
                        -std::int64_t{groupEncodedSize(track.groups[g])});
    }
    if (count > track.groups.size()) {
        moveChunkLength(track.railConnectorLength,
                        static_cast<std::int64_t>(count - track.groups.size()) * 4);
    }
    track.groups.resize(count);
}

// Ends of `kind` naming an element behind the removed one move down with it.
void renumberTubeEnds(std::int32_t kind, int removed, Track& track)
{
    for (Tube& tube : track.tubes) {
        for (TubeEnd* end : {&tube.endA, &tube.endB}) {
            if (end->kind == kind && end->index > removed) {
                --end->index;
            }
        }
    }
}

// Removes element `index` of a list that tube ends of `kind` name, with its bytes in the chunk
// length; ends naming a later element move down with it.
template <class List>
void removeTubeEndElement(List& list, std::int32_t& length, std::int32_t encodedSize,
                          std::int32_t kind, int index, Track& track)
{
    list.erase(list.begin() + index);
    moveChunkLength(length, -std::int64_t{encodedSize});
    renumberTubeEnds(kind, index, track);
}

// A list chunk with no element in it.
template <class List>
void emptyList(std::int32_t& length, List& list)
{
    length = emptyListChunkLength;
    list.clear();
}

}  // namespace

void moveChunkLength(std::int32_t& length, std::int64_t by)
{
    length = static_cast<std::int32_t>(static_cast<std::uint32_t>(length) +
                                       static_cast<std::uint32_t>(by));
}

std::int32_t encodedTextSize(const std::string& text)
{
    // Only the bytes before a zero byte reach the file.
    const auto end = std::min(text.find('\0'), text.size());
    return 4 + static_cast<std::int32_t>(end);
}

std::int32_t segmentEncodedSize(const Segment& segment)
{
    return segmentCommonEncodedSize + segmentExtraLength(segment.kind);
}

std::int32_t sceneryObjectEncodedSize(const SceneryObject& object)
{
    // The fixed size already holds the two texts' length fields.
    return sceneryObjectFixedEncodedSize + encodedTextSize(object.textA) - 4 +
           encodedTextSize(object.textB) - 4;
}

void newTrack(Track& track)
{
    track.headerValue = 0;
    track.headerBytes = {1, 6, 0, 0, 0};
    track.headerFlag = 1;

    track.trackValueA = 88;
    track.trackValueB = 1;
    track.slotCount = 32;
    track.trackValueC = 6;
    track.slots.assign(32, TrackSlot{0, std::string(), {white, white, white, white}});
    track.colours.fill(white);
    track.trackBytes = {0, 0, 0, 0};
    track.trackValueD = 0;
    track.trackFlag = 1;
    track.extraColour = white;

    track.infoText = "Created with Vorels libcorvana v1.0";
    track.infoLength = encodedTextSize(track.infoText);

    track.vertexLength = emptyListChunkLength + vertexEncodedSize;
    track.vertices = {Vertex{{0, 1, 0}, {0, 1, 10}, {0, 1, -10}, 0, {0, 0, 0}}};

    // The segment chunk's length counts no segment, so none may remain.
    track.segmentLength = emptySegmentChunkLength;
    track.segmentFlag = 0;
    track.segments.clear();

    track.supportLength = supportChunkLength;
    emptyList(track.fundamentLength, track.fundaments);
    emptyList(track.railConnectorLength, track.groups);
    emptyList(track.freeNodeLength, track.freeNodes);
    emptyList(track.tubeLength, track.tubes);
    emptyList(track.catwalkLength, track.catwalks);

    track.sceneryLength = emptySceneryChunkLength;
    track.sceneryItems.clear();
    emptyList(track.sceneryObjectLength, track.sceneryObjects);

    track.environmentLength = emptyEnvironmentChunkLength;
    track.environmentTextA.clear();
    track.environmentTextB.clear();
}

// scalar fields

std::int8_t headerByte(int index, const Track& track) { return track.headerBytes[index]; }
void setHeaderByte(int index, std::int8_t value, Track& track) { track.headerBytes[index] = value; }
Flag headerFlag(const Track& track) { return track.headerFlag; }
void setHeaderFlag(Flag value, Track& track) { track.headerFlag = value; }
std::int32_t trackValueB(const Track& track) { return track.trackValueB; }
void setTrackValueB(std::int32_t value, Track& track) { track.trackValueB = value; }
std::int32_t slotCount(const Track& track) { return track.slotCount; }
void setSlotCount(std::int32_t value, Track& track) { track.slotCount = value; }
std::int32_t trackValueC(const Track& track) { return track.trackValueC; }
void setTrackValueC(std::int32_t value, Track& track) { track.trackValueC = value; }
Flag trackFlag(const Track& track) { return track.trackFlag; }
void setTrackFlag(Flag value, Track& track) { track.trackFlag = value; }
const std::string& infoText(const Track& track) { return track.infoText; }

void setInfoText(const std::string& text, Track& track)
{
    moveChunkLength(track.infoLength,
                    std::int64_t{encodedTextSize(text)} - encodedTextSize(track.infoText));
    track.infoText = text;
}

const std::string& environmentTextA(const Track& track) { return track.environmentTextA; }
const std::string& environmentTextB(const Track& track) { return track.environmentTextB; }

void setEnvironmentTexts(const std::string& textA, const std::string& textB, Track& track)
{
    moveChunkLength(track.environmentLength,
                    std::int64_t{encodedTextSize(textA)} - encodedTextSize(track.environmentTextA) +
                        encodedTextSize(textB) - encodedTextSize(track.environmentTextB));
    track.environmentTextA = textA;
    track.environmentTextB = textB;
}

// colours

Colour trackColour(const Track& track, int index) { return track.colours[index]; }
void setTrackColour(Track& track, int index, Colour colour) { track.colours[index] = colour; }
Colour extraColour(const Track& track) { return track.extraColour; }
void setExtraColour(Track& track, Colour colour) { track.extraColour = colour; }

Colour makeColour(std::int32_t c0, std::int32_t c1, std::int32_t c2, std::int32_t c3)
{
    return Colour{c0, c1, c2, c3};
}

// slots

void setSlot(int index, const std::string& text, Flag flag, Colour colour0, Colour colour1,
             Colour colour2, Colour colour3, Track& track)
{
    track.slots[index] = TrackSlot{flag, text, {colour0, colour1, colour2, colour3}};
}

TrackSlot slot(int index, const Track& track) { return track.slots[index]; }

// vertices

int addVertex(Float3 position, Float3 controlIn, Float3 controlOut, float value, Flag flag0,
              Flag flag1, Flag flag2, Track& track)
{
    track.vertices.push_back(Vertex{position, controlIn, controlOut, value, {flag0, flag1, flag2}});
    moveChunkLength(track.vertexLength, vertexEncodedSize);
    return static_cast<int>(track.vertices.size()) - 1;
}

void setVertex(int index, Float3 position, Float3 controlIn, Float3 controlOut, float value,
               Flag flag0, Flag flag1, Flag flag2, Track& track)
{
    track.vertices[index] = Vertex{position, controlIn, controlOut, value, {flag0, flag1, flag2}};
}

Vertex vertex(int index, const Track& track) { return track.vertices[index]; }
int vertexCount(const Track& track) { return static_cast<int>(track.vertices.size()); }

void removeVertex(int index, Track& track)
{
    track.vertices.erase(track.vertices.begin() + index);
    moveChunkLength(track.vertexLength, -std::int64_t{vertexEncodedSize});
}

// segments

void setSegment(std::int32_t kind, int position, Flag flagA, Colour colour0, Colour colour1,
                Colour colour2, Flag flagB, std::int32_t value, Track& track)
{
    Segment& segment = track.segments[position - 1];
    // A change of kind changes which block, and so how many bytes, the segment writes.
    moveChunkLength(track.segmentLength,
                    segmentExtraLength(kind) - segmentExtraLength(segment.kind));
    segment.kind = kind;
    segment.extraLength = segmentExtraLength(kind);
    segment.flagA = flagA;
    segment.colours = {colour0, colour1, colour2};
    segment.flagB = flagB;
    segment.value = value;
}

Segment segment(int position, const Track& track) { return track.segments[position - 1]; }
int segmentCount(const Track& track) { return static_cast<int>(track.segments.size()); }

void setSegmentKind1(int position, const SegmentKind1Data& block, Track& track)
{
    track.segments[position - 1].kind1 = block;
}
void setSegmentKind2(int position, const SegmentKind2Data& block, Track& track)
{
    track.segments[position - 1].kind2 = block;
}
void setSegmentKind3(int position, const SegmentKind3Data& block, Track& track)
{
    track.segments[position - 1].kind3 = block;
}
void setSegmentKind4(int position, const SegmentKind4Data& block, Track& track)
{
    track.segments[position - 1].kind4 = block;
}
SegmentKind1Data segmentKind1(int position, const Track& track)
{
    return track.segments[position - 1].kind1;
}
SegmentKind2Data segmentKind2(int position, const Track& track)
{
    return track.segments[position - 1].kind2;
}
SegmentKind3Data segmentKind3(int position, const Track& track)
{
    return track.segments[position - 1].kind3;
}
SegmentKind4Data segmentKind4(int position, const Track& track)
{
    return track.segments[position - 1].kind4;
}

void addSegment(std::int32_t kind, int position, Flag flagA, Colour colour0, Colour colour1,
                Colour colour2, Flag flagB, std::int32_t value, Track& track)
{
    track.segments.emplace_back();
    moveChunkLength(track.segmentLength, segmentEncodedSize(track.segments.back()));
    setSegment(kind, position, flagA, colour0, colour1, colour2, flagB, value, track);

    resizeGroups(track.segments.size(), track);
    RailConnectorGroup& group = track.groups[position - 1];
    moveChunkLength(track.railConnectorLength, -std::int64_t{groupEncodedSize(group) - 4});
    group.connectors.clear();
}

void removeSegment(int index, Track& track)
{
    moveChunkLength(track.segmentLength, -std::int64_t{segmentEncodedSize(track.segments[index])});
    track.segments.erase(track.segments.begin() + index);
    if (static_cast<std::size_t>(index) < track.groups.size()) {
        moveChunkLength(track.railConnectorLength,
                        -std::int64_t{groupEncodedSize(track.groups[index])});
        track.groups.erase(track.groups.begin() + index);
    }
    resizeGroups(track.segments.size(), track);
}

// rail connectors

void setRailConnector(int group, int index, std::int32_t value, float position, Track& track)
{
    track.groups[group].connectors[index] = RailConnector{value, position};
}

RailConnector railConnector(int group, int index, const Track& track)
{
    return track.groups[group].connectors[index];
}

int railConnectorCount(int group, const Track& track)
{
    return static_cast<int>(track.groups[group].connectors.size());
}

int addRailConnector(int group, std::int32_t value, float position, Track& track)
{
    auto& connectors = track.groups[group].connectors;
    connectors.push_back(RailConnector{value, position});
    moveChunkLength(track.railConnectorLength, railConnectorEncodedSize);
    return static_cast<int>(connectors.size()) - 1;
}

void removeRailConnector(int group, int index, Track& track)
{
    auto& connectors = track.groups[group].connectors;
    connectors.erase(connectors.begin() + index);
    moveChunkLength(track.railConnectorLength, -std::int64_t{railConnectorEncodedSize});
}

Float3 railConnectorPoint(int index, int group, const Track& track)
{
    if (group < 0 || static_cast<std::size_t>(group) + 1 >= track.vertices.size()) {
        return Float3{};
    }
    const float t = track.groups[group].connectors[index].position;
    const float u = 1.0f - t;
    const float b0 = u * u * u;
    const float b1 = 3.0f * u * u * t;
    const float b2 = 3.0f * u * t * t;
    const float b3 = t * t * t;
    const Float3 p0 = track.vertices[group].position;
    const Float3 p1 = track.vertices[group].controlOut;
    const Float3 p2 = track.vertices[group + 1].controlIn;
    const Float3 p3 = track.vertices[group + 1].position;
    return Float3{b0 * p0.x + b1 * p1.x + b2 * p2.x + b3 * p3.x,
                  b0 * p0.y + b1 * p1.y + b2 * p2.y + b3 * p3.y,
                  b0 * p0.z + b1 * p1.z + b2 * p2.z + b3 * p3.z};
}

// fundaments

int addFundament(Flag flagA, float valueA, Flag flagB, float angle, std::int8_t byteValue,
                 std::int32_t valueB, float x, float y, float z, Track& track)
{
    track.fundaments.push_back(
        Fundament{flagA, valueA, flagB, angle, byteValue, valueB, Float3{x, y, z}});
    moveChunkLength(track.fundamentLength, fundamentEncodedSize);
    return static_cast<int>(track.fundaments.size()) - 1;
}

void setFundament(int index, Flag flagA, float valueA, Flag flagB, float angle,
                  std::int8_t byteValue, std::int32_t valueB, float x, float y, float z,
                  Track& track)
{
    track.fundaments[index] =
        Fundament{flagA, valueA, flagB, angle, byteValue, valueB, Float3{x, y, z}};
}

Fundament fundament(int index, const Track& track) { return track.fundaments[index]; }
int fundamentCount(const Track& track) { return static_cast<int>(track.fundaments.size()); }

void removeFundament(int index, Track& track)
{
    removeTubeEndElement(track.fundaments, track.fundamentLength, fundamentEncodedSize,
                         TubeEndFundament, index, track);
}

void removeFundaments(std::vector<int> indices, Track& track)
{
    if (indices.empty())
        return;
    const std::size_t count = track.fundaments.size();
    std::vector<char> removed(count, 0);
    for (const int index : indices)
        removed[static_cast<std::size_t>(index)] = 1;

    // removedBelow[i]: how many removed indices are smaller than i, for i up to count.
    std::vector<std::int32_t> removedBelow(count + 1, 0);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; ++i) {
        removedBelow[i + 1] = removedBelow[i] + removed[i];
        if (!removed[i])
            track.fundaments[kept++] = track.fundaments[i];
    }
    track.fundaments.resize(kept);
    const std::int32_t removedCount = removedBelow[count];
    moveChunkLength(track.fundamentLength, -std::int64_t{removedCount} * fundamentEncodedSize);

    // Ends naming no fundament of the track keep naming none: below 0 they stay, at or above
    // the old count they move down by every removal, as one removal at a time would move them.
    for (Tube& tube : track.tubes) {
        for (TubeEnd* end : {&tube.endA, &tube.endB}) {
            if (end->kind != TubeEndFundament || end->index <= 0)
                continue;
            if (static_cast<std::size_t>(end->index) >= count)
                end->index -= removedCount;
            else
                end->index -= removedBelow[static_cast<std::size_t>(end->index)];
        }
    }
}

// free nodes

int addFreeNode(float x, float y, float z, Track& track)
{
    track.freeNodes.push_back(FreeNode{Float3{x, y, z}, 0});
    moveChunkLength(track.freeNodeLength, freeNodeEncodedSize);
    return static_cast<int>(track.freeNodes.size()) - 1;
}

void setFreeNode(int index, float x, float y, float z, Track& track)
{
    track.freeNodes[index].position = Float3{x, y, z};
}

FreeNode freeNode(int index, const Track& track) { return track.freeNodes[index]; }
int freeNodeCount(const Track& track) { return static_cast<int>(track.freeNodes.size()); }

void removeFreeNode(int index, Track& track)
{
    removeTubeEndElement(track.freeNodes, track.freeNodeLength, freeNodeEncodedSize,
                         TubeEndFreeNode, index, track);
}

// tubes

int addTube(std::int32_t kindA, std::int32_t indexA, std::int32_t groupA, std::int32_t kindB,
            std::int32_t indexB, std::int32_t groupB, std::int32_t sizeClass, std::int32_t valueA,
            std::int32_t valueB, Track& track)
{
    track.tubes.push_back(Tube{TubeEnd{kindA, groupA, indexA}, TubeEnd{kindB, groupB, indexB},
                               sizeClass, valueA, static_cast<float>(valueB)});
    moveChunkLength(track.tubeLength, tubeEncodedSize);
    return static_cast<int>(track.tubes.size()) - 1;
}

void setTubeProperties(int index, std::int32_t sizeClass, std::int32_t valueA, std::int32_t valueB,
                       Track& track)
{
    Tube& tube = track.tubes[index];
    tube.sizeClass = sizeClass;
    tube.valueA = valueA;
    tube.valueB = static_cast<float>(valueB);
}

Tube tube(int index, const Track& track) { return track.tubes[index]; }

void setTubeEnd(int index, TubeSide side, TubeEnd end, Track& track)
{
    Tube& tube = track.tubes[index];
    (side == TubeSide::A ? tube.endA : tube.endB) = end;
}
int tubeCount(const Track& track) { return static_cast<int>(track.tubes.size()); }

void removeTube(int index, Track& track)
{
    track.tubes.erase(track.tubes.begin() + index);
    moveChunkLength(track.tubeLength, -std::int64_t{tubeEncodedSize});
}

// catwalks and scenery items

int addCatwalk(const Catwalk& catwalk, Track& track)
{
    track.catwalks.push_back(catwalk);
    moveChunkLength(track.catwalkLength,
                    catwalkFixedEncodedSize + static_cast<std::int64_t>(catwalk.bytes.size()));
    return static_cast<int>(track.catwalks.size()) - 1;
}

int addSceneryItem(const SceneryItem& item, Track& track)
{
    track.sceneryItems.push_back(item);
    moveChunkLength(track.sceneryLength, sceneryItemEncodedSize);
    return static_cast<int>(track.sceneryItems.size()) - 1;
}

// scenery objects

int addSceneryObject(const SceneryObject& object, Track& track)
{
    const std::int32_t size = sceneryObjectEncodedSize(object);
    track.sceneryObjects.push_back(object);
    moveChunkLength(track.sceneryObjectLength, size);
    moveChunkLength(track.sceneryLength, size);
    return static_cast<int>(track.sceneryObjects.size()) - 1;
}

std::vector<SceneryObject> takeSceneryObjects(std::vector<std::size_t> indices, Track& track)
{
    std::sort(indices.begin(), indices.end());
    std::vector<SceneryObject> taken;
    taken.reserve(indices.size());
    std::vector<SceneryObject>& objects = track.sceneryObjects;
    std::size_t kept = 0;
    auto next = indices.begin();
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (next != indices.end() && *next == i) {
            ++next;
            const std::int32_t size = sceneryObjectEncodedSize(objects[i]);
            moveChunkLength(track.sceneryObjectLength, -std::int64_t{size});
            moveChunkLength(track.sceneryLength, -std::int64_t{size});
            taken.push_back(std::move(objects[i]));
        } else if (kept++ != i) {
            objects[kept - 1] = std::move(objects[i]);
        }
    }
    objects.resize(kept);
    return taken;
}

}  // namespace pw
