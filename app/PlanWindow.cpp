#include "PlanWindow.h"

#include "PlanCanvas.h"
#include "View3dPanel.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QActionGroup>
#include <QScreen>
#include <QStackedWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The frame the window system draws around `window`, as far as it is known yet.
QMargins frameOf(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

QRect screenArea(const QWidget& window)
{
    const QScreen* screen = window.screen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1 << 16, 1 << 16);
}

}  // namespace

PlanWindow::PlanWindow(QWidget* parent)
    : QMainWindow(parent, Qt::Window),
      canvas_(new PlanCanvas(this)),
      view3d_(new View3dPanel(this)),
      views_(new QStackedWidget(this)),
      summary_(new QTextEdit(this)),
      topView_(new QAction(tr("From above"), this)),
      sideView_(new QAction(tr("From the front"), this)),
      threeDView_(new QAction(tr("3D"), this)),
      legend_(new QAction(tr("Legend"), this))
{
    setObjectName(QStringLiteral("planWindow"));
    setWindowTitle(QStringLiteral("Plinthwright \u2014 Plan"));
    // The main window keeps the keyboard: its tab order is how it is used without a mouse.
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Never active, so its tooltips would otherwise wait for a click into it.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFocusPolicy(Qt::NoFocus);
    views_->addWidget(canvas_);
    views_->addWidget(view3d_);

    auto* views = new QActionGroup(this);
    for (QAction* action : {topView_, sideView_, threeDView_}) {
        action->setCheckable(true);
        views->addAction(action);
    }
    topView_->setObjectName(QStringLiteral("planTopView"));
    sideView_->setObjectName(QStringLiteral("planSideView"));
    threeDView_->setObjectName(QStringLiteral("planThreeDView"));
    legend_->setObjectName(QStringLiteral("planLegend"));
    topView_->setToolTip(tr("The plan from above: x right, z down"));
    sideView_->setToolTip(tr("The plan from the front: x right, y up, to check tilted footers"));
    threeDView_->setToolTip(tr("The track, its supports and every footer as its model, in 3D"));
    legend_->setToolTip(tr("The legend beside the plan, which then takes the whole view"));
    topView_->setChecked(true);
    legend_->setCheckable(true);
    legend_->setChecked(true);
    auto* toolBar = addToolBar(tr("View"));
    toolBar->setObjectName(QStringLiteral("planViewBar"));
    toolBar->setMovable(false);
    toolBar->setFocusPolicy(Qt::NoFocus);
    toolBar->addActions({topView_, sideView_, threeDView_});
    toolBar->addSeparator();
    toolBar->addAction(legend_);
    connect(views, &QActionGroup::triggered, this, &PlanWindow::showCheckedView);
    connect(legend_, &QAction::toggled, this, [this](bool shown) {
        canvas_->setLegendShown(shown);
        Q_EMIT legendToggled(shown);
    });

    summary_->setObjectName(QStringLiteral("planSummary"));
    // It names files, which are shown as named, never taken for markup; and can be copied.
    summary_->setReadOnly(true);
    summary_->setAcceptRichText(false);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    summary_->setFocusPolicy(Qt::ClickFocus);
    // A long file name has no spaces to wrap at.
    summary_->setLineWrapMode(QTextEdit::WidgetWidth);
    summary_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    summary_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    summary_->installEventFilter(this);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(views_, 1);
    layout->addWidget(summary_);
    setCentralWidget(central);
}

pw::PlanView PlanWindow::view() const
{
    return sideView_->isChecked() ? pw::PlanView::Side : pw::PlanView::Top;
}

bool PlanWindow::threeDShown() const { return threeDView_->isChecked(); }

void PlanWindow::setView(pw::PlanView view)
{
    QAction* action = view == pw::PlanView::Side ? sideView_ : topView_;
    if (action->isChecked())
        return;
    action->setChecked(true);
    showCheckedView();
}

void PlanWindow::showCheckedView()
{
    if (threeDShown())
        view3d_->activate();
    views_->setCurrentWidget(threeDShown() ? static_cast<QWidget*>(view3d_) : canvas_);
    Q_EMIT viewChanged(view());
}

bool PlanWindow::legendShown() const { return legend_->isChecked(); }

