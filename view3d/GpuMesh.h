#pragma once
// A mesh on the GPU with a buffer of per-instance placements and colours beside it, and a
// buffer of coloured vertices for lines and points. Plain records of GL names: the renderer
// that made them releases them in its context.

#include "Primitives3d.h"

#include <QOpenGLExtraFunctions>

#include <vector>

namespace pw {

struct GpuMesh {
    unsigned vao = 0;
    unsigned vertices = 0, indices = 0, instances = 0;  // buffers
    int indexCount = 0;
};

// Coloured vertices: x, y, z, r, g, b, a each.
struct FlatBuffer {
    static constexpr int floats = 7;
    unsigned vao = 0;
    unsigned buffer = 0;
};

// Points that know their size: x, y, z, r, g, b, a, then the size across in metres and the
// radius of a sphere about them.
struct PointBuffer {
    static constexpr int floats = 9;
    unsigned vao = 0;
    unsigned buffer = 0;
};

// Room for `instanceCapacity` instances (at least one).
GpuMesh makeGpuMesh(QOpenGLExtraFunctions& gl, const ModelMesh& mesh, int instanceCapacity);
void release(QOpenGLExtraFunctions& gl, GpuMesh& mesh);
// Uploads `instances` and draws the mesh at each.
void drawInstanced(QOpenGLExtraFunctions& gl, const GpuMesh& mesh,
                   const std::vector<Instance3d>& instances);

// Instances kept on the card: `instances` written from instance `first` on, and `count` of them
// drawn from `first` on.
void uploadInstances(QOpenGLExtraFunctions& gl, const GpuMesh& mesh, int first,
                     const std::vector<Instance3d>& instances);
void drawInstances(QOpenGLExtraFunctions& gl, const GpuMesh& mesh, int first, int count);

FlatBuffer makeFlatBuffer(QOpenGLExtraFunctions& gl);
void release(QOpenGLExtraFunctions& gl, FlatBuffer& buffer);
PointBuffer makePointBuffer(QOpenGLExtraFunctions& gl);
void release(QOpenGLExtraFunctions& gl, PointBuffer& buffer);

}  // namespace pw
