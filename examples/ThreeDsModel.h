#pragma once
// A triangle mesh and its encoding as a 3ds file: a little-endian chunk tree, each chunk a
// uint16 id and a uint32 length that counts its own 6-byte header.

#include "tracklib/Track.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pw {

// The chunk ids a mesh needs, nested in this order: main, version and editor; in the editor the
// mesh version and an object; in the object a triangle mesh with its vertex and face lists.
enum ChunkId : std::uint16_t {
    chunkMain = 0x4D4D,
    chunkVersion = 0x0002,
    chunkEditor = 0x3D3D,
    chunkMeshVersion = 0x3D3E,
    chunkObject = 0x4000,
    chunkTriangleMesh = 0x4100,
    chunkVertexList = 0x4110,
    chunkFaceList = 0x4120,
    chunkSmoothingGroups = 0x4150,
    chunkKeyframer = 0xB000,
    chunkObjectNode = 0xB002,
    chunkNodeHeader = 0xB010
};
inline constexpr std::size_t chunkHeaderSize = 6;

struct MeshFace {
    std::uint16_t a = 0;
    std::uint16_t b = 0;
    std::uint16_t c = 0;
};

struct Mesh {
    std::string name;  // the object's name; 3ds readers expect at most 10 characters
    std::vector<Float3> vertices;
    std::vector<MeshFace> faces;  // counter-clockwise seen from outside
    // One bit set per group a face belongs to, one entry per face; none gives faceted faces.
    std::vector<std::uint32_t> smoothingGroups;
};

// A square frustum standing on z = bottom: the usual plinth under a support column. 3ds
// modellers put z up. Equal widths give a plain box.
Mesh plinthMesh(const std::string& name, float baseWidth, float topWidth, float bottom,
                float height);

// An object node of the keyframer: the name of the mesh it places and its parent, by the
// position of the parent among the nodes (-1 for none).
struct KeyframerNode {
    std::string name;
    std::int16_t parent = -1;
};

// The whole file. The mesh must have fewer than 65536 vertices and faces.
std::vector<std::uint8_t> encodeThreeDs(const Mesh& mesh);
// Several meshes, then a keyframer with the nodes when there are any.
std::vector<std::uint8_t> encodeThreeDs(const std::vector<Mesh>& meshes,
                                        const std::vector<KeyframerNode>& nodes);

}  // namespace pw
