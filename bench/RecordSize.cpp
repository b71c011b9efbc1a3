#include "RecordSize.h"

#include <string>
#include <vector>

namespace pw::bench {

namespace {

std::size_t textBytes(const std::string& text)
{
    // Short texts live inside the string object itself.
    return text.capacity() > std::string().capacity() ? text.capacity() + 1 : 0;
}

template <typename T>
std::size_t arrayBytes(const std::vector<T>& array)
{
    return array.capacity() * sizeof(T);
}

}  // namespace

std::size_t recordBytes(const Track& track)
{
    std::size_t bytes = sizeof(Track);
    bytes += arrayBytes(track.slots);
    for (const TrackSlot& slot : track.slots)
        bytes += textBytes(slot.text);
    bytes += textBytes(track.infoText);
    bytes += arrayBytes(track.vertices);
    bytes += arrayBytes(track.segments);
    bytes += arrayBytes(track.fundaments);
    bytes += arrayBytes(track.groups);
    for (const RailConnectorGroup& group : track.groups)
        bytes += arrayBytes(group.connectors);
    bytes += arrayBytes(track.freeNodes);
    bytes += arrayBytes(track.tubes);
    bytes += arrayBytes(track.catwalks);
    for (const Catwalk& catwalk : track.catwalks)
        bytes += arrayBytes(catwalk.bytes);
    bytes += arrayBytes(track.sceneryItems);
    bytes += arrayBytes(track.sceneryObjects);
    for (const SceneryObject& object : track.sceneryObjects)
        bytes += textBytes(object.textA) + textBytes(object.textB);
    bytes += textBytes(track.environmentTextA) + textBytes(track.environmentTextB);
    const Terrain& terrain = track.terrain;
    bytes += textBytes(terrain.terrainTextA) + textBytes(terrain.terrainTextB) +
             textBytes(terrain.terrainTextC);
    bytes += arrayBytes(terrain.terrainGrid);
    return bytes;
}

}  // namespace pw::bench
