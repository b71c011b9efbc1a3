#include "OffscreenRenderer.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

namespace pw {

QSurfaceFormat view3dSurfaceFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    return format;
}

Result<std::unique_ptr<OffscreenRenderer>> OffscreenRenderer::start(std::optional<DrawingPath> path)
{
    std::unique_ptr<OffscreenRenderer> renderer(new OffscreenRenderer);
    if (Result<void> started = renderer->initialize(path); !started)
        return started.error();
    return renderer;
}

Result<void> OffscreenRenderer::initialize(std::optional<DrawingPath> path)
{
    if (qGuiApp == nullptr)
        return CoreError(RendererError::NeedsGuiApplication);
    context_ = std::make_unique<QOpenGLContext>();
    context_->setFormat(view3dSurfaceFormat());
    if (!context_->create()) {
        const QString platform = QGuiApplication::platformName();
        const bool withoutDisplay =
            platform == QLatin1String("offscreen") && qEnvironmentVariableIsEmpty("DISPLAY");
        return CoreError(
            withoutDisplay ? RendererError::NoContextWithoutDisplay : RendererError::NoContext, {},
            {}, {}, 0, platform.toStdString());
    }
    surface_ = std::make_unique<QOffscreenSurface>();
    surface_->setFormat(context_->format());
    surface_->create();
    if (!makeCurrent())
        return CoreError(RendererError::NoWindowlessDrawing);
    return renderer_.initialize(path);
}

OffscreenRenderer::~OffscreenRenderer()
{
    if (context_ && makeCurrent()) {
        renderer_.destroy();
        framebuffer_.reset();
        context_->doneCurrent();
    }
}

bool OffscreenRenderer::makeCurrent()
{
    return surface_ && surface_->isValid() && context_->makeCurrent(surface_.get());
}

Result<void> OffscreenRenderer::setScene(std::shared_ptr<const Scene3d> scene)
{
    if (!makeCurrent())
        return CoreError(RendererError::NoWindowlessDrawing);
    return renderer_.setScene(std::move(scene));
}

void OffscreenRenderer::setHighlight(Pick3d pick) { renderer_.setHighlight(pick); }

void OffscreenRenderer::renderFrame(const OrbitCamera& camera, QSize size)
{
    if (!makeCurrent())
        return;
    if (!framebuffer_ || framebuffer_->size() != size)
        framebuffer_ = std::make_unique<QOpenGLFramebufferObject>(
            size, QOpenGLFramebufferObject::CombinedDepthStencil);
    framebuffer_->bind();
    renderer_.render(camera, size);
    context_->functions()->glFinish();
}

QImage OffscreenRenderer::render(const OrbitCamera& camera, QSize size)
{
    renderFrame(camera, size);
    return framebuffer_ ? framebuffer_->toImage().convertToFormat(QImage::Format_RGB32) : QImage();
}

Result<QImage> renderScene3d(std::shared_ptr<const Scene3d> scene, QSize size)
{
    const Result<std::unique_ptr<OffscreenRenderer>> renderer = OffscreenRenderer::start();
    if (!renderer)
        return renderer.error();
    OrbitCamera camera;
    if (!scene->bounds.empty)
        camera.fit(scene->bounds.minimum, scene->bounds.maximum, size);
    if (Result<void> shown = (*renderer)->setScene(std::move(scene)); !shown)
        return shown.error();
    QImage picture = (*renderer)->render(camera, size);
    if (picture.isNull())
        return CoreError(RendererError::FrameNotReadBack);
    return picture;
}

}  // namespace pw
