#include "HostileModels.h"

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
    // A strip of triangles: faces + 2 vertices.
    Mesh strip;
    for (std::size_t i = 0; i < faces + 2; ++i)
        strip.vertices.push_back(
            {static_cast<float>(i / 2) * 0.001f, static_cast<float>(i % 2), 0.0f});
    for (std::size_t i = 0; i < faces; ++i)
        strip.faces.push_back({static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i + 1),
                               static_cast<std::uint16_t>(i + 2)});
    std::vector<Mesh> all(meshes, strip);
    for (std::size_t m = 0; m < meshes; ++m)
        all[m].name = numbered('m', m);
    return encodeThreeDs(all, {});
}

}  // namespace pw
