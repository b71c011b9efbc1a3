#pragma once
// Element operations on a Track. Like the record they work on, they take the element's values
// first and the Track last, count indices from 0 (segment positions from 1 where noted), and
// leave index checking to the caller. Every operation that adds or removes an element moves its
// chunk's length field by that element's encoded size, so a changed track is written with lengths
// that match its contents; an unchanged track keeps the lengths it was read with.

#include "Track.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pw {

// Encoded sizes of one element in a track file.
inline constexpr std::int32_t vertexEncodedSize = 60;
inline constexpr std::int32_t segmentCommonEncodedSize = 37;
inline constexpr std::int32_t railConnectorEncodedSize = 24;
inline constexpr std::int32_t fundamentEncodedSize = 92;
inline constexpr std::int32_t freeNodeEncodedSize = 28;
inline constexpr std::int32_t tubeEncodedSize = 48;
inline constexpr std::int32_t catwalkFixedEncodedSize = 28;  // plus its bytes
inline constexpr std::int32_t sceneryItemEncodedSize = 64;
inline constexpr std::int32_t sceneryObjectFixedEncodedSize = 88;  // plus the bytes of its texts

// Chunk lengths of chunks with nothing in them. A list chunk (vertices, fundaments, rail
// connectors, free nodes, tubes, catwalks, scenery objects) holds reserved(16), a count of 0,
// reserved(16) and its child count; the scenery chunk's length also covers its object child,
// whose tag and length field take 8 bytes besides the child's own length.
inline constexpr std::int32_t emptyListChunkLength = 40;
inline constexpr std::int32_t emptySegmentChunkLength = 41;
inline constexpr std::int32_t supportChunkLength = 36;
inline constexpr std::int32_t emptyEnvironmentChunkLength = 44;
inline constexpr std::int32_t sceneryObjectChildOverhead = 8;
inline constexpr std::int32_t emptySceneryChunkLength =
    emptyListChunkLength + sceneryObjectChildOverhead + emptyListChunkLength;

// The encoded size of a segment's kind block: 126, 36, 28, 50 for kinds 1 to 4, else 0.
constexpr std::int32_t segmentExtraLength(std::int32_t kind)
{
    switch (kind) {
    case 1: return 126;
    case 2: return 36;
    case 3: return 28;
    case 4: return 50;
    default: return 0;
    }
}
// A text's length field plus its bytes up to the first zero byte, which is where writing stops.
std::int32_t encodedTextSize(const std::string& text);
// The bytes a segment occupies as written: the common part plus the block of its kind.
std::int32_t segmentEncodedSize(const Segment& segment);
std::int32_t sceneryObjectEncodedSize(const SceneryObject& object);

// Moves a chunk length by `by`. Lengths come from the file unchecked; near the int32 limits
// they wrap as their 32 stored bits would, instead of overflowing.
void moveChunkLength(std::int32_t& length, std::int64_t by);

// Fills `track` with the values of a new, empty track (one vertex, 32 white slots, no
// elements, no segments). sceneryChildCount and the terrain are left as they were.
void newTrack(Track& track);

// scalar fields
std::int8_t headerByte(int index, const Track& track);  // sign-extended; index 0 to 3
void setHeaderByte(int index, std::int8_t value, Track& track);
Flag headerFlag(const Track& track);
void setHeaderFlag(Flag value, Track& track);
std::int32_t trackValueB(const Track& track);
void setTrackValueB(std::int32_t value, Track& track);
std::int32_t slotCount(const Track& track);
void setSlotCount(std::int32_t value, Track& track);  // does not resize the slots
std::int32_t trackValueC(const Track& track);
void setTrackValueC(std::int32_t value, Track& track);
Flag trackFlag(const Track& track);
void setTrackFlag(Flag value, Track& track);
const std::string& infoText(const Track& track);
void setInfoText(const std::string& text, Track& track);  // also moves infoLength
const std::string& environmentTextA(const Track& track);
const std::string& environmentTextB(const Track& track);
void setEnvironmentTexts(const std::string& textA, const std::string& textB, Track& track);

// colours: these take the Track first
Colour trackColour(const Track& track, int index);  // index 0 to 7
void setTrackColour(Track& track, int index, Colour colour);
Colour extraColour(const Track& track);
void setExtraColour(Track& track, Colour colour);
Colour makeColour(std::int32_t c0, std::int32_t c1, std::int32_t c2, std::int32_t c3);

// slots
void setSlot(int index, const std::string& text, Flag flag, Colour colour0, Colour colour1,
             Colour colour2, Colour colour3, Track& track);
TrackSlot slot(int index, const Track& track);

// vertices
int addVertex(Float3 position, Float3 controlIn, Float3 controlOut, float value, Flag flag0,
              Flag flag1, Flag flag2, Track& track);
void setVertex(int index, Float3 position, Float3 controlIn, Float3 controlOut, float value,
               Flag flag0, Flag flag1, Flag flag2, Track& track);
