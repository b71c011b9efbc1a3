#include "View3dWidget.h"

#include "ToolTipText.h"

#include "view3d/OffscreenRenderer.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QHelpEvent>
#include <QWheelEvent>

#include <cmath>
#include <utility>

namespace {

constexpr float degreesPerPixel = 0.4f;
constexpr float degreesPerKey = 5.0f;
constexpr float zoomPerNotch = 1.25f;
// A press and release closer than this is a click, not a drag.
constexpr int clickSlackPixels = 3;

}  // namespace

View3dWidget::View3dWidget(QWidget* parent) : QOpenGLWidget(parent)
{
    setObjectName(QStringLiteral("view3d"));
    setFormat(pw::view3dSurfaceFormat());
    setFocusPolicy(Qt::ClickFocus);
    setMinimumSize(200, 150);
    // The frame is on screen once swapped; the paint alone is only its first part.
    connect(this, &QOpenGLWidget::frameSwapped, this, [this] { timing_.frameEnded(); });
}

View3dWidget::~View3dWidget()
{
    // QOpenGLWidget destroys the context after this destructor: no call may come back here.
    disconnect(contextGone_);
    releaseGl();
}

void View3dWidget::releaseGl()
{
    if (!renderer_.initialized() || context() == nullptr)
        return;
    makeCurrent();
    renderer_.destroy();
    doneCurrent();
}

void View3dWidget::setScene(std::shared_ptr<const pw::Scene3d> scene, bool fit)
{
    const bool first = scene_ == nullptr;
    scene_ = std::move(scene);
    sceneUploaded_ = false;
    picked_ = {};
    // Fitted when next painted, at the size the widget then has.
    if (fit || first)
        fitPending_ = true;
    update();
}

void View3dWidget::fitToView()
{
    fitPending_ = false;
    followsSize_ = true;
    if (scene_ && !scene_->bounds.empty)
        camera_.fit(scene_->bounds.minimum, scene_->bounds.maximum, size());
    update();
}

QString View3dWidget::pickAt(QPoint position)
{
    picked_ = scene_ ? pw::pick3d(*scene_, camera_, QPointF(position), size()) : pw::Pick3d{};
    renderer_.setHighlight(picked_);
    update();
    return scene_ ? pw::describePick(*scene_, picked_) : QString();
}

void View3dWidget::initializeGL()
{
    // The context goes when the widget moves to another window: its objects go with it.
    disconnect(contextGone_);
    contextGone_ =
        connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &View3dWidget::releaseGl);
    const pw::Result<void> started = renderer_.initialize();
    sceneUploaded_ = false;
    if (!started) {
        const QString problem = QString::fromStdString(pw::errorReason(started.error()));
        QMetaObject::invokeMethod(
            this, [this, problem] { Q_EMIT unavailable(problem); }, Qt::QueuedConnection);
    }
}

void View3dWidget::paintGL()
{
    timing_.frameStarted();
    if (fitPending_)
        fitToView();
    if (!sceneUploaded_ && renderer_.initialized()) {
        if (!renderer_.setScene(scene_))
            QMetaObject::invokeMethod(
                this, [this] { Q_EMIT sceneDropped(); }, Qt::QueuedConnection);
        renderer_.setHighlight(picked_);
        sceneUploaded_ = true;
    }
    renderer_.render(camera_, size() * devicePixelRatio());
}

void View3dWidget::resizeGL(int, int)
{
    if (fitPending_ || followsSize_)
        fitToView();
}

void View3dWidget::mousePressEvent(QMouseEvent* event)
{
    if (dragButton_ != Qt::NoButton)
        return;
    dragButton_ = event->button();
    panning_ = dragButton_ == Qt::RightButton || dragButton_ == Qt::MiddleButton ||
               (dragButton_ == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier));
    dragged_ = false;
    pressPosition_ = lastPosition_ = event->position().toPoint();
}

void View3dWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (dragButton_ == Qt::NoButton)
        return;
    const QPoint position = event->position().toPoint();
    if (!dragged_ && (position - pressPosition_).manhattanLength() <= clickSlackPixels)
        return;
    dragged_ = true;
    const QPoint moved = position - lastPosition_;
    lastPosition_ = position;
    followsSize_ = false;
    if (panning_)
        camera_.pan(moved, size());
    else
        camera_.orbit(-moved.x() * degreesPerPixel, moved.y() * degreesPerPixel);
    setCursor(panning_ ? Qt::ClosedHandCursor : Qt::SizeAllCursor);
    timing_.inputArrived();
    update();
}

void View3dWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != dragButton_)
        return;
    const bool clicked = !dragged_;
    const Qt::MouseButton button = std::exchange(dragButton_, Qt::NoButton);
    unsetCursor();
    if (!clicked)
        return;
    const QPoint position = event->position().toPoint();
    if (button == Qt::RightButton) {
        Q_EMIT menuRequested(position, event->globalPosition().toPoint());
        return;
    }
    if (button != Qt::LeftButton)
        return;
    showToolTipText(this, event->globalPosition().toPoint(), pickAt(position));
    Q_EMIT pointPicked(position);
}

void View3dWidget::contextMenuEvent(QContextMenuEvent* event)
{
    // The right button also pans: its menu comes on a release without a drag, not on the press.
    if (event->reason() != QContextMenuEvent::Mouse)
        Q_EMIT menuRequested(event->pos(), event->globalPos());
    event->accept();
}

void View3dWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        fitToView();
}

void View3dWidget::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0)
        return;
    const QPointF pointer = event->position();
    camera_.zoomTowards(static_cast<float>(std::pow(zoomPerNotch, notches)),
                        scene_ ? pw::zoomTarget(*scene_, camera_, pointer, size())
                               : camera_.pointAtPivotDepth(pointer, size()));
    followsSize_ = false;
    timing_.inputArrived();
    update();
    event->accept();
}

void View3dWidget::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Home:
        timing_.inputArrived();
        fitToView();
        return;
    case Qt::Key_Left: camera_.orbit(degreesPerKey, 0.0f); break;
    case Qt::Key_Right: camera_.orbit(-degreesPerKey, 0.0f); break;
    case Qt::Key_Up: camera_.orbit(0.0f, degreesPerKey); break;
    case Qt::Key_Down: camera_.orbit(0.0f, -degreesPerKey); break;
    default:
        Q_EMIT keyForPick(event->key());
        QOpenGLWidget::keyPressEvent(event);
        return;
    }
    followsSize_ = false;
    timing_.inputArrived();
    update();
}

bool View3dWidget::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        showToolTipText(
            this, help->globalPos(),
            scene_ ? pw::describePick(*scene_, pw::pick3d(*scene_, camera_, help->pos(), size()))
                   : QString());
        return true;
    }
    return QOpenGLWidget::event(event);
}
