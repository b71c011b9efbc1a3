#include "HostileModels.h"

#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>

namespace pw {

namespace {

// "n12": written through a buffer, where GCC 12 at -O2 takes a string built by concatenation
// for an overlapping copy of exabytes (-Wrestrict).
std::string numbered(char prefix, std::size_t number)
{
    char text[24] = {prefix};
    const char* end = std::to_chars(text + 1, text + sizeof text, number).ptr;
    return std::string(text, static_cast<std::size_t>(end - text));
}

std::vector<std::uint8_t> boxWithNodes(std::size_t count, bool chained)
{
    std::vector<KeyframerNode> nodes;
    nodes.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        nodes.push_back({i == 0 ? std::string("box") : numbered('n', i),
                         static_cast<std::int16_t>(chained ? static_cast<int>(i) - 1 : -1)});
    return encodeThreeDs({plinthMesh("box", 1.0f, 1.0f, 0.0f, 1.0f)}, nodes);
}

// A strip of triangles: faces + 2 vertices.
Mesh stripMesh(std::size_t faces)
{
    Mesh strip;
    strip.name = "strip";
    for (std::size_t i = 0; i < faces + 2; ++i)
        strip.vertices.push_back(
            {static_cast<float>(i / 2) * 0.001f, static_cast<float>(i % 2), 0.0f});
    for (std::size_t i = 0; i < faces; ++i)
        strip.faces.push_back({static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i + 1),
                               static_cast<std::uint16_t>(i + 2)});
    return strip;
}

}  // namespace

std::vector<std::uint8_t> keyframerChainModel(std::size_t nodes)
{
    return boxWithNodes(nodes, true);
}

std::vector<std::uint8_t> flatKeyframerModel(std::size_t nodes)
{
    return boxWithNodes(nodes, false);
}

Mesh circleMesh(std::size_t vertices)
{
    Mesh mesh;
    mesh.name = "circle";
    for (std::size_t i = 0; i < vertices; ++i) {
        const double angle =
            2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(vertices);
        mesh.vertices.push_back(
            {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle)), 0.0f});
    }
    for (std::size_t i = 1; i + 1 < vertices; ++i)
        mesh.faces.push_back({0, static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i + 1)});
    return mesh;
}

Mesh farCornerMesh(float far)
{
    Mesh mesh = plinthMesh("far", 1.0f, 1.0f, 0.0f, 1.0f);
    mesh.vertices[6].x = far;
    return mesh;
}

std::vector<std::uint8_t> denseModel(std::size_t meshes, std::size_t faces)
{
    std::vector<Mesh> all(meshes, stripMesh(faces));
    for (std::size_t m = 0; m < meshes; ++m)
        all[m].name = numbered('m', m);
    return encodeThreeDs(all, {});
}

std::vector<std::uint8_t> instancedModel(std::size_t nodes, std::size_t faces)
{
    const Mesh strip = stripMesh(faces);
    return encodeThreeDs({strip}, std::vector<KeyframerNode>(nodes, {strip.name, -1}));
}

Mesh tiltedGridMesh(std::size_t columns, std::size_t rows, std::size_t faces, double offset,
                    bool smoothingGroups)
{
    // The axis assimp's smoothing sorts along, and two directions across it.
    const double axisLength = std::hypot(0.8523, 0.34321, 0.5736);
    const std::array<double, 3> n{0.8523 / axisLength, 0.34321 / axisLength, 0.5736 / axisLength};
    const double uLength = std::hypot(n[1], n[0]);
    const std::array<double, 3> u{-n[1] / uLength, n[0] / uLength, 0.0};
    const std::array<double, 3> v{n[1] * u[2] - n[2] * u[1], n[2] * u[0] - n[0] * u[2],
                                  n[0] * u[1] - n[1] * u[0]};
    Mesh grid;
    for (std::size_t r = 0; r < rows; ++r)
        for (std::size_t c = 0; c < columns; ++c) {
            const double a = 0.01 * static_cast<double>(c) + offset;
            const double b = 0.01 * static_cast<double>(r);
            grid.vertices.push_back({static_cast<float>(a * u[0] + b * v[0]),
                                     static_cast<float>(a * u[1] + b * v[1]),
                                     static_cast<float>(a * u[2] + b * v[2])});
        }
    for (std::size_t r = 0; r + 1 < rows && grid.faces.size() < faces; ++r)
        for (std::size_t c = 0; c + 1 < columns && grid.faces.size() < faces; ++c) {
            const auto at = [&](std::size_t rr, std::size_t cc) {
                return static_cast<std::uint16_t>(rr * columns + cc);
            };
            grid.faces.push_back({at(r, c), at(r, c + 1), at(r + 1, c + 1)});
            if (grid.faces.size() < faces)
                grid.faces.push_back({at(r, c), at(r + 1, c + 1), at(r + 1, c)});
        }
    // Neighbouring faces in different groups: no look-up of a corner serves another.
    if (smoothingGroups)
        for (std::size_t f = 0; f < grid.faces.size(); ++f)
            grid.smoothingGroups.push_back(1u << (f % 32));
    return grid;
}

std::vector<std::uint8_t> tiltedGridModel(bool smoothingGroups)
{
    constexpr std::size_t columns = 255, rows = 257, count = columns * rows;  // 65,535
    std::vector<Mesh> grids;
    for (std::size_t g = 0; g < 2; ++g) {
        grids.push_back(
            tiltedGridMesh(columns, rows, count, 3.0 * static_cast<double>(g), smoothingGroups));
        grids.back().name = numbered('g', g);
    }
    return encodeThreeDs(grids, {});
}

}  // namespace pw
