#include "DamagedChunkLengths.h"

#include "TrackOperations.h"

#include <algorithm>

namespace pw {

namespace {

// The length a chunk's field should hold for what the writer writes from the record: the bytes
// after the length field up to the chunk's end (the scenery chunk's also covering its object
// child). Computed wide and wrapped like every other length change.
std::int32_t writtenChunkLength(int tag, const Track& track)
{
    std::int64_t body = 0;
    const auto list = [](std::size_t count, std::int64_t elementSize) {
        return emptyListChunkLength + static_cast<std::int64_t>(count) * elementSize;
    };
    switch (tag) {
    case TagInfo: body = encodedTextSize(track.infoText); break;
    case TagVertices: body = list(track.vertices.size(), vertexEncodedSize); break;
    case TagSegments:
        body = emptySegmentChunkLength;
        for (const Segment& segment : track.segments) {
            body += segmentEncodedSize(segment);
        }
        break;
    case TagSupports: body = supportChunkLength; break;
    case TagFundaments: body = list(track.fundaments.size(), fundamentEncodedSize); break;
    case TagRailConnectors:
        body = emptyListChunkLength;
        for (const RailConnectorGroup& group : track.groups) {
            body +=
                4 + static_cast<std::int64_t>(group.connectors.size()) * railConnectorEncodedSize;
        }
        break;
    case TagFreeNodes: body = list(track.freeNodes.size(), freeNodeEncodedSize); break;
    case TagTubes: body = list(track.tubes.size(), tubeEncodedSize); break;
    case TagCatwalks:
        body = emptyListChunkLength;
        for (const Catwalk& catwalk : track.catwalks) {
            body += catwalkFixedEncodedSize + static_cast<std::int64_t>(catwalk.bytes.size());
        }
        break;
    case TagScenery:
        body = list(track.sceneryItems.size(), sceneryItemEncodedSize) +
               sceneryObjectChildOverhead + std::int64_t{track.sceneryObjectLength};
        break;
    case TagSceneryObjects:
        body = emptyListChunkLength;
        for (const SceneryObject& object : track.sceneryObjects) {
            body += sceneryObjectEncodedSize(object);
        }
        break;
    case TagEnvironment:
        body = emptyEnvironmentChunkLength - 8 + encodedTextSize(track.environmentTextA) +
               encodedTextSize(track.environmentTextB);
        break;
    default: break;
    }
    std::int32_t length = 0;
    moveChunkLength(length, body);
    return length;
}

std::int32_t* lengthField(int tag, Track& track)
{
    switch (tag) {
    case TagInfo: return &track.infoLength;
    case TagVertices: return &track.vertexLength;
    case TagSegments: return &track.segmentLength;
    case TagSupports: return &track.supportLength;
    case TagFundaments: return &track.fundamentLength;
    case TagRailConnectors: return &track.railConnectorLength;
    case TagFreeNodes: return &track.freeNodeLength;
    case TagTubes: return &track.tubeLength;
    case TagCatwalks: return &track.catwalkLength;
    case TagScenery: return &track.sceneryLength;
    case TagSceneryObjects: return &track.sceneryObjectLength;
    case TagEnvironment: return &track.environmentLength;
    default: return nullptr;
    }
}

// Bytes the writer drops from a text: those from its first zero byte on. 0 for most texts.
std::int64_t droppedTextBytes(const std::string& text)
{
    return static_cast<std::int64_t>(text.size()) - (encodedTextSize(text) - 4);
}

}  // namespace

int textsCutAtZero(const Track& track)
{
    int count = 0;
    const auto check = [&](const std::string& text) { count += droppedTextBytes(text) > 0; };
    for (const TrackSlot& slot : track.slots) {
        check(slot.text);
    }
    check(track.infoText);
    for (const SceneryObject& object : track.sceneryObjects) {
        check(object.textA);
        check(object.textB);
    }
    check(track.environmentTextA);
    check(track.environmentTextB);
    check(track.terrain.terrainTextA);
    check(track.terrain.terrainTextB);
    check(track.terrain.terrainTextC);
    return count;
}

void fixLengthsOfDamagedChunks(const std::array<bool, TagEnvironment + 1>& cutShort, Track& track)
{
    // A text cut at a zero byte may have run past its chunk, so the stored length says nothing
    // about what is written: such a chunk is measured afresh, like one cut short.
    std::array<bool, TagEnvironment + 1> measured = cutShort;
    measured[TagInfo] = measured[TagInfo] || droppedTextBytes(track.infoText) > 0;
    measured[TagEnvironment] = measured[TagEnvironment] ||
                               droppedTextBytes(track.environmentTextA) > 0 ||
                               droppedTextBytes(track.environmentTextB) > 0;
    for (const SceneryObject& object : track.sceneryObjects) {
        measured[TagSceneryObjects] = measured[TagSceneryObjects] ||
                                      droppedTextBytes(object.textA) > 0 ||
                                      droppedTextBytes(object.textB) > 0;
    }

    const std::int32_t objectsLengthBefore = track.sceneryObjectLength;
    for (int tag = TagInfo; tag <= TagEnvironment; ++tag) {
        std::int32_t* length = lengthField(tag, track);
        if (length != nullptr && tag != TagScenery && measured[static_cast<std::size_t>(tag)]) {
            *length = writtenChunkLength(tag, track);
        }
    }
    // The scenery chunk's length covers its object child's, whose length as read is unknown
    // when that child was cut short.
    if (cutShort[TagScenery] || cutShort[TagSceneryObjects]) {
        track.sceneryLength = writtenChunkLength(TagScenery, track);
        track.sceneryChildCount = std::max(track.sceneryChildCount, 1);
    } else {
        moveChunkLength(track.sceneryLength,
                        std::int64_t{track.sceneryObjectLength} - objectsLengthBefore);
    }
}

}  // namespace pw
