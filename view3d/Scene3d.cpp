#include "Scene3d.h"

#include "Primitives3d.h"

#include "plan/FooterStyles.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace pw {

namespace {

// The scene's bounds fit the camera. A point beyond the plan's reach is drawn but not fitted: one
// runaway value would shrink the whole track below a pixel.
void fit(Bounds3d& bounds, Vector3 p)
{
    const auto withinReach = [](float v) { return std::abs(v) <= planFitReachMetres; };
    if (withinReach(p.x) && withinReach(p.y) && withinReach(p.z))
        bounds.extend(p);
}

// The square is seen from below too: its two faces point up and down.
Model3d unitSquare()
{
    Model3d model;
    ModelMesh& mesh = model.meshes.emplace_back(PlacedMesh{{}, {identityPlacement}}).mesh;
    mesh.positions = {{-0.5f, 0.0f, -0.5f}, {0.5f, 0.0f, -0.5f},  {0.5f, 0.0f, 0.5f},
                      {-0.5f, 0.0f, 0.5f},  {-0.5f, 0.0f, -0.5f}, {0.5f, 0.0f, -0.5f},
                      {0.5f, 0.0f, 0.5f},   {-0.5f, 0.0f, 0.5f}};
    mesh.normals = {{0, 1, 0},  {0, 1, 0},  {0, 1, 0},  {0, 1, 0},
                    {0, -1, 0}, {0, -1, 0}, {0, -1, 0}, {0, -1, 0}};
    mesh.indices = {0, 2, 1, 0, 3, 2, 4, 5, 6, 4, 6, 7};
    model.minimum = {-0.5f, 0.0f, -0.5f};
    model.maximum = {0.5f, 0.0f, 0.5f};
    return model;
}

Vector3 unit(Vector3 v)
{
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return length > 0.0f && std::isfinite(length)
               ? Vector3{v.x / length, v.y / length, v.z / length}
               : Vector3{0.0f, 1.0f, 0.0f};
}

// Each vertex gets the sum of its faces' normals, weighted by their areas.
std::vector<Vector3> faceNormals(const ModelMesh& mesh)
{
    std::vector<Vector3> sums(mesh.positions.size(), Vector3{0.0f, 0.0f, 0.0f});
    for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
        const std::uint32_t a = mesh.indices[i], b = mesh.indices[i + 1], c = mesh.indices[i + 2];
        const Vector3 pa = mesh.positions[a], pb = mesh.positions[b], pc = mesh.positions[c];
        const Vector3 n =
            cross({pb.x - pa.x, pb.y - pa.y, pb.z - pa.z}, {pc.x - pa.x, pc.y - pa.y, pc.z - pa.z});
        for (const std::uint32_t v : {a, b, c})
            sums[v] = {sums[v].x + n.x, sums[v].y + n.y, sums[v].z + n.z};
    }
    for (Vector3& n : sums)
        n = unit(n);
    return sums;
}

}  // namespace

float tubeRadius(int style)
{
    const int clamped = std::clamp(style, 0, otherFooterStyle);
    return clamped == otherFooterStyle
               ? sizeClasses.front().tubeRadius
               : sizeClassRow(static_cast<TubeSizeClass>(clamped)).tubeRadius;
}

void Bounds3d::extend(Vector3 p)
{
    if (empty) {
        minimum = maximum = p;
        empty = false;
        return;
    }
    minimum = {std::min(minimum.x, p.x), std::min(minimum.y, p.y), std::min(minimum.z, p.z)};
    maximum = {std::max(maximum.x, p.x), std::max(maximum.y, p.y), std::max(maximum.z, p.z)};
}

Model3d drawableModel(const ModelFootprint& footprint)
{
    if (!footprint.readable)
        return unitSquare();
    Model3d model;
    Bounds3d bounds;
    for (const PlacedMesh& placed : footprint.meshes) {
        const ModelMesh& mesh = placed.mesh;
        const bool wellFormed =
            mesh.indices.size() >= 3 && mesh.indices.size() % 3 == 0 &&
            std::all_of(mesh.positions.begin(), mesh.positions.end(),
                        [](Vector3 p) { return isFinite(p); }) &&
            std::all_of(mesh.indices.begin(), mesh.indices.end(),
                        [&](std::uint32_t i) { return i < mesh.positions.size(); });
        if (!wellFormed)
            continue;
        PlacedMesh drawn{{}, {}};
        for (const Placement& placement : placed.placements)
            if (std::all_of(placement.begin(), placement.end(),
                            [](float v) { return std::isfinite(v); }))
                drawn.placements.push_back(placement);
        if (drawn.placements.empty())
            continue;
        drawn.mesh = mesh;
        const bool normalsUsable =
            mesh.normals.size() == mesh.positions.size() &&
            std::all_of(mesh.normals.begin(), mesh.normals.end(), [](Vector3 n) {
                return isFinite(n) && n.x * n.x + n.y * n.y + n.z * n.z > 0.25f;
            });
        if (!normalsUsable)
            drawn.mesh.normals = faceNormals(mesh);
        for (const Placement& placement : drawn.placements)
            for (const std::uint32_t i : mesh.indices)
                bounds.extend(pw::placed(placement, mesh.positions[i]));
        model.meshes.push_back(std::move(drawn));
    }
    model.minimum = bounds.minimum;
    model.maximum = bounds.maximum;
    return model;
}

