#include "ModelReading.h"

#include "ConvexHull.h"
#include "SceneGeometry.h"
#include "ThreeDsScreening.h"
#include "tracklib/Result.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <tuple>

namespace pw {

namespace {

// A model with more vertices than this keeps only those on its outline seen from above, from the
// front and from the side: enough to draw it turned or tilted.
constexpr std::size_t mostPointsKeptWhole = 256;

// Assimp gives every face three vertices of its own, so the walk's bound on faces (instances
// counted) bounds the vertices placed.
constexpr std::size_t mostPlacedVertices = 3 * mostModelFaces;

// Marks the vertices on the outline of one of the three axis views.
void keepOutline(const std::vector<Vector3>& all, int dropAxis, std::vector<bool>& kept)
{
    std::vector<PlanePoint> plane;
    plane.reserve(all.size());
    for (const Vector3 p : all)
        plane.push_back(dropAxis == 0   ? PlanePoint{p.y, p.z}
                        : dropAxis == 1 ? PlanePoint{p.x, p.z}
                                        : PlanePoint{p.x, p.y});
    const std::vector<bool> corners = onConvexHull(plane);
    for (std::size_t i = 0; i < all.size(); ++i)
        kept[i] = kept[i] || corners[i];
}

std::vector<Vector3> reduced(std::vector<Vector3> all)
{
    const auto key = [](Vector3 p) { return std::make_tuple(p.x, p.y, p.z); };
    std::sort(all.begin(), all.end(), [&](Vector3 a, Vector3 b) { return key(a) < key(b); });
    all.erase(std::unique(all.begin(), all.end()), all.end());
    if (all.size() <= mostPointsKeptWhole)
        return all;
    std::vector<bool> kept(all.size());
    for (int axis = 0; axis < 3; ++axis)
        keepOutline(all, axis, kept);
    std::vector<Vector3> points;
    for (std::size_t i = 0; i < all.size(); ++i)
        if (kept[i])
            points.push_back(all[i]);
    if (points.size() <= mostOutlinePoints)
        return points;
    // Every footer of the model draws its outline from these: an even sample keeps that cheap.
    std::vector<Vector3> sample(mostOutlinePoints);
    for (std::size_t i = 0; i < mostOutlinePoints; ++i)
        sample[i] = points[i * points.size() / mostOutlinePoints];
    return sample;
}

bool withinModelReach(Vector3 v)
{
    return std::abs(v.x) <= modelReachMetres && std::abs(v.y) <= modelReachMetres &&
           std::abs(v.z) <= modelReachMetres;
}

// Assimp throws on some damaged models: its exceptions are caught here, where it runs, and
// nowhere else, and such a model is no 3ds model. Running out of memory is no fault of the
// model: the reader's loop answers so.
Result<SceneGeometry> geometryByAssimp(const ScreenedModel& screened)
{
    try {
        Assimp::Importer importer;
        const aiScene* scene =
            importer.ReadFileFromMemory(screened.bytes.data(), screened.bytes.size(), 0, "3ds");
        if (scene == nullptr)
            return CoreError(ModelError::NotThreeDs);
        // Without smoothing groups a 3ds model is faceted; assimp would smooth it all over.
        return collectSceneGeometry(
            *scene, screened.smoothingGroups ? NormalSource::Model : NormalSource::Flat,
            mostPlacedVertices);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (...) {
        return CoreError(ModelError::NotThreeDs);
    }
}

}  // namespace

ModelFootprint modelFootprintOf(std::span<const std::uint8_t> file)
{
    // Only the chunks our own walk accepted reach assimp; other formats it knows never do.
    const ScreenedModel screened = screenThreeDs(file);
    if (screened.refusal)
        return unitSquareFootprint(*screened.refusal);

    Result<SceneGeometry> geometry = geometryByAssimp(screened);
    if (!geometry)
        return unitSquareFootprint(geometry.error());
    if (geometry->tooLarge)
        return unitSquareFootprint(CoreError(
            ModelError::BeyondReadingBounds, {}, {}, {}, 0,
            "more than " + std::to_string(mostPlacedVertices) + " vertices with their instances"));
    std::vector<Vector3>& vertices = geometry->vertices;
    if (vertices.empty())
        return unitSquareFootprint(CoreError(ModelError::NotThreeDs));

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
        return unitSquareFootprint(CoreError(ModelError::ReachesTooFar));
    footprint.points = reduced(std::move(vertices));
    footprint.meshes = std::move(geometry->meshes);
    if (screened.keyframerLeftOut)
        footprint.warnings.push_back("read without its keyframer: more than " +
                                     std::to_string(mostKeyframerNodes) + " nodes");
    if (geometry->placementsLeftOut > 0)
        footprint.warnings.push_back(std::to_string(geometry->placementsLeftOut) +
                                     " places of a mesh left out: beyond float range");
    return footprint;
}

}  // namespace pw
