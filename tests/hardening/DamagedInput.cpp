#include "DamagedInput.h"

#include "fuzz/TrackPipeline.h"
#include "tracklib/TrackFile.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace pw::hardening {

std::size_t tagOffset(const Bytes& bytes, std::string_view tag)
{
    const auto found = std::search(bytes.begin(), bytes.end(), tag.begin(), tag.end());
    if (found == bytes.end()) {
        throw std::out_of_range("no chunk " + std::string(tag));
    }
    return static_cast<std::size_t>(found - bytes.begin());
}

void putInt32(Bytes& bytes, std::string_view tag, std::size_t offsetFromTag, std::int32_t value)
{
    const std::size_t offset = tagOffset(bytes, tag) + offsetFromTag;
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        bytes.at(offset + i) = static_cast<std::uint8_t>(bits >> (24 - 8 * i));
    }
}

void appendFloat32(Bytes& bytes, float value)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(bits >> (24 - 8 * i)));
    }
}

std::size_t longestList(const Track& track)
{
    std::size_t longest =
        std::max({track.slots.size(), track.vertices.size(), track.segments.size(),
                  track.fundaments.size(), track.groups.size(), track.freeNodes.size(),
                  track.tubes.size(), track.catwalks.size(), track.sceneryItems.size(),
                  track.sceneryObjects.size(), track.infoText.size(), track.environmentTextA.size(),
                  track.environmentTextB.size(), track.terrain.terrainTextA.size(),
                  track.terrain.terrainTextB.size(), track.terrain.terrainTextC.size()});
    for (const TrackSlot& slot : track.slots) {
        longest = std::max(longest, slot.text.size());
    }
    for (const RailConnectorGroup& group : track.groups) {
        longest = std::max(longest, group.connectors.size());
    }
    for (const Catwalk& catwalk : track.catwalks) {
        longest = std::max(longest, catwalk.bytes.size());
    }
    for (const SceneryObject& object : track.sceneryObjects) {
        longest = std::max({longest, object.textA.size(), object.textB.size()});
    }
    return longest;
}

std::string checkDamagedBytes(const Bytes& bytes, const SimulatorSandbox& sandbox,
                              std::span<const GenerationVariant> variants)
{
    Track track;
    readTrackBytes(bytes, track);
    if (longestList(track) > bytes.size()) {
        return "a list of " + std::to_string(longestList(track)) + " from " +
               std::to_string(bytes.size()) + " bytes";
    }
    return checkReadGenerateWrite(bytes, sandbox, variants);
}

std::string checkFileOpens(const Bytes& bytes, const std::filesystem::path& path)
{
    writeBytes(path, bytes);
    Track track;
    ReadDiagnostics diagnostics;
    const Result<void> result = readTrackFile(path, track, &diagnostics);
    if (!result)
        return "read failed: " + errorText(result.error());
    return {};
}

}  // namespace pw::hardening
