#include "PlanCanvas.h"

#include "ToolTipText.h"

#include "plan/PlanHitTest.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPromise>
#include <QThreadPool>
#include <QWheelEvent>

#include <cmath>
#include <memory>
#include <optional>
#include <utility>

namespace {

constexpr double toolTipReachPixels = 4.0;
// Zoom per wheel notch (120 units of angle delta).
constexpr double zoomPerNotch = 1.25;
// Pixels per metre: beyond these, floats no longer place points apart or a track is a dot.
constexpr double smallestScale = 1e-4;
constexpr double largestScale = 1e5;
// A full view of a large plan can take most of a frame to paint, more on a busy machine: while
// wheel notches follow each other faster than this, the kept picture is scaled instead.
constexpr int crispRepaintDelayMs = 200;

}  // namespace

PlanCanvas::PlanCanvas(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("planCanvas"));
    setMouseTracking(true);
    // Home reaches the canvas once it is clicked; showing the window never takes the focus.
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
    crispRepaint_.setSingleShot(true);
    crispRepaint_.setInterval(crispRepaintDelayMs);
    connect(&crispRepaint_, &QTimer::timeout, this, &PlanCanvas::startCrispPainting);
    connect(&painting_, &QFutureWatcher<QImage>::finished, this, &PlanCanvas::takeCrispPicture);
}

PlanCanvas::~PlanCanvas()
{
    // The picture in hand is painted from copies, but it must not outlive the program.
    painting_.waitForFinished();
}

void PlanCanvas::startCrispPainting()
{
    if (!layer_.slowToPaint()) {
        update();
        return;
    }
    if (painting_.isRunning())
        return;  // its picture, when taken, starts another round if the view moved on
    paintingTransform_ = worldToDevice_;
    paintingVersion_ = sceneVersion_;
    // Qt's pool takes only copyable jobs; the promise is shared with the one job.
    auto promise = std::make_shared<QPromise<QImage>>();
    painting_.setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([promise, scene = scene_, transform = worldToDevice_,
                                          size = size(), ratio = devicePixelRatioF()] {
        promise->addResult(pw::paintWholeView(scene, transform, size, ratio));
        promise->finish();
    });
}

void PlanCanvas::takeCrispPicture()
{
    if (paintingVersion_ != sceneVersion_) {
        // The scene changed meanwhile and was painted then; a zoom since waits for a round.
        if (!crispRepaint_.isActive())
            showInterim();
        return;
    }
    QImage picture = painting_.result();
    const bool fits = picture.deviceIndependentSize() == QSizeF(size()) &&
                      picture.devicePixelRatio() == devicePixelRatioF();
    if (fits)
        layer_.adopt(std::move(picture), paintingTransform_);
    if (crispRepaint_.isActive())
        return;  // still zooming: the timer starts the next round
    if (!fits || worldToDevice_ != paintingTransform_)
        showInterim();  // the view moved on while it was painted
    else
        update();
}

void PlanCanvas::showInterim()
{
    crispRepaint_.start();
    update();
}

void PlanCanvas::repaintCrisply()
{
    crispRepaint_.stop();
    update();
}

void PlanCanvas::setScene(pw::PlanScene scene, bool fit)
{
    const bool first = scene_.bounds.isNull();
    scene_ = std::move(scene);
    ++sceneVersion_;
    layer_.invalidate();
    if (fit || first || fitted_)
        fitToView();
    repaintCrisply();
}

void PlanCanvas::setPreview(std::vector<pw::PlanFooter> preview)
{
    scene_.preview = std::move(preview);
    ++sceneVersion_;
    layer_.invalidate();
    repaintCrisply();
}

void PlanCanvas::fitToView()
{
    worldToDevice_ = pw::fitTransform(scene_.bounds, layout().drawing);
    fitted_ = true;
    update();
}

pw::CanvasLayout PlanCanvas::layout() const
{
    return pw::canvasLayout(QSizeF(size()), scene_.bounds, legendShown_);
}

