#include "PlanCoordinator.h"

#include "PlanCanvas.h"
#include "PlanSummary.h"
#include "PlanWindow.h"
#include "View3dPanel.h"
#include "frmMain.h"
#include "footers/DoubledFooters.h"
#include "footers/FooterGeneration.h"
#include "footers/ObjectDirectory.h"
#include "frontend/QtPaths.h"
#include "plan/PlanScene.h"
#include "view3d/Scene3d.h"

#include <QAbstractButton>
#include <QDir>
#include <QSpinBox>

#include <new>
#include <span>

namespace {

// Every control whose change alters what generate would add.
const char* const choiceCheckBoxes[] = {
    "useSmallTube",   "useSmallTubeDefault",   "useMediumTube",          "useMediumTubeDefault",
    "useLargeTube",   "useLargeTubeDefault",   "useXLargeTube",          "useXLargeTubeDefault",
    "useXXLargeTube", "useXXLargeTubeDefault", "deleteNativeFundaments", "checkAlignTangent"};
const char* const choiceScaleBoxes[] = {"scaleSmallTube", "scaleMediumTube", "scaleLargeTube",
                                        "scaleXLargeTube", "scaleXXLargeTube"};

}  // namespace

PlanCoordinator::PlanCoordinator(frmMain& mainWindow)
    : main_(mainWindow), window_(std::make_unique<PlanWindow>())
{
    // The main window alone decides when the program ends.
    window_->setAttribute(Qt::WA_QuitOnClose, false);
    previewTimer_.setSingleShot(true);
    previewTimer_.setInterval(previewDelayMs);
    // A closed plan window shows nothing until the next load or generate, which work it all out
    // afresh: until then a changed choice costs nothing.
    connect(&previewTimer_, &QTimer::timeout, this, [this] {
        if (window_->isVisible())
            updatePreview();
    });

    connect(&main_, &frmMain::trackLoaded, this, &PlanCoordinator::trackLoaded);
    connect(&main_, &frmMain::modelDirectoryInspected, this,
            &PlanCoordinator::modelDirectoryInspected);
    connect(&main_, &frmMain::footersGenerated, this, &PlanCoordinator::footersGenerated);
    connect(&main_, &frmMain::trackSaved, this, &PlanCoordinator::trackSaved);
    connect(&main_, &frmMain::nolimitsDirectoryChanged, this, [this] {
        readInstalledModelsAfresh();
        if (window_->isVisible())
            rebuildScene(false);
    });
    for (const char* name : choiceCheckBoxes)
        if (auto* box = main_.findChild<QAbstractButton*>(QLatin1String(name)))
            connect(box, &QAbstractButton::toggled, &previewTimer_, qOverload<>(&QTimer::start));
    for (const char* name : choiceScaleBoxes)
        if (auto* box = main_.findChild<QSpinBox*>(QLatin1String(name)))
            connect(box, &QSpinBox::valueChanged, &previewTimer_, qOverload<>(&QTimer::start));
    connect(window_.get(), &PlanWindow::viewChanged, this, [this] { rebuildScene(true); });
}

PlanCoordinator::~PlanCoordinator() = default;

void PlanCoordinator::trackLoaded()
{
    trackText_ = pw::trackSummary(main_.trackFileName(), main_.currentTrack());
    actionText_.clear();
    objectsBeforeGenerate_ = main_.currentTrack().sceneryObjects.size();
    tubeEnds_.emplace(main_.currentTrack());
    preview_.clear();  // made for the track before
    window_->view3d()->newTrack();
    readInstalledModelsAfresh();
    previewTimer_.stop();
    rebuildScene(true);
    updatePreview();
    window_->showBeside(main_);
}

void PlanCoordinator::modelDirectoryInspected()
{
    // Read afresh: the files may have changed since the last look.
    footprints_.emplace(pw::toFileSystemPath(main_.modelDirectory()));
    modelText_ = pw::modelSummary(*footprints_);
    readInstalledModelsAfresh();
    previewTimer_.stop();
    if (!window_->isVisible())
        return;
    rebuildScene(false);
    updatePreview();
}

