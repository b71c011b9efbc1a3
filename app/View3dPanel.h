#pragma once
// The plan window's "3D" view: the OpenGL view where a context that runs it can be made;
// otherwise, once it is first shown, one line that says why, while the window and its other
// views go on as before. The view is made, hidden, before its window is first shown: a window
// made without an OpenGL view in it is made anew, under another native window, when one comes.
// It keeps its camera while the window shows another view, and fits the next track loaded.

#include "view3d/Scene3d.h"

#include <QPoint>
#include <QWidget>

#include <memory>

class QLabel;
class QStackedLayout;
class View3dWidget;

class View3dPanel : public QWidget {
    Q_OBJECT

public:
    explicit View3dPanel(QWidget* parent = nullptr);

    // Makes the OpenGL view, hidden, if it is not made yet and OpenGL allows it.
    void prepare();
    // Shows the OpenGL view, or why there is none.
    void activate();
    void setScene(std::shared_ptr<const pw::Scene3d> scene);
    // The next scene is another track's: the camera fits it.
    void newTrack() { fitNext_ = true; }
    // Null until activated, and where OpenGL cannot run the view.
    View3dWidget* view() const { return view_; }
    // Why there is no 3D view; empty while there is one or it was not tried yet.
    QString message() const;

Q_SIGNALS:
    // The view had not enough memory for the scene's buffers and draws nothing of it.
    void sceneDropped();
    // The view's picks, menu requests and keys for a support (View3dWidget's signals).
    void pointPicked(QPoint position);
    void menuRequested(QPoint position, QPoint globalPosition);
    void keyForPick(int key);

private:
    void showProblem(const QString& reason);

    QStackedLayout* stack_;
    QLabel* message_;
    View3dWidget* view_ = nullptr;
    bool tried_ = false;
    bool fitNext_ = true;
    std::shared_ptr<const pw::Scene3d> scene_;
};
