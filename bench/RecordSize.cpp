#include "RecordSize.h"

#include "tracklib/HeldBytes.h"

namespace pw::bench {

std::size_t recordBytes(const Track& track)
{
    // The record itself and the arrays it holds directly.
    std::size_t bytes = sizeof(Track) + arrayBytes(track.slots) + arrayBytes(track.vertices) +
                        arrayBytes(track.segments) + arrayBytes(track.fundaments) +
                        arrayBytes(track.groups) + arrayBytes(track.freeNodes) +
                        arrayBytes(track.tubes) + arrayBytes(track.catwalks) +
                        arrayBytes(track.sceneryItems) + arrayBytes(track.sceneryObjects) +
                        arrayBytes(track.terrain.terrainGrid);
    // What its elements hold.
    for (const TrackSlot& slot : track.slots)
        bytes += textBytes(slot.text);
    for (const RailConnectorGroup& group : track.groups)
        bytes += arrayBytes(group.connectors);
    for (const Catwalk& catwalk : track.catwalks)
        bytes += arrayBytes(catwalk.bytes);
    for (const SceneryObject& object : track.sceneryObjects)
        bytes += textBytes(object.textA) + textBytes(object.textB);
    // Its own texts.
    const Terrain& terrain = track.terrain;
    return bytes + textBytes(track.infoText) + textBytes(track.environmentTextA) +
           textBytes(track.environmentTextB) + textBytes(terrain.terrainTextA) +
           textBytes(terrain.terrainTextB) + textBytes(terrain.terrainTextC);
}

}  // namespace pw::bench
