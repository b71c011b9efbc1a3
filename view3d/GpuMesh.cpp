#include "GpuMesh.h"

#include <algorithm>

namespace pw {

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
        gl.glVertexAttribPointer(2 + k, 4, GL_FLOAT, GL_FALSE, sizeof(Instance3d),
                                 reinterpret_cast<const void*>(k * 4 * sizeof(float)));
        gl.glVertexAttribDivisor(2 + k, 1);
    }
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

FlatBuffer makeFlatBuffer(QOpenGLExtraFunctions& gl)
{
    FlatBuffer flat;
    constexpr int stride = FlatBuffer::floats * sizeof(float);
    gl.glGenVertexArrays(1, &flat.vao);
    gl.glGenBuffers(1, &flat.buffer);
    gl.glBindVertexArray(flat.vao);
    gl.glBindBuffer(GL_ARRAY_BUFFER, flat.buffer);
    gl.glEnableVertexAttribArray(0);
    gl.glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, nullptr);
    gl.glEnableVertexAttribArray(1);
    gl.glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, stride,
                             reinterpret_cast<const void*>(3 * sizeof(float)));
    gl.glBindVertexArray(0);
    return flat;
}

void release(QOpenGLExtraFunctions& gl, FlatBuffer& flat)
{
    gl.glDeleteVertexArrays(1, &flat.vao);
    gl.glDeleteBuffers(1, &flat.buffer);
    flat = {};
}

}  // namespace pw
