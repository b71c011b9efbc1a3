#include "PlacedFooters.h"

#include "ObjectDirectory.h"
#include "tracklib/Track.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>
#include <tuple>

namespace pw {

namespace {

using Point = std::tuple<float, float, float>;
using Placement = std::tuple<std::string_view, float, float, float>;

Point translationOf(const SceneryObject& object)
{
    return {object.matrix[3], object.matrix[7], object.matrix[11]};
}

// NaN never equals itself and would break the ordering; such a footer stands nowhere.
bool isPoint(const Point& p)
{
    return !std::isnan(std::get<0>(p)) && !std::isnan(std::get<1>(p)) &&
           !std::isnan(std::get<2>(p));
}

Placement placementOf(const SceneryObject& object)
{
    const auto [x, y, z] = translationOf(object);
    return {object.textB, x, y, z};
}

bool holdsSeparator(std::string_view text)
{
    return text.find_first_of("/\\") != std::string_view::npos;
}

bool endsWith3ds(std::string_view file)
{
    constexpr std::string_view extension = ".3ds";
    if (file.size() < extension.size())
        return false;
    const std::string_view end = file.substr(file.size() - extension.size());
    return std::equal(end.begin(), end.end(), extension.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

// Whether the footer names a free node ("fundament7") standing exactly where it stands: the one
// made for it when its fundament was replaced.
bool standsOnItsFreeNode(const SceneryObject& footer, const Track& track)
{
    const std::string_view prefix = "fundament";
    const std::string_view name = footer.textA;
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix)
        return false;
    std::size_t node = 0;
    const char* const end = name.data() + name.size();
    const auto [stop, error] = std::from_chars(name.data() + prefix.size(), end, node);
    if (error != std::errc() || stop != end || node >= track.freeNodes.size())
        return false;
    const Vector3 position = track.freeNodes[node].position;
    return translationOf(footer) == Point{position.x, position.y, position.z};
}

}  // namespace

bool isPlacedFooter(const SceneryObject& object)
{
    const std::string_view path = object.textB;
    const std::size_t slash = path.find('/');
    if (slash == std::string_view::npos)
        return false;
    const std::string_view name = path.substr(0, slash);
    const std::string_view file = path.substr(slash + 1);
    const std::string_view prefix = footerModelPrefix;
    return !holdsSeparator(name) && file.substr(0, prefix.size()) == prefix &&
           !holdsSeparator(file) && endsWith3ds(file.substr(prefix.size()));
}

std::vector<std::size_t> placedFooters(const Track& track)
{
    std::vector<std::size_t> placed;
    for (std::size_t i = 0; i < track.sceneryObjects.size(); ++i)
        if (isPlacedFooter(track.sceneryObjects[i]))
            placed.push_back(i);
    return placed;
}

std::vector<std::size_t> replaceableFooters(const Track& track)
{
    std::vector<Point> fundaments;
    fundaments.reserve(track.fundaments.size());
    for (const Fundament& fundament : track.fundaments) {
        const Point p{fundament.position.x, fundament.position.y, fundament.position.z};
        if (isPoint(p))
            fundaments.push_back(p);
    }
    std::sort(fundaments.begin(), fundaments.end());
    std::vector<std::size_t> replaceable = placedFooters(track);
    std::erase_if(replaceable, [&](std::size_t i) {
        const SceneryObject& footer = track.sceneryObjects[i];
        const Point p = translationOf(footer);
        return !isPoint(p) || !std::binary_search(fundaments.begin(), fundaments.end(), p) ||
               standsOnItsFreeNode(footer, track);
    });
    return replaceable;
}

std::optional<std::int32_t> fundamentAt(const Track& track, const Vector3& position)
{
    for (std::size_t f = 0; f < track.fundaments.size(); ++f)
        if (track.fundaments[f].position == position)
            return static_cast<std::int32_t>(f);
    return std::nullopt;
}

std::optional<std::int32_t> supportOfFooter(const Track& track, std::size_t object)
{
    if (object >= track.sceneryObjects.size())
        return std::nullopt;
    const SceneryObject& footer = track.sceneryObjects[object];
    const Point p = translationOf(footer);
    if (!isPlacedFooter(footer) || !isPoint(p) || standsOnItsFreeNode(footer, track))
        return std::nullopt;
    const auto [x, y, z] = p;
    return fundamentAt(track, Vector3{x, y, z});
}

int countDoubledFooters(const std::vector<SceneryObject>& objects, std::size_t firstNew)
{
    firstNew = std::min(firstNew, objects.size());
    const auto counted = [&](std::size_t i) {
        return isPlacedFooter(objects[i]) && isPoint(translationOf(objects[i]));
    };
    std::vector<Placement> before;
    for (std::size_t i = 0; i < firstNew; ++i)
        if (counted(i))
            before.push_back(placementOf(objects[i]));
    std::sort(before.begin(), before.end());
    int doubled = 0;
    for (std::size_t i = firstNew; i < objects.size(); ++i)
        if (counted(i) && std::binary_search(before.begin(), before.end(), placementOf(objects[i])))
            ++doubled;
    return doubled;
}

}  // namespace pw
