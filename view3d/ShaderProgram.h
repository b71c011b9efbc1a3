#pragma once
// The renderer's shader programs, built from the GLSL sources kept as Qt resources under
// :/view3d/shaders/.

#include "tracklib/Result.h"

#include <QOpenGLExtraFunctions>

namespace pw {

// Compiles the shaders named (file names in the resources, as "mesh.vert") and links them into
// a program, or says which one failed and the driver's words for why.
Result<unsigned> buildProgram(QOpenGLExtraFunctions& gl, const char* vertexShader,
                              const char* fragmentShader);

}  // namespace pw
