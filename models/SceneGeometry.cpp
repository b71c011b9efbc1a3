#include "SceneGeometry.h"

#include <assimp/scene.h>

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

void appendMesh(const aiMesh& source, const aiMatrix4x4& transform, NormalSource normals,
                SceneGeometry& out)
{
    ModelMesh& mesh = out.mesh;
    // Normals go through the inverse transpose, so that a scaled node keeps them perpendicular.
    aiMatrix3x3 normalMatrix(transform);
    const bool mirrored = normalMatrix.Determinant() < 0.0f;
    normalMatrix.Inverse().Transpose();

    const std::size_t first = out.vertices.size();
    const std::vector<std::uint32_t> index = appendVertices(source, transform, out.vertices);
    const std::span<const Vector3> kept(out.vertices.begin() + first, out.vertices.end());

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

}  // namespace

SceneGeometry collectSceneGeometry(const aiScene& scene, NormalSource normals)
{
    SceneGeometry out;
    if (scene.mRootNode == nullptr)
        return out;
    std::vector<std::pair<const aiNode*, aiMatrix4x4>> pending{{scene.mRootNode, aiMatrix4x4()}};
    while (!pending.empty()) {
        const auto [node, parent] = pending.back();
        pending.pop_back();
        const aiMatrix4x4 transform = parent * node->mTransformation;
        for (unsigned i = 0; i < node->mNumMeshes; ++i)
            if (node->mMeshes[i] < scene.mNumMeshes && scene.mMeshes[node->mMeshes[i]] != nullptr)
                appendMesh(*scene.mMeshes[node->mMeshes[i]], transform, normals, out);
        // Children in reverse, so that meshes come out in the order of the tree.
        for (unsigned c = node->mNumChildren; c > 0; --c)
            if (node->mChildren[c - 1] != nullptr)
                pending.emplace_back(node->mChildren[c - 1], transform);
    }
    return out;
}

}  // namespace pw
