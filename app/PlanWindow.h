#pragma once
// The plan window beside the main window: the track, its supports and every footer, drawn from
// above or from the front, with a summary line at the bottom. It never takes the keyboard focus.

#include "plan/PlanScene.h"

#include <QMainWindow>

class PlanCanvas;
class QAction;
class QLabel;
class QStackedWidget;
class View3dPanel;

// Where the plan window opens: right of the main window's frame, as tall as it, narrowed to the
// room left on the screen, and over the main window's right part only where no room is left.
QRect planWindowGeometry(const QRect& mainFrame, const QRect& screenArea);

class PlanWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit PlanWindow(QWidget* parent = nullptr);

    PlanCanvas* canvas() const { return canvas_; }
    View3dPanel* view3d() const { return view3d_; }
    // The plan's view; from above while the 3D view shows.
    pw::PlanView view() const;
    bool threeDShown() const;
    void setView(pw::PlanView view);
    // Shows the 3D view, as its button does.
    void showThreeD();
    void setScene(pw::PlanScene scene, bool fit);
    void setSummary(const QString& text);
    QString summary() const;
    // Shows the window to the right of `mainWindow`, as tall as it, the first time; later only
    // shows it again where the user left it.
    void showBeside(const QWidget& mainWindow);
    // Where the user left the window in an earlier run (from saveGeometry); showBeside then
    // keeps it there. False for an unusable one.
    bool restorePlace(const QByteArray& geometry);
    bool placed() const { return placed_; }
    void setVisible(bool visible) override;

Q_SIGNALS:
    void viewChanged(pw::PlanView view);

private:
    // Shows the view whose action is checked, and says so.
    void showCheckedView();
    PlanCanvas* canvas_;
    View3dPanel* view3d_;
    QStackedWidget* views_;
    QLabel* summary_;
    QAction* topView_;
    QAction* sideView_;
    QAction* threeDView_;
    bool placed_ = false;
};
