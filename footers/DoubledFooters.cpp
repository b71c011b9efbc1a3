#include "DoubledFooters.h"

#include "tracklib/Track.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <tuple>

namespace pw {

namespace {

using Placement = std::tuple<std::string_view, float, float, float>;

Placement placementOf(const SceneryObject& object)
{
    return {object.textB, object.matrix[3], object.matrix[7], object.matrix[11]};
}

// NaN never equals itself and would break the ordering; such a footer stands nowhere.
bool standsSomewhere(const Placement& p)
{
    return !std::isnan(std::get<1>(p)) && !std::isnan(std::get<2>(p)) &&
           !std::isnan(std::get<3>(p));
}

}  // namespace

int countDoubledFooters(const std::vector<SceneryObject>& objects, std::size_t firstNew)
{
    firstNew = std::min(firstNew, objects.size());
    std::vector<Placement> before;
    before.reserve(firstNew);
    for (std::size_t i = 0; i < firstNew; ++i)
        before.push_back(placementOf(objects[i]));
    std::erase_if(before, [](const Placement& p) { return !standsSomewhere(p); });
    std::sort(before.begin(), before.end());
    int doubled = 0;
    for (std::size_t i = firstNew; i < objects.size(); ++i) {
        const Placement p = placementOf(objects[i]);
        if (standsSomewhere(p) && std::binary_search(before.begin(), before.end(), p))
            ++doubled;
    }
    return doubled;
}

}  // namespace pw
