#include "SceneGeometry.h"

#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <utility>

namespace pw {

namespace {

constexpr std::uint32_t dropped = std::numeric_limits<std::uint32_t>::max();
constexpr Vector3 upwards{0.0f, 1.0f, 0.0f};

// A unit vector, or nothing when `v` has no usable direction.
bool toUnit(Vector3& v)
{
    if (!isFinite(v))
        return false;
    const double l = std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
    if (!(l > 1e-12) || !std::isfinite(l))
        return false;
    v = {static_cast<float>(v.x / l), static_cast<float>(v.y / l), static_cast<float>(v.z / l)};
    return isFinite(v);
}

Vector3 flatNormal(Vector3 a, Vector3 b, Vector3 c)
{
    Vector3 n = cross(b - a, c - a);
    return toUnit(n) ? n : upwards;
}

// The mesh's finite vertices after the transform, by vertex number; `dropped` for the others.
std::vector<std::uint32_t> appendVertices(const aiMesh& source, const aiMatrix4x4& transform,
                                          std::vector<Vector3>& positions)
{
    std::vector<std::uint32_t> index(source.mNumVertices, dropped);
    for (unsigned v = 0; v < source.mNumVertices; ++v) {
        const aiVector3D p = transform * source.mVertices[v];
        const Vector3 position{p.x, p.y, p.z};
        if (isFinite(position)) {
            index[v] = static_cast<std::uint32_t>(positions.size());
            positions.push_back(position);
        }
    }
    return index;
}

// Calls `use(a, b, c)` with the vertex numbers of each triangle whose corners are all kept, in
// the order that faces outwards after the transform.
template <typename Use>
void forEachTriangle(const aiMesh& source, const std::vector<std::uint32_t>& index, bool mirrored,
                     Use use)
{
    for (unsigned f = 0; f < source.mNumFaces; ++f) {
        const aiFace& face = source.mFaces[f];
        if (face.mNumIndices != 3 || face.mIndices == nullptr)
            continue;  // points and lines draw nothing
        std::uint32_t corner[3];
        bool kept = true;
        for (int i = 0; i < 3; ++i) {
            const unsigned v = face.mIndices[i];
            corner[i] = v < source.mNumVertices ? index[v] : dropped;
            kept = kept && corner[i] != dropped;
        }
        // A mirroring transform turns the winding; turn it back so that front faces stay outside.
        if (kept)
            mirrored ? use(corner[0], corner[2], corner[1]) : use(corner[0], corner[1], corner[2]);
    }
}

// Appends `source` through `transform` to `mesh`, and its kept vertices to `vertices`.
void appendMesh(const aiMesh& source, const aiMatrix4x4& transform, NormalSource normals,
                ModelMesh& mesh, std::vector<Vector3>& vertices)
{
    // Normals go through the inverse transpose, so that a scaled node keeps them perpendicular.
    aiMatrix3x3 normalMatrix(transform);
    const bool mirrored = normalMatrix.Determinant() < 0.0f;
    normalMatrix.Inverse().Transpose();

    const std::size_t first = vertices.size();
    const std::vector<std::uint32_t> index = appendVertices(source, transform, vertices);
    const std::span<const Vector3> kept(vertices.begin() + first, vertices.end());

    if (normals == NormalSource::Flat || source.mNormals == nullptr) {
        // Three corners of its own for each triangle, all with the triangle's normal.
        forEachTriangle(source, index, mirrored, [&](auto a, auto b, auto c) {
            const Vector3 normal = flatNormal(kept[a - first], kept[b - first], kept[c - first]);
            for (const std::uint32_t corner : {a, b, c}) {
                mesh.indices.push_back(static_cast<std::uint32_t>(mesh.positions.size()));
                mesh.positions.push_back(kept[corner - first]);
                mesh.normals.push_back(normal);
            }
        });
        return;
    }

    // The kept vertices follow in their order: vertex `corner` lands at start + (corner - first).
    const std::size_t start = mesh.positions.size();
    std::vector<bool> usable;
    for (unsigned v = 0; v < source.mNumVertices; ++v) {
        if (index[v] == dropped)
            continue;
        const aiVector3D n = normalMatrix * source.mNormals[v];
        Vector3 normal{n.x, n.y, n.z};
        usable.push_back(toUnit(normal));
        mesh.positions.push_back(kept[index[v] - first]);
        mesh.normals.push_back(usable.back() ? normal : upwards);
    }
    forEachTriangle(source, index, mirrored, [&](auto a, auto b, auto c) {
        const Vector3 normal = flatNormal(kept[a - first], kept[b - first], kept[c - first]);
        for (const std::uint32_t corner : {a, b, c}) {
            const std::size_t at = start + (corner - first);
            if (!usable[corner - first]) {
                mesh.normals[at] = normal;
                usable[corner - first] = true;
            }
            mesh.indices.push_back(static_cast<std::uint32_t>(at));
        }
    });
}

Placement placementOf(const aiMatrix4x4& m)
{
    return {m.a1, m.a2, m.a3, m.a4, m.b1, m.b2, m.b3, m.b4, m.c1, m.c2, m.c3, m.c4, 0, 0, 0, 1};
}

Vector3 placedBy(const Placement& e, Vector3 p)
{
    return {e[0] * p.x + e[1] * p.y + e[2] * p.z + e[3],
            e[4] * p.x + e[5] * p.y + e[6] * p.z + e[7],
            e[8] * p.x + e[9] * p.y + e[10] * p.z + e[11]};
}

// Whether `placement` keeps every one of `vertices` finite.
bool keepsFinite(const Placement& placement, std::span<const Vector3> vertices)
{
    return std::all_of(placement.begin(), placement.end(),
                       [](float v) { return std::isfinite(v); }) &&
           std::all_of(vertices.begin(), vertices.end(),
                       [&](Vector3 p) { return isFinite(placedBy(placement, p)); });
}

// One mesh of the scene with every node transform that places it, in the order of the tree.
struct MeshUse {
    const aiMesh* mesh = nullptr;
    std::vector<aiMatrix4x4> transforms;
};

std::vector<MeshUse> meshUses(const aiScene& scene)
{
    std::vector<MeshUse> uses;
    std::vector<std::size_t> useOf(scene.mNumMeshes, SIZE_MAX);
    std::vector<std::pair<const aiNode*, aiMatrix4x4>> pending{{scene.mRootNode, aiMatrix4x4()}};
    while (!pending.empty()) {
        const auto [node, parent] = pending.back();
        pending.pop_back();
        const aiMatrix4x4 transform = parent * node->mTransformation;
        for (unsigned i = 0; i < node->mNumMeshes; ++i) {
            const unsigned m = node->mMeshes[i];
            if (m >= scene.mNumMeshes || scene.mMeshes[m] == nullptr)
                continue;
            if (useOf[m] == SIZE_MAX) {
                useOf[m] = uses.size();
                uses.push_back({scene.mMeshes[m], {}});
            }
            uses[useOf[m]].transforms.push_back(transform);
        }
        // Children in reverse, so that meshes come out in the order of the tree.
        for (unsigned c = node->mNumChildren; c > 0; --c)
            if (node->mChildren[c - 1] != nullptr)
                pending.emplace_back(node->mChildren[c - 1], transform);
    }
    return uses;
}

}  // namespace

SceneGeometry collectSceneGeometry(const aiScene& scene, NormalSource normals,
                                   std::size_t mostVertices)
{
    SceneGeometry out;
    if (scene.mRootNode == nullptr)
        return out;
    const std::vector<MeshUse> uses = meshUses(scene);
    std::size_t placed = 0;
    for (const MeshUse& use : uses) {
        placed += std::size_t{use.mesh->mNumVertices} * use.transforms.size();
        if (placed > mostVertices) {
            out.tooLarge = true;
            return out;
        }
    }
    // Meshes placed once keep their vertices in place, as one mesh.
    for (const MeshUse& use : uses) {
        if (use.transforms.size() != 1)
            continue;
        if (out.meshes.empty())
            out.meshes.push_back({{}, {identityPlacement}});
        appendMesh(*use.mesh, use.transforms.front(), normals, out.meshes.front().mesh,
                   out.vertices);
    }
    for (const MeshUse& use : uses) {
        if (use.transforms.size() < 2)
            continue;
        PlacedMesh instanced;
        std::vector<Vector3> local;
        appendMesh(*use.mesh, aiMatrix4x4(), normals, instanced.mesh, local);
        for (const aiMatrix4x4& transform : use.transforms) {
            const Placement placement = placementOf(transform);
            if (!keepsFinite(placement, local)) {
                ++out.placementsLeftOut;
                continue;
            }
            instanced.placements.push_back(placement);
            for (const Vector3 p : local)
                out.vertices.push_back(placedBy(placement, p));
        }
        if (!instanced.placements.empty() && !instanced.mesh.indices.empty())
            out.meshes.push_back(std::move(instanced));
    }
    if (!out.meshes.empty() && out.meshes.front().mesh.indices.empty())
        out.meshes.erase(out.meshes.begin());  // meshes placed once, without a triangle kept
    return out;
}

}  // namespace pw
