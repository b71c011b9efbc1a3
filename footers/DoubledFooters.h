#pragma once
// Footers placed a second time: generating again while the native fundaments were kept adds a
// footer of the same model at the same point as one already there.

#include <cstddef>
#include <vector>

namespace pw {

struct SceneryObject;

// How many of the objects from `firstNew` on name the same model and stand at exactly the same
// point as an object before `firstNew`.
int countDoubledFooters(const std::vector<SceneryObject>& objects, std::size_t firstNew);

}  // namespace pw
