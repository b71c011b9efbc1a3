#pragma once
// The 3D view's drawing area: renders a Scene3d with OpenGL and moves its camera. Left drag
// orbits about the pivot; right or middle drag, or Shift with left drag, pans; the wheel zooms
// towards the pointer; double-click or Home fits the whole track; arrow keys orbit. A click picks
// the footer or tube under the pointer, highlights it and shows the plan's tooltip text for it;
// a right click without a drag asks for the context menu there. It takes the keyboard only when
// clicked, and hands on the keys it has no use for.

#include "FrameTiming.h"

#include "view3d/OrbitCamera.h"
#include "view3d/Picking3d.h"
#include "view3d/Scene3d.h"
#include "view3d/SceneRenderer.h"

#include <QOpenGLWidget>
#include <QPoint>

#include <memory>

class View3dWidget : public QOpenGLWidget {
    Q_OBJECT

public:
    explicit View3dWidget(QWidget* parent = nullptr);
    ~View3dWidget() override;

    // Keeps the camera unless `fit` is set or no scene was shown before.
    void setScene(std::shared_ptr<const pw::Scene3d> scene, bool fit);
    const pw::Scene3d* scene() const { return scene_.get(); }
    const pw::OrbitCamera& camera() const { return camera_; }
    void fitToView();
    // Picks at a point of the widget, highlights what was found and returns its text (empty for
    // nothing), as a click does.
    QString pickAt(QPoint position);
    const pw::Pick3d& picked() const { return picked_; }
    const FrameTiming& frameTiming() const { return timing_; }

Q_SIGNALS:
    // The context cannot run the view; `reason` in a few words.
    void unavailable(const QString& reason);
    // Memory ran out for the scene's buffers: the view draws nothing until the next scene.
    void sceneDropped();
    // A left click at a point of the widget.
    void pointPicked(QPoint position);
    // The context menu at a point of the widget, to be shown at `globalPosition`.
    void menuRequested(QPoint position, QPoint globalPosition);
    // A key the view has no use for itself, for the picked support.
    void keyForPick(int key);

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int width, int height) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

private:
    void releaseGl();

    pw::SceneRenderer renderer_;
    QMetaObject::Connection contextGone_;
    pw::OrbitCamera camera_;
    std::shared_ptr<const pw::Scene3d> scene_;
    bool sceneUploaded_ = false;
    bool fitPending_ = true;
    bool followsSize_ = false;  // fitted, and fitted again on a resize until the camera moves
    pw::Pick3d picked_;
    Qt::MouseButton dragButton_ = Qt::NoButton;
    bool panning_ = false;
    bool dragged_ = false;
    QPoint pressPosition_;
    QPoint lastPosition_;
    FrameTiming timing_{QStringLiteral("3D")};
};
