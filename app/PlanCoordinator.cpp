#include "PlanCoordinator.h"

#include "ApplicationNames.h"
#include "PlanCanvas.h"
#include "PlanSummary.h"
#include "PlanWindow.h"
#include "TrackSession.h"
#include "View3dPanel.h"
#include "footers/FooterGeneration.h"
#include "footers/ModelDirectory.h"
#include "footers/ObjectDirectory.h"
#include "footers/PlacedFooters.h"
#include "qtbridge/QtPaths.h"
#include "qtbridge/VisibleText.h"
#include "footers/FootprintFiles.h"
#include "plan/PlanScene.h"
#include "tracklib/Catching.h"
#include "view3d/Scene3d.h"

#include <QDir>
#include <QSettings>

PlanCoordinator::PlanCoordinator(const TrackSession& session, QWidget& mainWindow,
                                 pw::ModelFileReader readModel)
    : session_(session),
      main_(&mainWindow),
      window_(std::make_unique<PlanWindow>()),
      inspector_(std::move(readModel))
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

    connect(&session_, &TrackSession::trackReplaced, this, &PlanCoordinator::followTrackReplaced);
    connect(&session_, &TrackSession::modelDirectoryInspected, this,
            &PlanCoordinator::followModelDirectoryInspected);
    connect(&session_, &TrackSession::trackGenerated, this, &PlanCoordinator::followTrackGenerated);
    connect(&session_, &TrackSession::saved, this, &PlanCoordinator::followTrackSaved);
    connect(&session_, &TrackSession::modifiedChanged, this, &PlanCoordinator::updateSummary);
    connect(&session_, &TrackSession::nolimitsDirectoryChanged, this, [this] {
        inspectModels();
        if (window_->isVisible())
            rebuildScene(false);
    });
    connect(&inspector_, &pw::ModelInspector::inspected, this,
            [this](std::uint64_t, std::vector<pw::ModelFootprints>& read) { adoptModels(read); });
    connect(window_->view3d(), &View3dPanel::sceneDropped, this, [this] {
        memoryProblem_ = tr("not enough memory to draw this scene in 3D");
        updateSummary();
    });
    connect(&session_, &TrackSession::choicesChanged, &previewTimer_, qOverload<>(&QTimer::start));
    restorePlace();
    connect(window_.get(), &PlanWindow::viewChanged, this, [this] {
        rebuildScene(true);
        rememberPlace();
    });

    // What the session already holds, such as a model directory remembered from the last run.
    inspectModels();
}

PlanCoordinator::~PlanCoordinator() { rememberPlace(); }

namespace {

const QString planGroup = QStringLiteral("planWindow");
const QString geometryKey = QStringLiteral("geometry");
const QString viewKey = QStringLiteral("view");
const QString frontView = QStringLiteral("front");
const QString threeDView = QStringLiteral("3d");

}  // namespace

void PlanCoordinator::restorePlace()
{
    const std::unique_ptr<QSettings> settings = pw::openSettingsStore();
    settings->beginGroup(planGroup);
    window_->restorePlace(settings->value(geometryKey).toByteArray());
    const QString view = settings->value(viewKey).toString();
    if (view == frontView)
        window_->setView(pw::PlanView::Side);
    else if (view == threeDView)
        window_->showThreeD();
    settings->endGroup();
}

void PlanCoordinator::rememberPlace() const
{
    const std::unique_ptr<QSettings> settings = pw::openSettingsStore();
    settings->beginGroup(planGroup);
    // A window never shown has no place of its own yet.
    if (window_->placed())
        settings->setValue(geometryKey, window_->saveGeometry());
    settings->setValue(viewKey, window_->threeDShown()                  ? threeDView
                                : window_->view() == pw::PlanView::Side ? frontView
                                                                        : QStringLiteral("top"));
    settings->endGroup();
}

void PlanCoordinator::followTrackReplaced()
{
    const pw::Track& track = session_.track();
    trackText_ = pw::trackSummary(session_.trackFile(), track);
    actionText_.clear();
    tubeEnds_.emplace(track);
    preview_.clear();  // made for the track before
    window_->view3d()->newTrack();
    inspectModels();
    previewTimer_.stop();
    rebuildScene(true);
    updatePreview();
    if (main_)
        window_->showBeside(*main_);
}

void PlanCoordinator::followModelDirectoryInspected()
{
    // Read afresh: the files may have changed since the last look.
    inspectModels();
    previewTimer_.stop();
    if (!window_->isVisible())
        return;
    rebuildScene(false);
    updatePreview();
}

void PlanCoordinator::followTrackGenerated(const pw::GenerationReport& report)
{
    const pw::Track& track = session_.track();
    // Generate only appends its footers to the scenery objects.
    const int doubled = pw::countDoubledFooters(
        track.sceneryObjects,
        track.sceneryObjects.size() - static_cast<std::size_t>(report.objectsAddedTotal()));
    tubeEnds_.emplace(track);
    preview_.clear();
    inspectModels();  // generate has just copied them
    actionText_ =
        pw::generateSummary(report, doubled, pw::toFileSystemPath(session_.nolimitsDirectory()));
    trackText_ = pw::trackSummary(session_.trackFile(), track);
    previewTimer_.stop();
    rebuildScene(false);
    updatePreview();
    if (main_)
        window_->showBeside(*main_);
}