Vertex vertex(int index, const Track& track);
int vertexCount(const Track& track);
void removeVertex(int index, Track& track);

// segments: positions count from 1, removeSegment's index from 0
void setSegment(std::int32_t kind, int position, Flag flagA, Colour colour0, Colour colour1,
                Colour colour2, Flag flagB, std::int32_t value, Track& track);
Segment segment(int position, const Track& track);
int segmentCount(const Track& track);
void setSegmentKind1(int position, const SegmentKind1Data& block, Track& track);
void setSegmentKind2(int position, const SegmentKind2Data& block, Track& track);
void setSegmentKind3(int position, const SegmentKind3Data& block, Track& track);
void setSegmentKind4(int position, const SegmentKind4Data& block, Track& track);
SegmentKind1Data segmentKind1(int position, const Track& track);
SegmentKind2Data segmentKind2(int position, const Track& track);
SegmentKind3Data segmentKind3(int position, const Track& track);
SegmentKind4Data segmentKind4(int position, const Track& track);
// Appends a segment at `position` (the new count) and a matching empty connector group.
void addSegment(std::int32_t kind, int position, Flag flagA, Colour colour0, Colour colour1,
                Colour colour2, Flag flagB, std::int32_t value, Track& track);
// Removes the segment and its connector group; tube ends on later groups keep their numbers.
void removeSegment(int index, Track& track);

// rail connectors
void setRailConnector(int group, int index, std::int32_t value, float position, Track& track);
RailConnector railConnector(int group, int index, const Track& track);
int railConnectorCount(int group, const Track& track);
int addRailConnector(int group, std::int32_t value, float position, Track& track);
// Tube ends on later connectors of the group keep their numbers; the caller renumbers them.
void removeRailConnector(int group, int index, Track& track);
// The Bezier point of segment `group` at the connector's position taken as the curve parameter.
// A group without a vertex group + 1 gives (0, 0, 0).
Float3 railConnectorPoint(int index, int group, const Track& track);

// fundaments
int addFundament(Flag flagA, float valueA, Flag flagB, float angle, std::int8_t byteValue,
                 std::int32_t valueB, float x, float y, float z, Track& track);
void setFundament(int index, Flag flagA, float valueA, Flag flagB, float angle,
                  std::int8_t byteValue, std::int32_t valueB, float x, float y, float z,
                  Track& track);
Fundament fundament(int index, const Track& track);
int fundamentCount(const Track& track);
// Removes fundament k; tube ends naming a later fundament move down with it, ends naming k keep k.
void removeFundament(int index, Track& track);
// Removes the fundaments at `indices` (distinct, each naming a fundament of the track, in any
// order) in one pass over the fundaments and the tubes. The record ends up as after removeFundament
// for each of them in turn, each index first lowered by the removals of smaller ones: the other
// fundaments keep their order, and a fundament end naming i afterwards names i minus the number
// of removed indices below i.
void removeFundaments(std::vector<int> indices, Track& track);

// free nodes
int addFreeNode(float x, float y, float z, Track& track);  // value 0
void setFreeNode(int index, float x, float y, float z, Track& track);
FreeNode freeNode(int index, const Track& track);
int freeNodeCount(const Track& track);
void removeFreeNode(int index, Track& track);

// tubes: each end given as kind, index, group (the record stores kind, group, index)
int addTube(std::int32_t kindA, std::int32_t indexA, std::int32_t groupA, std::int32_t kindB,
            std::int32_t indexB, std::int32_t groupB, std::int32_t sizeClass, std::int32_t valueA,
            std::int32_t valueB, Track& track);
void setTubeProperties(int index, std::int32_t sizeClass, std::int32_t valueA, std::int32_t valueB,
                       Track& track);
Tube tube(int index, const Track& track);
enum class TubeSide { A, B };
// Points one end of tube `index` at another element; the tube's length in the file is unchanged.
void setTubeEnd(int index, TubeSide side, TubeEnd end, Track& track);
int tubeCount(const Track& track);
void removeTube(int index, Track& track);

// catwalks and scenery items: appended whole, as they have no fields worth setting one by one
int addCatwalk(const Catwalk& catwalk, Track& track);
int addSceneryItem(const SceneryItem& item, Track& track);

// scenery objects: also move sceneryLength, whose chunk holds the scenery-object chunk
int addSceneryObject(const SceneryObject& object, Track& track);
// Takes the objects at `indices` (distinct, each naming an object of the track, in any order) out
// of the track and gives them in index order. The others keep their order and their bytes.
std::vector<SceneryObject> takeSceneryObjects(std::vector<std::size_t> indices, Track& track);

// helpers
const char* coasterStyleName(std::int32_t code);    // Latin-1; "Unknown" outside the table
float metersPerSecondSquaredToG(float x);           // x / 9.81665
float gToMetersPerSecondSquared(float x);           // x * 9.81665
float kilometersPerHourToMetersPerSecond(float x);  // x / 3.6
float metersPerSecondToKilometersPerHour(float x);  // x * 3.6

}  // namespace pw
