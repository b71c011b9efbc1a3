#include "PlanWindow.h"

#include "PlanCanvas.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include <utility>

namespace {

constexpr int gapToMainWindow = 8;
constexpr int startWidth = 720;

}  // namespace

PlanWindow::PlanWindow(QWidget* parent)
    : QMainWindow(parent, Qt::Window), canvas_(new PlanCanvas(this)), summary_(new QLabel(this)),
      topView_(new QAction(tr("From above"), this)),
      sideView_(new QAction(tr("From the front"), this))
{
    setObjectName(QStringLiteral("planWindow"));
    setWindowTitle(QStringLiteral("Plinthwright \u2014 Plan"));
    // The main window keeps the keyboard: its Parts fix how it is used without a mouse.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setCentralWidget(canvas_);

    auto* views = new QActionGroup(this);
    for (QAction* action : {topView_, sideView_}) {
        action->setCheckable(true);
        views->addAction(action);
    }
    topView_->setObjectName(QStringLiteral("planTopView"));
    sideView_->setObjectName(QStringLiteral("planSideView"));
    topView_->setToolTip(tr("The plan from above: x right, z down"));
    sideView_->setToolTip(tr("The plan from the front: x right, y up, to check tilted footers"));
    topView_->setChecked(true);
    auto* toolBar = addToolBar(tr("View"));
    toolBar->setObjectName(QStringLiteral("planViewBar"));
    toolBar->setMovable(false);
    toolBar->setFocusPolicy(Qt::NoFocus);
    toolBar->addActions({topView_, sideView_});
    connect(views, &QActionGroup::triggered, this,
            [this](QAction*) { Q_EMIT viewChanged(view()); });

    summary_->setObjectName(QStringLiteral("planSummary"));
    summary_->setTextInteractionFlags(Qt::NoTextInteraction);
    statusBar()->addWidget(summary_, 1);
    statusBar()->setSizeGripEnabled(true);
}

pw::PlanView PlanWindow::view() const
{
    return sideView_->isChecked() ? pw::PlanView::Side : pw::PlanView::Top;
}

void PlanWindow::setScene(pw::PlanScene scene, bool fit)
{
    canvas_->setScene(std::move(scene), fit);
}

void PlanWindow::setSummary(const QString& text)
{
    summary_->setText(text);
}

QString PlanWindow::summary() const
{
    return summary_->text();
}

void PlanWindow::showBeside(const QWidget& mainWindow)
{
    if (!placed_) {
        placed_ = true;
        const QRect main = mainWindow.frameGeometry();
        resize(startWidth, std::max(mainWindow.height(), 400));
        QPoint topLeft(main.right() + 1 + gapToMainWindow, main.top());
        // Kept on the main window's screen where it fits there.
        if (const QScreen* screen = mainWindow.screen()) {
            const QRect available = screen->availableGeometry();
            if (topLeft.x() + startWidth > available.right())
                topLeft.setX(std::max(available.left(), available.right() - startWidth));
        }
        move(topLeft);
    }
    if (!isVisible())
        show();
}
