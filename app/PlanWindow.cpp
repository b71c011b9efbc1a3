#include "PlanWindow.h"

#include "PlanCanvas.h"
#include "View3dPanel.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>
#include <utility>

namespace {

constexpr int gapToMainWindow = 8;
constexpr int startWidth = 720;
constexpr int narrowestWidth = 360;
constexpr int lowestHeight = 400;

}  // namespace

QRect planWindowGeometry(const QRect& mainFrame, const QRect& screenArea)
{
    const int left = mainFrame.right() + 1 + gapToMainWindow;
    const int room = screenArea.right() + 1 - left;
    const int height = std::max(mainFrame.height(), lowestHeight);
    if (room >= narrowestWidth)
        return {left, mainFrame.top(), std::min(startWidth, room), height};
    return {std::max(screenArea.left(), screenArea.right() + 1 - narrowestWidth), mainFrame.top(),
            narrowestWidth, height};
}

PlanWindow::PlanWindow(QWidget* parent)
    : QMainWindow(parent, Qt::Window),
      canvas_(new PlanCanvas(this)),
      view3d_(new View3dPanel(this)),
      views_(new QStackedWidget(this)),
      summary_(new QLabel(this)),
      topView_(new QAction(tr("From above"), this)),
      sideView_(new QAction(tr("From the front"), this)),
      threeDView_(new QAction(tr("3D"), this))
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
    setCentralWidget(views_);

    auto* views = new QActionGroup(this);
    for (QAction* action : {topView_, sideView_, threeDView_}) {
        action->setCheckable(true);
        views->addAction(action);
    }
    topView_->setObjectName(QStringLiteral("planTopView"));
    sideView_->setObjectName(QStringLiteral("planSideView"));
    threeDView_->setObjectName(QStringLiteral("planThreeDView"));
    topView_->setToolTip(tr("The plan from above: x right, z down"));
    sideView_->setToolTip(tr("The plan from the front: x right, y up, to check tilted footers"));
    threeDView_->setToolTip(tr("The track, its supports and every footer as its model, in 3D"));
    topView_->setChecked(true);
    auto* toolBar = addToolBar(tr("View"));
    toolBar->setObjectName(QStringLiteral("planViewBar"));
    toolBar->setMovable(false);
    toolBar->setFocusPolicy(Qt::NoFocus);
    toolBar->addActions({topView_, sideView_, threeDView_});
    connect(views, &QActionGroup::triggered, this, &PlanWindow::showCheckedView);

    summary_->setObjectName(QStringLiteral("planSummary"));
    summary_->setTextInteractionFlags(Qt::NoTextInteraction);
    // It names files, which are shown as named, never taken for markup.
    summary_->setTextFormat(Qt::PlainText);
    // The whole summary stays readable in a narrow window.
    summary_->setWordWrap(true);
    statusBar()->addWidget(summary_, 1);
    statusBar()->setSizeGripEnabled(true);
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

void PlanWindow::setSummary(const QString& text) { summary_->setText(text); }

QString PlanWindow::summary() const { return summary_->text(); }

void PlanWindow::setVisible(bool visible)
{
    // The 3D view first, so that the native window is made for OpenGL from the start: the first
    // switch to 3D would otherwise make it anew, and a screen grabber holding the old one can
    // hang the X server.
    if (visible && !testAttribute(Qt::WA_WState_Created))
        view3d_->prepare();
    QMainWindow::setVisible(visible);
}

void PlanWindow::showBeside(const QWidget& mainWindow)
{
    if (!placed_) {
        placed_ = true;
        const QScreen* screen = mainWindow.screen();
        const QRect area =
            screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1 << 16, 1 << 16);
        const QRect geometry = planWindowGeometry(mainWindow.frameGeometry(), area);
        resize(geometry.size());
        move(geometry.topLeft());
    }
    if (!isVisible())
        show();
}