void PlanWindow::setLegendShown(bool shown) { legend_->setChecked(shown); }

bool PlanWindow::restorePlace(const QByteArray& geometry)
{
    if (geometry.isEmpty() || !restoreGeometry(geometry))
        return false;
    placed_ = true;
    return true;
}

void PlanWindow::showThreeD()
{
    if (threeDShown())
        return;
    threeDView_->setChecked(true);
    showCheckedView();
}

void PlanWindow::setScene(pw::PlanScene scene, bool fit)
{
    canvas_->setScene(std::move(scene), fit);
}

void PlanWindow::setVisible(bool visible)
{
    // The 3D view first, so that the native window is made for OpenGL from the start: the first
    // switch to 3D would otherwise make it anew, and a screen grabber holding the old one can
    // hang the X server.
    if (visible && !testAttribute(Qt::WA_WState_Created))
        view3d_->prepare();
    QMainWindow::setVisible(visible);
}

void PlanWindow::setSummary(const QString& text)
{
    if (text == summary_->toPlainText())
        return;
    summary_->setPlainText(text);
    fitSummaryHeight();
}

QString PlanWindow::summary() const { return summary_->toPlainText(); }

void PlanWindow::fitSummaryHeight()
{
    QTextDocument* document = summary_->document();
    // Each change of the width or the height lays out the text, or the window, again.
    const int width = summary_->viewport()->width();
    if (document->textWidth() != qreal(width))
        document->setTextWidth(width);
    const QMargins margins = summary_->contentsMargins();
    const int lines = static_cast<int>(std::ceil(document->size().height()));
    const int wanted = lines + margins.top() + margins.bottom();
    const int oneLine = summary_->fontMetrics().lineSpacing() + margins.top() + margins.bottom();
    const int height = std::clamp(wanted, oneLine, std::max(oneLine, this->height() / 3));
    if (summary_->minimumHeight() != height || summary_->maximumHeight() != height)
        summary_->setFixedHeight(height);
}

bool PlanWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == summary_ && event->type() == QEvent::Resize)
        fitSummaryHeight();  // only its width matters, so this settles at once
    if (watched == windowHandle() && event->type() == QEvent::Expose && placedBeside_ &&
        windowHandle()->isExposed()) {
        // The window system has drawn its frame: place it again if the guess was wrong.
        const QPointer<QWidget> mainWindow = std::exchange(placedBeside_, nullptr);
        const QMargins frame = windowHandle()->frameMargins();
        if (frame != guessedFrame_ && mainWindow && placeBeside(*mainWindow, frame))
            mainWindow->raise();
    }
    return QMainWindow::eventFilter(watched, event);
}

bool PlanWindow::event(QEvent* event)
{
    if (event->type() == QEvent::Resize)
        fitSummaryHeight();
    return QMainWindow::event(event);
}

bool PlanWindow::placeBeside(QWidget& mainWindow, const QMargins& frame)
{
    const pw::PlanPlacement placement =
        pw::planWindowPlacement(mainWindow.frameGeometry(), screenArea(mainWindow));
    setGeometry(placement.frame.marginsRemoved(frame));
    return placement.behindMain;
}

void PlanWindow::keepOnScreen()
{
    const QRect frame = frameGeometry();
    const QRect kept = pw::keptInside(frame, screenArea(*this));
    if (kept != frame)
        setGeometry(kept.marginsRemoved(frameOf(*this)));
}

void PlanWindow::showBeside(QWidget& mainWindow)
{
    if (placed_) {
        if (!isVisible())
            show();
        keepOnScreen();
        return;
    }
    placed_ = true;
    // Until it is shown, the plan window's own frame is unknown; the main window's is the best
    // guess, since the same window system draws both.
    guessedFrame_ = frameOf(mainWindow);
    const bool behind = placeBeside(mainWindow, guessedFrame_);
    placedBeside_ = &mainWindow;
    show();
    windowHandle()->installEventFilter(this);
    // Shown last, the plan would lie over the main window.
    if (behind)
        mainWindow.raise();
}

void PlanWindow::bringToFront(QWidget& mainWindow)
{
    showBeside(mainWindow);
    raise();
}
