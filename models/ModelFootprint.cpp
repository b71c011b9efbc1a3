#include "ModelFootprint.h"

#include "ConvexHull.h"
#include "SceneGeometry.h"
#include "ThreeDsScreening.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <system_error>
#include <tuple>

namespace pw {

namespace {

// A model with more vertices than this keeps only those on its outline seen from above, from the
// front and from the side: enough to draw it turned or tilted.
constexpr std::size_t mostPointsKept = 256;

struct FileBytes {
    std::vector<std::uint8_t> bytes;
    std::string problem;
};

FileBytes readBounded(const std::filesystem::path& file)
{
    FileBytes result;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        result.problem = "not found";
        return result;
    }
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) {
        result.problem = error.message();
        return result;
    }
    if (size > largestModelFileBytes) {
        result.problem = "larger than " + std::to_string(largestModelFileBytes >> 20) + " MiB";
        return result;
    }
    std::ifstream in(file, std::ios::binary);
    result.bytes.resize(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(result.bytes.data()),
                 static_cast<std::streamsize>(size))) {
        result.bytes.clear();
        result.problem = "cannot be read";
    }
    return result;
}

// Marks the vertices on the outline of one of the three axis views.
void keepOutline(const std::vector<Vector3>& all, int dropAxis, std::vector<bool>& kept)
{
    std::vector<QPointF> plane;
    plane.reserve(all.size());
    for (const Vector3 p : all)
        plane.push_back(dropAxis == 0   ? QPointF(p.y, p.z)
                        : dropAxis == 1 ? QPointF(p.x, p.z)
                                        : QPointF(p.x, p.y));
    const std::vector<bool> corners = onConvexHull(plane);
    for (std::size_t i = 0; i < all.size(); ++i)
        kept[i] = kept[i] || corners[i];
}

std::vector<Vector3> reduced(std::vector<Vector3> all)
{
    const auto key = [](Vector3 p) { return std::make_tuple(p.x, p.y, p.z); };
    std::sort(all.begin(), all.end(), [&](Vector3 a, Vector3 b) { return key(a) < key(b); });
    all.erase(std::unique(all.begin(), all.end()), all.end());
    if (all.size() <= mostPointsKept)
        return all;
    std::vector<bool> kept(all.size());
    for (int axis = 0; axis < 3; ++axis)
        keepOutline(all, axis, kept);
    std::vector<Vector3> points;
    for (std::size_t i = 0; i < all.size(); ++i)
        if (kept[i])
            points.push_back(all[i]);
    return points;
}

bool withinModelReach(Vector3 v)
{
    return std::abs(v.x) <= modelReachMetres && std::abs(v.y) <= modelReachMetres &&
           std::abs(v.z) <= modelReachMetres;
}

}  // namespace

ModelFootprint unitSquareFootprint(std::string problem)
{
    ModelFootprint footprint;
    footprint.problem = std::move(problem);
    footprint.points = {
        {-0.5f, 0.0f, -0.5f}, {0.5f, 0.0f, -0.5f}, {0.5f, 0.0f, 0.5f}, {-0.5f, 0.0f, 0.5f}};
    footprint.minimum = {-0.5f, 0.0f, -0.5f};
    footprint.maximum = {0.5f, 0.0f, 0.5f};
    return footprint;
}

ModelFootprint readModelFootprint(const std::filesystem::path& file)
{
    const FileBytes file3ds = readBounded(file);
    if (!file3ds.problem.empty())
        return unitSquareFootprint(file3ds.problem);
    return modelFootprintOf(file3ds.bytes);
}

ModelFootprint modelFootprintOf(std::span<const std::uint8_t> file)
{
    // Only the chunks our own walk accepted reach assimp; other formats it knows never do.
    const ScreenedModel screened = screenThreeDs(file);
    if (!screened.problem.empty())
        return unitSquareFootprint(screened.problem);

    SceneGeometry geometry;
    try {
        Assimp::Importer importer;
        const aiScene* scene =
            importer.ReadFileFromMemory(screened.bytes.data(), screened.bytes.size(), 0, "3ds");
        // Without smoothing groups a 3ds model is faceted; assimp would smooth it all over.
        if (scene != nullptr)
            geometry = collectSceneGeometry(
                *scene, screened.smoothingGroups ? NormalSource::Model : NormalSource::Flat);
    } catch (...) {
        geometry = {};
    }
    std::vector<Vector3>& vertices = geometry.vertices;
    if (vertices.empty())
        return unitSquareFootprint("not a 3ds model");

    ModelFootprint footprint;
    footprint.readable = true;
    footprint.minimum = footprint.maximum = vertices.front();
    for (const Vector3 p : vertices) {
        footprint.minimum = {std::min(footprint.minimum.x, p.x), std::min(footprint.minimum.y, p.y),
                             std::min(footprint.minimum.z, p.z)};
        footprint.maximum = {std::max(footprint.maximum.x, p.x), std::max(footprint.maximum.y, p.y),
                             std::max(footprint.maximum.z, p.z)};
    }
    if (!withinModelReach(footprint.minimum) || !withinModelReach(footprint.maximum) ||
        !withinModelReach(footprint.maximum - footprint.minimum))
        return unitSquareFootprint(
            "reaches beyond " + std::to_string(static_cast<int>(modelReachMetres / 1000)) + " km");
    footprint.points = reduced(std::move(vertices));
    footprint.mesh = std::move(geometry.mesh);
    return footprint;
}

}  // namespace pw
