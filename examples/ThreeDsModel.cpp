#include "ThreeDsModel.h"

#include <bit>
#include <cassert>

namespace pw {

namespace {

void appendUint16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void appendUint32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

void appendFloat(std::vector<std::uint8_t>& out, float value)
{
    appendUint32(out, std::bit_cast<std::uint32_t>(value));
}

std::vector<std::uint8_t> chunk(std::uint16_t id, const std::vector<std::uint8_t>& body)
{
    std::vector<std::uint8_t> out;
    out.reserve(chunkHeaderSize + body.size());
    appendUint16(out, id);
    appendUint32(out, static_cast<std::uint32_t>(chunkHeaderSize + body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::vector<std::uint8_t> concat(std::initializer_list<std::vector<std::uint8_t>> parts)
{
    std::vector<std::uint8_t> out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

std::vector<std::uint8_t> uint32Body(std::uint32_t value)
{
    std::vector<std::uint8_t> body;
    appendUint32(body, value);
    return body;
}

// A list's count (u16), then each element as `append` writes it.
template <class Element, class Append>
std::vector<std::uint8_t> countedList(const std::vector<Element>& elements, Append append)
{
    std::vector<std::uint8_t> body;
    appendUint16(body, static_cast<std::uint16_t>(elements.size()));
    for (const Element& element : elements)
        append(body, element);
    return body;
}

std::vector<std::uint8_t> vertexList(const std::vector<Float3>& vertices)
{
    return chunk(chunkVertexList,
                 countedList(vertices, [](std::vector<std::uint8_t>& body, const Float3& v) {
                     for (const float coordinate : {v.x, v.y, v.z})
                         appendFloat(body, coordinate);
                 }));
}

std::vector<std::uint8_t> faceList(const std::vector<MeshFace>& faces,
                                   const std::vector<std::uint32_t>& smoothingGroups)
{
    // All three edges visible, as modellers write closed meshes.
    constexpr std::uint16_t edgesVisible = 0x0007;
    std::vector<std::uint8_t> body =
        countedList(faces, [](std::vector<std::uint8_t>& out, const MeshFace& f) {
            for (const std::uint16_t word : {f.a, f.b, f.c, edgesVisible})
                appendUint16(out, word);
        });
    if (!smoothingGroups.empty()) {
        std::vector<std::uint8_t> groups;
        for (const std::uint32_t group : smoothingGroups)
            appendUint32(groups, group);
        const auto groupChunk = chunk(chunkSmoothingGroups, groups);
        body.insert(body.end(), groupChunk.begin(), groupChunk.end());
    }
    return chunk(chunkFaceList, body);
}

}  // namespace

Mesh plinthMesh(const std::string& name, float baseWidth, float topWidth, float bottom,
                float height)
{
    const float b = baseWidth / 2.0f;
    const float t = topWidth / 2.0f;
    const float top = bottom + height;
    Mesh mesh;
    mesh.name = name;
    // 0-3 the base, 4-7 the top, both anticlockwise seen from above (+z).
    mesh.vertices = {{-b, -b, bottom}, {b, -b, bottom}, {b, b, bottom}, {-b, b, bottom},
                     {-t, -t, top},    {t, -t, top},    {t, t, top},    {-t, t, top}};
    mesh.faces = {
        {0, 2, 1}, {0, 3, 2},  // base, facing down
        {4, 5, 6}, {4, 6, 7},  // top, facing up
        {0, 1, 5}, {0, 5, 4},  // -y side
        {1, 2, 6}, {1, 6, 5},  // +x side
        {2, 3, 7}, {2, 7, 6},  // +y side
        {3, 0, 4}, {3, 4, 7},  // -x side
    };
    return mesh;
}

std::vector<std::uint8_t> encodeThreeDs(const Mesh& mesh)
{
    return encodeThreeDs(std::vector<Mesh>{mesh}, {});
}

std::vector<std::uint8_t> encodeThreeDs(const std::vector<Mesh>& meshes,
                                        const std::vector<KeyframerNode>& nodes)
{
    constexpr std::uint32_t formatVersion = 3;
    std::vector<std::uint8_t> editorBody = chunk(chunkMeshVersion, uint32Body(formatVersion));
    for (const Mesh& mesh : meshes) {
        assert(mesh.vertices.size() < 0x10000 && mesh.faces.size() < 0x10000);
        assert(mesh.smoothingGroups.empty() || mesh.smoothingGroups.size() == mesh.faces.size());
        std::vector<std::uint8_t> name(mesh.name.begin(), mesh.name.end());
        name.push_back(0);
        const auto triangleMesh =
            chunk(chunkTriangleMesh,
                  concat({vertexList(mesh.vertices), faceList(mesh.faces, mesh.smoothingGroups)}));
        const auto object = chunk(chunkObject, concat({name, triangleMesh}));
        editorBody.insert(editorBody.end(), object.begin(), object.end());
    }
    std::vector<std::uint8_t> mainBody =
        concat({chunk(chunkVersion, uint32Body(formatVersion)), chunk(chunkEditor, editorBody)});
    if (!nodes.empty()) {
        std::vector<std::uint8_t> keyframer;
        for (const KeyframerNode& node : nodes) {
            std::vector<std::uint8_t> header(node.name.begin(), node.name.end());
            header.push_back(0);
            appendUint32(header, 0);  // two flag words
            appendUint16(header, static_cast<std::uint16_t>(node.parent));
            const auto objectNode = chunk(chunkObjectNode, chunk(chunkNodeHeader, header));
            keyframer.insert(keyframer.end(), objectNode.begin(), objectNode.end());
        }
        const auto keyframerChunk = chunk(chunkKeyframer, keyframer);
        mainBody.insert(mainBody.end(), keyframerChunk.begin(), keyframerChunk.end());
    }
    return chunk(chunkMain, mainBody);
}

}  // namespace pw