void PlanCanvas::setLegendShown(bool shown)
{
    if (legendShown_ == shown)
        return;
    legendShown_ = shown;
    // The drawing takes the legend's room, or gives it back.
    if (fitted_)
        fitToView();
    update();
}

bool PlanCanvas::worldAt(QPoint position, QPointF& world, double& reach) const
{
    bool invertible = false;
    const QTransform deviceToWorld = worldToDevice_.inverted(&invertible);
    if (!invertible)
        return false;
    const double pixelsPerMetre = std::sqrt(std::abs(worldToDevice_.determinant()));
    world = deviceToWorld.map(QPointF(position));
    reach = toolTipReachPixels / pixelsPerMetre;
    return true;
}

QString PlanCanvas::toolTipAt(QPoint position) const
{
    QPointF world;
    double reach = 0.0;
    if (!worldAt(position, world, reach))
        return {};
    const pw::PlanHit hit = pw::footerAt(scene_, world, reach);
    return hit.footer != nullptr ? pw::describeFooter(*hit.footer, hit.preview) : QString();
}

void PlanCanvas::contextMenuEvent(QContextMenuEvent* event)
{
    QPointF world;
    double reach = 0.0;
    if (worldAt(event->pos(), world, reach))
        Q_EMIT menuRequested(world, reach, event->globalPos());
}

void PlanCanvas::paintEvent(QPaintEvent*)
{
    timing_.frameStarted();
    QPainter painter(this);
    const bool interim = crispRepaintPending() && layer_.slowToPaint() &&
                         layer_.drawInterim(painter, worldToDevice_, size());
    if (!interim)
        layer_.draw(painter, scene_, worldToDevice_, size(), devicePixelRatioF());
    if (const std::optional<QPointF> legend = layout().legend)
        pw::paintLegend(painter, *legend, scene_.view, !scene_.preview.empty());
    painter.end();
    timing_.frameEnded();
}

void PlanCanvas::resizeEvent(QResizeEvent*)
{
    if (fitted_)
        fitToView();
    // Each step of a drag on the window's edge would otherwise paint a large plan afresh.
    showInterim();
}

void PlanCanvas::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0)
        return;
    const double scale = std::sqrt(std::abs(worldToDevice_.determinant()));
    const double factor = std::pow(zoomPerNotch, notches);
    // No further beyond a limit; a plan fitted outside the limits still zooms back towards them.
    if ((factor > 1.0 && scale * factor > largestScale) ||
        (factor < 1.0 && scale * factor < smallestScale))
        return;
    // The world point under the pointer stays under it.
    const QPointF pointer = event->position();
    QTransform zoom;
    zoom.translate(pointer.x(), pointer.y());
    zoom.scale(factor, factor);
    zoom.translate(-pointer.x(), -pointer.y());
    worldToDevice_ *= zoom;
    fitted_ = false;
    timing_.inputArrived();
    showInterim();
    event->accept();
}

void PlanCanvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    QPointF world;
    double reach = 0.0;
    if (worldAt(event->position().toPoint(), world, reach))
        Q_EMIT pointPicked(world, reach);
    dragging_ = true;
    lastDragPosition_ = event->position().toPoint();
    setCursor(Qt::ClosedHandCursor);
}

void PlanCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    const QPoint position = event->position().toPoint();
    const QPoint moved = position - lastDragPosition_;
    lastDragPosition_ = position;
    worldToDevice_ *= QTransform::fromTranslate(moved.x(), moved.y());
    fitted_ = false;
    timing_.inputArrived();
    // A drag straight after a zoom moves the stand-in too; otherwise the kept picture shifts.
    if (crispRepaintPending())
        showInterim();
    else
        update();
}

void PlanCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = false;
    unsetCursor();
}

void PlanCanvas::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        fitToView();
}

void PlanCanvas::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Home) {
        timing_.inputArrived();
        fitToView();
        return;
    }
    Q_EMIT keyForPick(event->key());
    QWidget::keyPressEvent(event);
}

bool PlanCanvas::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        showToolTipText(this, help->globalPos(), toolTipAt(help->pos()));
        return true;
    }
    return QWidget::event(event);
}