void PlanCoordinator::footersGenerated(const pw::GenerationReport& report)
{
    const pw::Track& track = main_.currentTrack();
    const int doubled = pw::countDoubledFooters(track.sceneryObjects, objectsBeforeGenerate_);
    objectsBeforeGenerate_ = track.sceneryObjects.size();
    tubeEnds_.emplace(track);
    preview_.clear();
    readInstalledModelsAfresh();  // generate has just copied them
    const pw::GenerationOptions options = main_.generationOptions();
    const QString copiedTo = pw::fromFileSystemPath(
        options.nolimitsDirectory / "objects" / pw::objectDirectoryPath(options.objectDirectory));
    actionText_ = pw::generateSummary(report, doubled, copiedTo);
    trackText_ = pw::trackSummary(main_.trackFileName(), track);
    previewTimer_.stop();
    rebuildScene(false);
    updatePreview();
    window_->showBeside(main_);
}

void PlanCoordinator::trackSaved(const QString& fileName)
{
    actionText_ = tr("Saved %1").arg(QDir::toNativeSeparators(fileName));
    updateSummary();
}

void PlanCoordinator::readInstalledModelsAfresh()
{
    installed_.reset();
    const QString nolimits = main_.chosenNolimitsDirectory();
    if (!nolimits.isEmpty())
        installed_.emplace(pw::toFileSystemPath(nolimits) / "objects");
}

pw::FootprintSources PlanCoordinator::sources()
{
    return {footprints_ ? &*footprints_ : nullptr, installed_ ? &*installed_ : nullptr};
}

void PlanCoordinator::rebuildScene(bool fit)
{
    if (main_.trackFileName().isEmpty())
        return;
    if (window_->threeDShown()) {
        rebuildScene3d();
        updateSummary();
        return;
    }
    window_->setScene(pw::buildPlanScene(main_.currentTrack(), window_->view(), sources(), preview_,
                                         tubeEnds_ ? &*tubeEnds_ : nullptr),
                      fit);
    updateSummary();
}

// Places the footers on a copy of the track, as generate would, without copying any file.
void PlanCoordinator::updatePreview()
{
    preview_.clear();
    if (!main_.trackFileName().isEmpty() && footprints_) {
        try {
            pw::Track copy = main_.currentTrack();
            const std::size_t before = copy.sceneryObjects.size();
            pw::GenerationReport report;
            pw::placeFooters(copy, main_.generationOptions(), report,
                             tubeEnds_ ? &*tubeEnds_ : nullptr);
            preview_.assign(std::make_move_iterator(copy.sceneryObjects.begin() +
                                                    static_cast<std::ptrdiff_t>(before)),
                            std::make_move_iterator(copy.sceneryObjects.end()));
        } catch (const std::bad_alloc&) {
            // A track too large to copy has no preview; generate says why when pressed.
            preview_.clear();
        }
    }
    if (window_->threeDShown())
        rebuildScene3d();
    else
        window_->canvas()->setPreview(
            pw::buildPlanFooters(main_.currentTrack(), window_->view(), sources(), preview_));
    updateSummary();
}

void PlanCoordinator::rebuildScene3d()
{
    if (main_.trackFileName().isEmpty())
        return;
    window_->view3d()->setScene(std::make_shared<const pw::Scene3d>(pw::buildScene3d(
        main_.currentTrack(), sources(), preview_, tubeEnds_ ? &*tubeEnds_ : nullptr)));
}

void PlanCoordinator::updateSummary()
{
    QStringList parts;
    for (const QString* text : {&trackText_, &modelText_})
        if (!text->isEmpty())
            parts << *text;
    if (footprints_ && !main_.trackFileName().isEmpty())
        parts << (preview_.size() == 1 ? tr("would add 1 footer")
                                       : tr("would add %1 footers").arg(preview_.size()));
    if (!actionText_.isEmpty())
        parts << actionText_;
    parts << pw::nolimitsSummary(main_.chosenNolimitsDirectory());
    window_->setSummary(parts.join(QStringLiteral("  \u00b7  ")));
}
