#pragma once
// The 3D view rendered without a window, into a framebuffer object of its own context: for the
// command line, the tests and the benchmarks. Where no OpenGL 3.3 context can be made (no
// display for the platform, an old driver), none starts, and the error says why.

#include "OrbitCamera.h"
#include "SceneRenderer.h"
#include "tracklib/Result.h"

#include <QImage>
#include <QSurfaceFormat>

#include <memory>
#include <optional>

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

namespace pw {

// What the 3D view asks of OpenGL: 3.3, core profile, a depth buffer.
QSurfaceFormat view3dSurfaceFormat();

class OffscreenRenderer {
public:
    // Makes the context and compiles the shaders; the drawing path is `path` where given, else
    // chosen as SceneRenderer::initialize chooses it.
    static Result<std::unique_ptr<OffscreenRenderer>> start(
        std::optional<DrawingPath> path = std::nullopt);
    ~OffscreenRenderer();
    OffscreenRenderer(const OffscreenRenderer&) = delete;
    OffscreenRenderer& operator=(const OffscreenRenderer&) = delete;

    // Fails where the context cannot be made current or memory runs out for the scene's
    // buffers; nothing of the scene is drawn then.
    Result<void> setScene(std::shared_ptr<const Scene3d> scene);
    void setHighlight(Pick3d pick);
    // Draws a frame and waits until the driver has finished it.
    void renderFrame(const OrbitCamera& camera, QSize size);
    // A frame as a picture; a null image when the context cannot be made current.
    QImage render(const OrbitCamera& camera, QSize size);
    const FrameCounts& lastFrame() const { return renderer_.lastFrame(); }
    DrawingPath path() const { return renderer_.path(); }

private:
    OffscreenRenderer() = default;
    Result<void> initialize(std::optional<DrawingPath> path);
    bool makeCurrent();

    std::unique_ptr<QOpenGLContext> context_;
    std::unique_ptr<QOffscreenSurface> surface_;
    std::unique_ptr<QOpenGLFramebufferObject> framebuffer_;
    SceneRenderer renderer_;
};

// The whole scene from the default camera, as `plan --3d` writes it.
Result<QImage> renderScene3d(std::shared_ptr<const Scene3d> scene, QSize size);

}  // namespace pw
