#include "View3dPanel.h"

#include "View3dWidget.h"
#include "view3d/OffscreenRenderer.h"

#include <QGuiApplication>
#include <QLabel>
#include <QStackedLayout>

#include <utility>

View3dPanel::View3dPanel(QWidget* parent)
    : QWidget(parent), stack_(new QStackedLayout(this)), message_(new QLabel(this))
{
    setObjectName(QStringLiteral("view3dPanel"));
    message_->setObjectName(QStringLiteral("view3dMessage"));
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);
    message_->setMargin(16);
    stack_->addWidget(message_);
}

void View3dPanel::prepare()
{
    if (tried_)
        return;
    tried_ = true;
    // These platforms draw windows into memory and cannot show OpenGL in one.
    const QString platform = QGuiApplication::platformName();
    for (const char* noWindowGl : {"offscreen", "minimal", "vnc", "linuxfb"})
        if (platform == QLatin1String(noWindowGl)) {
            showProblem(tr("the \"%1\" platform cannot show OpenGL in a window").arg(platform));
            return;
        }
    // A context of the view's own kind, made and tried off screen first: a QOpenGLWidget in a
    // window whose platform has no OpenGL would leave the whole window unable to paint.
    const pw::Result<std::unique_ptr<pw::OffscreenRenderer>> trial = pw::OffscreenRenderer::start();
    if (!trial) {
        showProblem(QString::fromStdString(pw::errorReason(trial.error())));
        return;
    }
    view_ = new View3dWidget(this);
    connect(view_, &View3dWidget::unavailable, this, &View3dPanel::showProblem);
    connect(view_, &View3dWidget::sceneDropped, this, &View3dPanel::sceneDropped);
    connect(view_, &View3dWidget::pointPicked, this, &View3dPanel::pointPicked);
    connect(view_, &View3dWidget::menuRequested, this, &View3dPanel::menuRequested);
    connect(view_, &View3dWidget::keyForPick, this, &View3dPanel::keyForPick);
    stack_->addWidget(view_);  // behind the message until activated
    if (scene_) {
        view_->setScene(scene_, true);
        fitNext_ = false;
    }
}

void View3dPanel::activate()
{
    prepare();
    if (view_ != nullptr)
        stack_->setCurrentWidget(view_);
}

void View3dPanel::setScene(std::shared_ptr<const pw::Scene3d> scene)
{
    scene_ = std::move(scene);
    if (view_ == nullptr)
        return;
    view_->setScene(scene_, fitNext_);
    fitNext_ = false;
}

QString View3dPanel::message() const
{
    return stack_->currentWidget() == message_ ? message_->text() : QString();
}

void View3dPanel::showProblem(const QString& reason)
{
    message_->setText(tr("No 3D view: %1.").arg(reason));
    stack_->setCurrentWidget(message_);
    if (view_ != nullptr) {
        stack_->removeWidget(view_);
        view_->deleteLater();
        view_ = nullptr;
    }
}
