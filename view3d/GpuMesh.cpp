#include "GpuMesh.h"

#include <algorithm>

namespace pw {

namespace {

// The instance attributes (four vectors: three rows and the colour) read from instance `first`
// on; instanced draws of OpenGL 3.3 always start at instance 0.
void pointInstancesAt(QOpenGLExtraFunctions& gl, int first)
{
    const std::size_t base = static_cast<std::size_t>(first) * sizeof(Instance3d);
    for (int k = 0; k < 4; ++k)
        gl.glVertexAttribPointer(2 + k, 4, GL_FLOAT, GL_FALSE, sizeof(Instance3d),
                                 reinterpret_cast<const void*>(base + k * 4 * sizeof(float)));
}

// Vertex attributes 0 and 1 of `floats` to a vertex: x, y, z, then r, g, b, a.
void pointColouredVertices(QOpenGLExtraFunctions& gl, int floats)
{
    const int stride = floats * static_cast<int>(sizeof(float));
    gl.glEnableVertexAttribArray(0);
    gl.glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, nullptr);
    gl.glEnableVertexAttribArray(1);
    gl.glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, stride,
                             reinterpret_cast<const void*>(3 * sizeof(float)));
}

}  // namespace

GpuMesh makeGpuMesh(QOpenGLExtraFunctions& gl, const ModelMesh& source, int instanceCapacity)
{
    GpuMesh mesh;
    gl.glGenVertexArrays(1, &mesh.vao);
    gl.glGenBuffers(1, &mesh.vertices);
    gl.glGenBuffers(1, &mesh.indices);
    gl.glGenBuffers(1, &mesh.instances);
    gl.glBindVertexArray(mesh.vao);

    std::vector<float> interleaved;
    interleaved.reserve(source.positions.size() * 6);
    for (std::size_t i = 0; i < source.positions.size(); ++i) {
        const Vector3 p = source.positions[i], n = source.normals[i];
        interleaved.insert(interleaved.end(), {p.x, p.y, p.z, n.x, n.y, n.z});
    }
    gl.glBindBuffer(GL_ARRAY_BUFFER, mesh.vertices);
    gl.glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(interleaved.size() * sizeof(float)),
                    interleaved.data(), GL_STATIC_DRAW);
    gl.glEnableVertexAttribArray(0);
    gl.glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 6 * sizeof(float), nullptr);
    gl.glEnableVertexAttribArray(1);
    gl.glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, 6 * sizeof(float),
                             reinterpret_cast<const void*>(3 * sizeof(float)));
    gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indices);
    gl.glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                    static_cast<GLsizeiptr>(source.indices.size() * sizeof(std::uint32_t)),
                    source.indices.data(), GL_STATIC_DRAW);
    mesh.indexCount = static_cast<int>(source.indices.size());

    gl.glBindBuffer(GL_ARRAY_BUFFER, mesh.instances);
    gl.glBufferData(GL_ARRAY_BUFFER,
                    static_cast<GLsizeiptr>(std::max(instanceCapacity, 1) * sizeof(Instance3d)),
                    nullptr, GL_DYNAMIC_DRAW);
    for (int k = 0; k < 4; ++k) {
        gl.glEnableVertexAttribArray(2 + k);
        gl.glVertexAttribDivisor(2 + k, 1);
    }
    pointInstancesAt(gl, 0);
    gl.glBindVertexArray(0);
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
    return mesh;
}

void release(QOpenGLExtraFunctions& gl, GpuMesh& mesh)
{
    gl.glDeleteVertexArrays(1, &mesh.vao);
    const unsigned buffers[3] = {mesh.vertices, mesh.indices, mesh.instances};
    gl.glDeleteBuffers(3, buffers);
    mesh = {};
}

void drawInstanced(QOpenGLExtraFunctions& gl, const GpuMesh& mesh,
                   const std::vector<Instance3d>& instances)
{
    if (instances.empty() || mesh.indexCount == 0)
        return;
    gl.glBindBuffer(GL_ARRAY_BUFFER, mesh.instances);
    gl.glBufferSubData(GL_ARRAY_BUFFER, 0,
                       static_cast<GLsizeiptr>(instances.size() * sizeof(Instance3d)),
                       instances.data());
    gl.glBindVertexArray(mesh.vao);
    gl.glDrawElementsInstanced(GL_TRIANGLES, mesh.indexCount, GL_UNSIGNED_INT, nullptr,
                               static_cast<GLsizei>(instances.size()));
}

void uploadInstances(QOpenGLExtraFunctions& gl, const GpuMesh& mesh, int first,
                     const std::vector<Instance3d>& instances)
{
    if (instances.empty())
        return;
    gl.glBindBuffer(GL_ARRAY_BUFFER, mesh.instances);
    gl.glBufferSubData(GL_ARRAY_BUFFER,
                       static_cast<GLintptr>(static_cast<std::size_t>(first) * sizeof(Instance3d)),
                       static_cast<GLsizeiptr>(instances.size() * sizeof(Instance3d)),
                       instances.data());
}

void drawInstances(QOpenGLExtraFunctions& gl, const GpuMesh& mesh, int first, int count)
{
    if (count <= 0 || mesh.indexCount == 0)
        return;
    gl.glBindVertexArray(mesh.vao);
    gl.glBindBuffer(GL_ARRAY_BUFFER, mesh.instances);
    pointInstancesAt(gl, first);
    gl.glDrawElementsInstanced(GL_TRIANGLES, mesh.indexCount, GL_UNSIGNED_INT, nullptr, count);
}

namespace {

// A vertex array over a buffer of coloured vertices, left bound for what the kind adds.
template <class Buffer>
Buffer makeColouredVertices(QOpenGLExtraFunctions& gl)
{
    Buffer made;
    gl.glGenVertexArrays(1, &made.vao);
    gl.glGenBuffers(1, &made.buffer);
    gl.glBindVertexArray(made.vao);
    gl.glBindBuffer(GL_ARRAY_BUFFER, made.buffer);
    pointColouredVertices(gl, Buffer::floats);
    return made;
}

template <class Buffer>
void releaseVertices(QOpenGLExtraFunctions& gl, Buffer& buffer)
{
    gl.glDeleteVertexArrays(1, &buffer.vao);
    gl.glDeleteBuffers(1, &buffer.buffer);
    buffer = {};
}

}  // namespace

FlatBuffer makeFlatBuffer(QOpenGLExtraFunctions& gl)
{
    const FlatBuffer flat = makeColouredVertices<FlatBuffer>(gl);
    gl.glBindVertexArray(0);
    return flat;
}

void release(QOpenGLExtraFunctions& gl, FlatBuffer& flat) { releaseVertices(gl, flat); }

PointBuffer makePointBuffer(QOpenGLExtraFunctions& gl)
{
    const PointBuffer points = makeColouredVertices<PointBuffer>(gl);
    gl.glEnableVertexAttribArray(2);
    gl.glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, PointBuffer::floats * sizeof(float),
                             reinterpret_cast<const void*>(7 * sizeof(float)));
    gl.glBindVertexArray(0);
    return points;
}

void release(QOpenGLExtraFunctions& gl, PointBuffer& points) { releaseVertices(gl, points); }

}  // namespace pw
