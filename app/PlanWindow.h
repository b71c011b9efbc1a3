#pragma once
// The plan window beside the main window: the track, its supports and every footer, drawn from
// above or from the front, with its summary below. It never takes the keyboard focus.

#include "plan/PlanScene.h"

#include <QMainWindow>
#include <QMargins>
#include <QPointer>

class PlanCanvas;
class QAction;
class QStackedWidget;
class QTextEdit;
class View3dPanel;

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
    bool legendShown() const;
    void setLegendShown(bool shown);
    void setScene(pw::PlanScene scene, bool fit);
    // One line a part; long names wrap, and the area grows with its text up to a third of the
    // window, scrolling beyond.
    void setSummary(const QString& text);
    QString summary() const;
    // Shows the window beside `mainWindow` the first time (planWindowPlacement), later where the
    // user left it; on screen either way.
    void showBeside(QWidget& mainWindow);
    // As showBeside, and in front of every window, the main window included.
    void bringToFront(QWidget& mainWindow);
    // Where the user left the window in an earlier run (from saveGeometry); showBeside then
    // keeps it there. False for an unusable one.
    bool restorePlace(const QByteArray& geometry);
    bool placed() const { return placed_; }
    void setVisible(bool visible) override;

Q_SIGNALS:
    void viewChanged(pw::PlanView view);
    void legendToggled(bool shown);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows the view whose action is checked, and says so.
    void showCheckedView();
    // Places the window's frame beside the main window's, with `frame` margins around its
    // contents. True when it lies behind the main window (no side had room).
    bool placeBeside(QWidget& mainWindow, const QMargins& frame);
    // Moves and narrows the frame into the screen it is on, where it reaches past an edge.
    void keepOnScreen();
    void fitSummaryHeight();

    PlanCanvas* canvas_;
    View3dPanel* view3d_;
    QStackedWidget* views_;
    QTextEdit* summary_;
    QAction* topView_;
    QAction* sideView_;
    QAction* threeDView_;
    QAction* legend_;
    bool placed_ = false;
    // Placed beside this window with a guess at the frame the window system draws; the real
    // frame is known once the window is exposed, and the place is worked out again with it.
    QPointer<QWidget> placedBeside_;
    QMargins guessedFrame_;
};