namespace {

class SceneBuilder {
public:
    SceneBuilder(Scene3d& scene, const Track& track, FootprintSources footprints)
        : scene_(scene), styles_(track), footprints_(footprints)
    {
    }

    void addFooters(std::span<const SceneryObject> objects, bool installed,
                    std::vector<Footer3d>& into)
    {
        for (const SceneryObject& object : objects) {
            if (!std::all_of(object.matrix.begin(), object.matrix.end(),
                             [](float v) { return std::isfinite(v); }))
                continue;
            std::optional<PlanFooter> facts = footerFacts(object, styles_);
            if (!facts)
                continue;
            const ModelFootprint& footprint =
                footprintFor(facts->modelFile, object.textB, footprints_, installed);
            Footer3d footer{std::move(*facts), object.matrix, modelIndex(footprint)};
            fit(scene_.bounds, footer.facts.position);
            into.push_back(std::move(footer));
        }
        std::stable_sort(into.begin(), into.end(), [](const Footer3d& a, const Footer3d& b) {
            return a.facts.style < b.facts.style;
        });
    }

private:
    int modelIndex(const ModelFootprint& footprint)
    {
        const auto found = models_.find(&footprint);
        if (found != models_.end())
            return found->second;
        Model3d model = drawableModel(footprint);
        const int index = model.meshes.empty() ? -1 : static_cast<int>(scene_.models.size());
        if (index >= 0)
            scene_.models.push_back(std::move(model));
        models_.emplace(&footprint, index);
        return index;
    }

    Scene3d& scene_;
    FooterStyles styles_;
    FootprintSources footprints_;
    std::map<const ModelFootprint*, int> models_;  // footprints live as long as their sources
};

}  // namespace

Scene3d buildScene3d(const Track& track, FootprintSources footprints,
                     std::span<const SceneryObject> preview, const TubeEndTable* tubeEnds)
{
    Scene3d scene;
    scene.curve = sampledCurve(track);
    for (const std::vector<Vector3>& piece : scene.curve)
        for (const Vector3 p : piece)
            fit(scene.bounds, p);

    std::optional<TubeEndTable> ownEnds;
    if (tubeEnds == nullptr || tubeEnds->tubeCount() != track.tubes.size())
        tubeEnds = &ownEnds.emplace(track);
    scene.tubes.reserve(track.tubes.size());
    for (std::size_t t = 0; t < tubeEnds->tubeCount(); ++t) {
        const std::optional<Vector3> a = tubeEnds->pointOf(t, false);
        const std::optional<Vector3> b = tubeEnds->pointOf(t, true);
        if (!a || !b || !isFinite(*a) || !isFinite(*b))
            continue;
        const std::optional<TubeSizeClass> sizeClass = sizeClassOfCode(track.tubes[t].sizeClass);
        scene.tubes.push_back(
            {*a, *b, sizeClass ? static_cast<int>(*sizeClass) : otherFooterStyle});
        fit(scene.bounds, *a);
        fit(scene.bounds, *b);
    }
    for (const Fundament& fundament : track.fundaments) {
        if (!isFinite(fundament.position))
            continue;
        scene.fundaments.push_back(fundament.position);
        fit(scene.bounds, fundament.position);
    }

    SceneBuilder builder(scene, track, footprints);
    builder.addFooters(track.sceneryObjects, true, scene.footers);
    builder.addFooters(preview, false, scene.preview);
    return scene;
}

const Model3d* drawnModel(const Scene3d& scene, const Footer3d& footer)
{
    if (footer.model < 0 || static_cast<std::size_t>(footer.model) >= scene.models.size())
        return nullptr;
    const Model3d& model = scene.models[static_cast<std::size_t>(footer.model)];
    return model.meshes.empty() ? nullptr : &model;
}

}  // namespace pw
