#include "ModelFootprint.h"

#include "ConvexHull.h"
#include "SceneGeometry.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>
#include <system_error>
#include <tuple>

namespace pw {

namespace {

// A model with more vertices than this keeps only those on its outline seen from above, from the
// front and from the side: enough to draw it turned or tilted.
constexpr std::size_t mostPointsKept = 256;
constexpr unsigned char threeDsMagic[2] = {0x4D, 0x4D};  // the main chunk, little-endian 0x4D4D

struct FileBytes {
    std::vector<char> bytes;
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
    if (!in.read(result.bytes.data(), static_cast<std::streamsize>(size))) {
        result.bytes.clear();
        result.problem = "cannot be read";
    }
    return result;
}

// The vertices on the outline of one of the three axis views.
void keepOutline(const std::vector<Vector3>& all, int dropAxis, std::set<std::size_t>& kept)
{
    std::vector<QPointF> plane;
    plane.reserve(all.size());
    const auto project = [dropAxis](Vector3 p) {
        return dropAxis == 0   ? QPointF(p.y, p.z)
               : dropAxis == 1 ? QPointF(p.x, p.z)
                               : QPointF(p.x, p.y);
    };
    for (const Vector3 p : all)
        plane.push_back(project(p));
    convexHullInPlace(plane);
    for (std::size_t i = 0; i < all.size(); ++i)
        if (std::find(plane.begin(), plane.end(), project(all[i])) != plane.end())
            kept.insert(i);
}

std::vector<Vector3> reduced(std::vector<Vector3> all)
{
    const auto key = [](Vector3 p) { return std::make_tuple(p.x, p.y, p.z); };
    std::sort(all.begin(), all.end(), [&](Vector3 a, Vector3 b) { return key(a) < key(b); });
    all.erase(std::unique(all.begin(), all.end()), all.end());
    if (all.size() <= mostPointsKept)
        return all;
    std::set<std::size_t> kept;
    for (int axis = 0; axis < 3; ++axis)
        keepOutline(all, axis, kept);
    std::vector<Vector3> points;
    for (const std::size_t i : kept)
        points.push_back(all[i]);
    return points;
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
    // Other formats assimp knows are no use to the simulator, and are not handed to it.
    if (file3ds.bytes.size() < 6 ||
        static_cast<unsigned char>(file3ds.bytes[0]) != threeDsMagic[0] ||
        static_cast<unsigned char>(file3ds.bytes[1]) != threeDsMagic[1])
        return unitSquareFootprint("not a 3ds model");

    SceneGeometry geometry;
    try {
        Assimp::Importer importer;
        const aiScene* scene =
            importer.ReadFileFromMemory(file3ds.bytes.data(), file3ds.bytes.size(), 0, "3ds");
        if (scene != nullptr)
            geometry = collectSceneGeometry(*scene, NormalSource::Flat);
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
    footprint.points = reduced(std::move(vertices));
    footprint.mesh = std::move(geometry.mesh);
    return footprint;
}

}  // namespace pw
