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

OffscreenRenderer::OffscreenRenderer()
{
    if (qGuiApp == nullptr) {
        problem_ = QStringLiteral("OpenGL needs a graphical application");
        return;
    }
    context_ = std::make_unique<QOpenGLContext>();
    context_->setFormat(view3dSurfaceFormat());
    if (!context_->create()) {
        problem_ = QStringLiteral("no OpenGL context can be made on the \"%1\" platform%2")
                       .arg(QGuiApplication::platformName(),
                            QGuiApplication::platformName() == QLatin1String("offscreen") &&
                                    qEnvironmentVariableIsEmpty("DISPLAY")
                                ? QStringLiteral(" without an X display (DISPLAY is not set)")
                                : QString());
        return;
    }
    surface_ = std::make_unique<QOffscreenSurface>();
    surface_->setFormat(context_->format());
    surface_->create();
    if (!makeCurrent()) {
        problem_ = QStringLiteral("the OpenGL context cannot draw without a window here");
        return;
    }
    problem_ = renderer_.initialize();
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

void OffscreenRenderer::setScene(std::shared_ptr<const Scene3d> scene)
{
    if (usable() && makeCurrent())
        renderer_.setScene(std::move(scene));
}

void OffscreenRenderer::setHighlight(Pick3d pick) { renderer_.setHighlight(pick); }

void OffscreenRenderer::renderFrame(const OrbitCamera& camera, QSize size)
{
    if (!usable() || !makeCurrent())
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
    if (!usable())
        return {};
    renderFrame(camera, size);
    return framebuffer_ ? framebuffer_->toImage().convertToFormat(QImage::Format_RGB32) : QImage();
}

QImage renderScene3d(std::shared_ptr<const Scene3d> scene, QSize size, QString& problem)
{
    OffscreenRenderer renderer;
    if (!renderer.usable()) {
        problem = renderer.problem();
        return {};
    }
    OrbitCamera camera;
    if (!scene->bounds.empty)
        camera.fit(scene->bounds.minimum, scene->bounds.maximum, size);
    renderer.setScene(std::move(scene));
    QImage picture = renderer.render(camera, size);
    if (picture.isNull())
        problem = QStringLiteral("the frame could not be read back from OpenGL");
    return picture;
}

}  // namespace pw
