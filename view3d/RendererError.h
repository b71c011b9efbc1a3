#pragma once
// Why the 3D view cannot start: no OpenGL 3.3 context to be had, or shaders it cannot run.

#include "tracklib/CoreError.h"

namespace pw {

enum class RendererError {
    NeedsGuiApplication,
    NoContext,                // detail: the platform's name
    NoContextWithoutDisplay,  // detail: the platform's name
    NoWindowlessDrawing,
    NoCurrentContext,
    OpenGlTooOld,       // detail: what the driver offers, e.g. "OpenGL ES 3.0"
    ShaderMissing,      // path: the shader's name in the resources
    ShaderNotCompiled,  // path: the shader's name; detail: the driver's log
    ShadersNotLinked,   // path, otherPath: the shaders' names; detail: the driver's log
    FrameNotReadBack,
};

const ErrorRoom& errorRoom(RendererError code);

}  // namespace pw
