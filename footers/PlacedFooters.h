#pragma once
// The footers this tool placed in a track before: scenery objects whose model path names a copy
// it installs, "<name>/fundament-<model>.3ds" inside the simulator's objects directory. Generating
// again replaces them or adds beside them; added beside them, some stand twice.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace pw {

struct SceneryObject;
struct Track;
struct Vector3;

// Whether the object's model path is "<name>/fundament-<file>.3ds" (the extension in any case),
// with neither the name nor the file holding a / or \.
bool isPlacedFooter(const SceneryObject& object);

// The placed footers among the track's scenery objects, by index, ascending.
std::vector<std::size_t> placedFooters(const Track& track);

// The placed footers a generation can place again, by index, ascending: those standing on a
// fundament of the track (a placement moves the model's origin exactly onto the fundament's
// position). A footer whose fundament was replaced by a free node cannot be placed again: its
// tube now ends at that free node, which the footer names ("fundament" and the node's index) and
// stands on, even where the fundament itself stays for other tubes. A generation replacing the
// earlier footers removes these and leaves the others.
std::vector<std::size_t> replaceableFooters(const Track& track);

// The first fundament at exactly `position`, by index: the one a footer placed there stands on,
// since a placement moves the model's origin exactly onto its fundament.
std::optional<std::int32_t> fundamentAt(const Track& track, const Vector3& position);

// The fundament a replaceable footer stands on (the first at its position), by index: the
// support a choice for it is about. None for a footer that is not replaceable.
std::optional<std::int32_t> supportOfFooter(const Track& track, std::size_t object);

// How many of the objects from `firstNew` on are placed footers of the same model standing at
// exactly the same point as a placed footer before `firstNew`.
int countDoubledFooters(const std::vector<SceneryObject>& objects, std::size_t firstNew);

}  // namespace pw
