#include "Primitives3d.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace pw {

namespace {

constexpr int cylinderSides = 8;

}  // namespace

std::array<float, 4> rgba(QRgb rgb, float alpha)
{
    return {static_cast<float>(qRed(rgb)) / 255.0f, static_cast<float>(qGreen(rgb)) / 255.0f,
            static_cast<float>(qBlue(rgb)) / 255.0f, alpha};
}

Vector3 placed(const std::array<float, 16>& e, Vector3 p)
{
    return {e[0] * p.x + e[1] * p.y + e[2] * p.z + e[3],
            e[4] * p.x + e[5] * p.y + e[6] * p.z + e[7],
            e[8] * p.x + e[9] * p.y + e[10] * p.z + e[11]};
}

Instance3d instanceOf(const std::array<float, 16>& m, std::array<float, 4> colour)
{
    Instance3d instance;
    std::copy_n(m.begin(), 12, instance.rows.begin());
    instance.colour = colour;
    return instance;
}

// Both placements are affine, so only the first three rows count.
Instance3d placedInstance(const Instance3d& footer, const Placement& placement)
{
    Instance3d out{{}, footer.colour};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            float sum = c == 3 ? footer.rows[static_cast<std::size_t>(4 * r + 3)] : 0.0f;
            for (int k = 0; k < 3; ++k)
                sum += footer.rows[static_cast<std::size_t>(4 * r + k)] *
                       placement[static_cast<std::size_t>(4 * k + c)];
            out.rows[static_cast<std::size_t>(4 * r + c)] = sum;
        }
    return out;
}

void appendPlaced(std::vector<Instance3d>& out, const Instance3d& footer,
                  const std::vector<Placement>& placements)
{
    for (const Placement& placement : placements)
        out.push_back(placedInstance(footer, placement));
}

Instance3d cylinderInstance(Vector3 a, Vector3 b, float radius, std::array<float, 4> colour)
{
    const Vector3 axis = b - a;
    const Vector3 helper =
        std::abs(axis.y) > 0.9f * length(axis) ? Vector3{1, 0, 0} : Vector3{0, 1, 0};
    Vector3 p = cross(axis, helper);
    normalize(p);
    Vector3 q = cross(p, axis);
    normalize(q);
    p = p * radius;
    q = q * radius;
    return {{p.x, axis.x, q.x, a.x, p.y, axis.y, q.y, a.y, p.z, axis.z, q.z, a.z}, colour};
}

ModelMesh cylinderMesh()
{
    ModelMesh mesh;
    for (int side = 0; side < cylinderSides; ++side) {
        const float angle = 2.0f * std::numbers::pi_v<float> * side / cylinderSides;
        const float c = std::cos(angle), s = std::sin(angle);
        for (const float y : {0.0f, 1.0f}) {
            mesh.positions.push_back({c, y, s});
            mesh.normals.push_back({c, 0.0f, s});
        }
        const auto i = static_cast<std::uint32_t>(2 * side);
        const auto next = static_cast<std::uint32_t>(2 * ((side + 1) % cylinderSides));
        mesh.indices.insert(mesh.indices.end(), {i, i + 1, next, next, i + 1, next + 1});
    }
    // The caps, a fan each, wound to face out of their ends: through an open end the inside
    // would show, as a crack where two pieces meet at an angle.
    for (const float y : {0.0f, 1.0f}) {
        const auto first = static_cast<std::uint32_t>(mesh.positions.size());
        for (int side = 0; side < cylinderSides; ++side) {
            const float angle = 2.0f * std::numbers::pi_v<float> * side / cylinderSides;
            mesh.positions.push_back({std::cos(angle), y, std::sin(angle)});
            mesh.normals.push_back({0.0f, y > 0.0f ? 1.0f : -1.0f, 0.0f});
        }
        for (std::uint32_t k = 1; k + 1 < cylinderSides; ++k) {
            if (y > 0.0f)
                mesh.indices.insert(mesh.indices.end(), {first, first + k + 1, first + k});
            else
                mesh.indices.insert(mesh.indices.end(), {first, first + k, first + k + 1});
        }
    }
    return mesh;
}

ModelMesh blockMesh()
{
    ModelMesh mesh;
    // Six faces of four corners each, so that every face has its own normal.
    const Vector3 normals[6] = {{1, 0, 0},  {-1, 0, 0}, {0, 1, 0},
                                {0, -1, 0}, {0, 0, 1},  {0, 0, -1}};
    for (const Vector3 n : normals) {
        const Vector3 u = std::abs(n.y) > 0.5f ? Vector3{1, 0, 0} : Vector3{0, 1, 0};
        const Vector3 v = cross(n, u);
        const auto first = static_cast<std::uint32_t>(mesh.positions.size());
        for (const auto& [su, sv] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
            mesh.positions.push_back(n * 0.5f + (u * (0.5f * su) + v * (0.5f * sv)));
            mesh.normals.push_back(n);
        }
        mesh.indices.insert(mesh.indices.end(),
                            {first, first + 1, first + 2, first, first + 2, first + 3});
    }
    return mesh;
}

}  // namespace pw
