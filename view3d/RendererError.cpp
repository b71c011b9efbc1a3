#include "RendererError.h"

namespace pw {

namespace {

std::string reason(const CoreError& error)
{
    switch (error.code.as<RendererError>()) {
    case RendererError::NeedsGuiApplication: return "OpenGL needs a graphical application";
    case RendererError::NoContext:
        return "no OpenGL context can be made on the \"" + error.detail + "\" platform";
    case RendererError::NoContextWithoutDisplay:
        return "no OpenGL context can be made on the \"" + error.detail +
               "\" platform without an X display (DISPLAY is not set)";
    case RendererError::NoWindowlessDrawing:
        return "the OpenGL context cannot draw without a window here";
    case RendererError::NoCurrentContext: return "no OpenGL context is current";
    case RendererError::OpenGlTooOld:
        return "OpenGL 3.3 is needed; this driver offers " + error.detail;
    case RendererError::ShaderMissing:
        return "the shader " + error.path.string() + " is missing from the program";
    case RendererError::ShaderNotCompiled:
        return "the shader " + error.path.string() + " does not compile: " + error.detail;
    case RendererError::ShadersNotLinked:
        return "the shaders " + error.path.string() + " and " + error.otherPath.string() +
               " do not link: " + error.detail;
    case RendererError::FrameNotReadBack: return "the frame could not be read back from OpenGL";
    }
    return detailOr(error, "failed");
}

std::string text(const CoreError& error) { return "no 3D view: " + errorReason(error); }

constexpr ErrorRoom renderer{text, reason};

}  // namespace

const ErrorRoom& errorRoom(RendererError) { return renderer; }

}  // namespace pw