void PlanCoordinator::followTrackSaved(const QString& fileName)
{
    actionText_ = tr("Saved %1").arg(QDir::toNativeSeparators(fileName));
    updateSummary();
}

void PlanCoordinator::inspectModels()
{
    // Until the models arrive every footer is a square; a newer inspection cancels this one.
    footprints_.reset();
    installed_.reset();
    const pw::FootprintFiles files = pw::footprintFilesOf(session_.track());
    std::vector<pw::ModelDirectoryRequest> requests;
    if (session_.modelDirectoryContents()) {
        footprints_.emplace(pw::toFileSystemPath(session_.modelDirectory()), pw::ModelFileReader());
        requests.push_back({footprints_->directory(), files.modelDirectory});
    }
    if (const QString nolimits = session_.nolimitsDirectory(); !nolimits.isEmpty()) {
        installed_.emplace(pw::objectsDirectory(pw::toFileSystemPath(nolimits)),
                           pw::ModelFileReader());
        requests.push_back({installed_->directory(), files.installed});
    }
    modelText_.clear();
    readingModels_ = !requests.empty();
    if (readingModels_)
        inspector_.inspect(std::move(requests));
    else
        inspector_.cancel();
}

void PlanCoordinator::adoptModels(std::vector<pw::ModelFootprints>& read)
{
    // Delivered in the order asked: the model directory first, when there is one.
    auto next = read.begin();
    for (std::optional<pw::ModelFootprints>* source : {&footprints_, &installed_})
        if (*source && next != read.end())
            **source = std::move(*next++);
    readingModels_ = false;
    if (footprints_)
        modelText_ = pw::modelSummary(*footprints_);
    // The view is fitted again only if the user has not zoomed or panned since it was.
    if (window_->isVisible())
        rebuildScene(false);
    else
        updateSummary();
}

pw::FootprintSources PlanCoordinator::sources()
{
    return {footprints_ ? &*footprints_ : nullptr, installed_ ? &*installed_ : nullptr};
}

template <class Draw>
void PlanCoordinator::drawFooters(const Draw& draw)
{
    if (pw::catchingAllocation([&] { draw(sources()); }))
        return;
    memoryProblem_ = tr("not enough memory to draw the footer models");
    (void)pw::catchingAllocation([&] { draw(pw::FootprintSources{}); });
}

void PlanCoordinator::rebuildScene(bool fit)
{
    if (!session_.hasTrack())
        return;
    memoryProblem_.clear();
    if (window_->threeDShown()) {
        rebuildScene3d();
        updateSummary();
        return;
    }
    // The footers' outlines grow with their models.
    const pw::TubeEndTable* ends = tubeEnds_ ? &*tubeEnds_ : nullptr;
    drawFooters([&](pw::FootprintSources footprints) {
        window_->setScene(
            pw::buildPlanScene(session_.track(), window_->view(), footprints, preview_, ends), fit);
    });
    updateSummary();
}

// Places the footers on a copy of the track, as generate would, without copying any file.
void PlanCoordinator::updatePreview()
{
    preview_.clear();
    previewProblem_.clear();
    if (session_.hasTrack() && footprints_) {
        const pw::GenerationOptions options = session_.previewOptions();
        // What generate would refuse is named instead of footers it would not add.
        if (pw::Result<void> models =
                pw::checkModelsToInstall(options.choices, options.modelSourceDirectory);
            !models) {
            previewProblem_ = pw::visibleError(models.error());
        } else if (!pw::catchingAllocation([&] {
                       preview_ = pw::footersGenerateWouldAdd(session_.track(), options,
                                                              tubeEnds_ ? &*tubeEnds_ : nullptr);
                   })) {
            // A track too large to copy has no preview; generate says why when pressed.
            preview_.clear();
        }
    }
    if (window_->threeDShown()) {
        rebuildScene3d();
    } else {
        drawFooters([&](pw::FootprintSources footprints) {
            window_->canvas()->setPreview(
                pw::buildPlanFooters(session_.track(), window_->view(), footprints, preview_));
        });
    }
    updateSummary();
}

void PlanCoordinator::rebuildScene3d()
{
    if (!session_.hasTrack())
        return;
    const pw::TubeEndTable* ends = tubeEnds_ ? &*tubeEnds_ : nullptr;
    drawFooters([&](pw::FootprintSources footprints) {
        window_->view3d()->setScene(std::make_shared<const pw::Scene3d>(
            pw::buildScene3d(session_.track(), footprints, preview_, ends)));
    });
}

void PlanCoordinator::updateSummary()
{
    QStringList parts;
    if (!trackText_.isEmpty())
        parts << trackText_;
    if (readingModels_)
        parts << tr("reading models\u2026");
    else if (!modelText_.isEmpty())
        parts << modelText_;
    if (footprints_ && session_.hasTrack()) {
        if (!previewProblem_.isEmpty())
            parts << tr("generate would refuse: %1").arg(previewProblem_);
        else
            parts << (preview_.size() == 1 ? tr("would add 1 footer")
                                           : tr("would add %1 footers").arg(preview_.size()));
    }
    if (!memoryProblem_.isEmpty())
        parts << memoryProblem_;
    if (!actionText_.isEmpty())
        parts << actionText_;
    if (session_.isModified())
        parts << tr("unsaved changes");
    parts << pw::nolimitsSummary(session_.nolimitsDirectory());
    window_->setSummary(parts.join(QStringLiteral("  \u00b7  ")));
}
