#pragma once
// The drawing area of the plan window: paints a plan scene, zooms with the wheel about the
// pointer, pans by dragging, fits the whole plan by double-click or Home, and names the footer
// under the pointer in a tooltip.

#include "FrameTiming.h"

#include "plan/LegendPlacement.h"
#include "plan/PlanLayer.h"
#include "plan/PlanPainter.h"
#include "plan/PlanScene.h"

#include <QFutureWatcher>
#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QTransform>
#include <QWidget>

class PlanCanvas : public QWidget {
    Q_OBJECT

public:
    explicit PlanCanvas(QWidget* parent = nullptr);
    ~PlanCanvas() override;

    // Keeps the current zoom and pan unless `fit` is set or nothing was shown before.
    void setScene(pw::PlanScene scene, bool fit);
    // Replaces only what generate would add: the track's own drawing stays.
    void setPreview(std::vector<pw::PlanFooter> preview);
    const pw::PlanScene& scene() const { return scene_; }
    void fitToView();
    // The legend takes a side of the canvas of its own, and the plan is fitted beside it; hidden,
    // the plan takes the whole canvas.
    void setLegendShown(bool shown);
    bool legendShown() const { return legendShown_; }
    // Where the plan is fitted and the legend drawn at the canvas's size.
    pw::CanvasLayout layout() const;
    const QTransform& worldToDevice() const { return worldToDevice_; }
    // The tooltip text at a point of the widget; empty where no footer is.
    QString toolTipAt(QPoint position) const;
    // After a wheel zoom or a resize of a plan too large to paint within a frame, the kept
    // picture stands in, scaled, until the view has rested a moment; then the plan is painted
    // crisply again, in a thread of its own so that the window keeps answering. Pending after
    // every zoom; only a slow plan shows the stand-in.
    bool crispRepaintPending() const { return crispRepaint_.isActive() || painting_.isRunning(); }
    const FrameTiming& frameTiming() const { return timing_; }

Q_SIGNALS:
    // A left click at a point in the plan's plane, with how far a pick reaches there (metres).
    void pointPicked(QPointF world, double reach);
    // The context menu at a point in the plan's plane, to be shown at `globalPosition`.
    void menuRequested(QPointF world, double reach, QPoint globalPosition);
    // A key the canvas has no use for itself, for the picked support.
    void keyForPick(int key);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The point in the plan's plane under a widget position, and the pick's reach; false while
    // the view cannot be inverted.
    bool worldAt(QPoint position, QPointF& world, double& reach) const;
    void showInterim();
    void repaintCrisply();
    void startCrispPainting();
    void takeCrispPicture();

    pw::PlanScene scene_;
    pw::PlanLayer layer_;
    QTransform worldToDevice_;
    bool legendShown_ = true;
    bool fitted_ = false;  // the view follows the window's size until the user zooms or pans
    bool dragging_ = false;
    QPoint lastDragPosition_;
    QTimer crispRepaint_;
    QFutureWatcher<QImage> painting_;  // painted by a job on Qt's thread pool
    QTransform paintingTransform_;
    int sceneVersion_ = 0;  // a picture painted for an older scene is thrown away
    int paintingVersion_ = 0;
    FrameTiming timing_{QStringLiteral("plan")};
};
