#include "PlanCoordinator.h"

#include "ApplicationNames.h"
#include "PlanCanvas.h"
#include "PlanSummary.h"
#include "PlanWindow.h"
#include "SupportChoiceMenu.h"
#include "SupportPicking.h"
#include "TrackSession.h"
#include "View3dPanel.h"
#include "View3dWidget.h"
#include "frmMain.h"
#include "footers/FooterEnds.h"
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

#include <QAction>
#include <QMenu>
#include <QSettings>

#include <algorithm>
#include <utility>

PlanCoordinator::PlanCoordinator(const TrackSession& session, frmMain& mainWindow,
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
        if (!window_->isVisible())
            return;
        showPreview();
        updateSummary();
    });

    connect(&session_, &TrackSession::trackReplaced, this, &PlanCoordinator::followTrackReplaced);
    connect(&session_, &TrackSession::modelDirectoryInspected, this,
            &PlanCoordinator::followModelDirectoryInspected);
    connect(&session_, &TrackSession::trackGenerated, this, &PlanCoordinator::followTrackGenerated);
    connect(&session_, &TrackSession::saved, this, &PlanCoordinator::followTrackSaved);
    connect(&session_, &TrackSession::trackStepped, this, &PlanCoordinator::followTrackStepped);
    // Undo can lead back to the saved state, or away from it, by itself.
    connect(&session_, &TrackSession::modifiedChanged, this, [this] { updateSummary(); });
    connect(&session_, &TrackSession::nolimitsDirectoryChanged, this, [this] {
        inspectModels(ModelsToRead::Installed);
        if (window_->isVisible())
            rebuildScene(false);
        updateSummary();
    });
    connect(&mainWindow, &frmMain::planWindowRequested, this, &PlanCoordinator::showWindow);
    connect(&inspector_, &pw::ModelInspector::inspected, this,
            [this](std::uint64_t, std::vector<pw::ModelFootprints>& read) { adoptModels(read); });
    connect(window_->view3d(), &View3dPanel::sceneDropped, this, [this] {
        memoryProblem_ = tr("not enough memory to draw this scene in 3D");
        updateSummary();
    });
    connect(&session_, &TrackSession::choicesChanged, this, [this] {
        generatedFrom_.reset();
        previewTimer_.start();
    });
    // Undo and redo answer their keys in the plan window too, where the choices are made.
    for (const QString& name : {QStringLiteral("actionUndo"), QStringLiteral("actionRedo")})
        if (auto* action = mainWindow.findChild<QAction*>(name))
            window_->addAction(action);
    // The plan and the 3D view pick a support and choose for it alike.
    const auto chooseByKey = [this](int key) {
        if (const auto choice = pw::supportChoiceForKey(key))
            chooseForPicked(*choice);
    };
    PlanCanvas* canvas = window_->canvas();
    connect(canvas, &PlanCanvas::pointPicked, this, &PlanCoordinator::pickSupportAt);
    connect(canvas, &PlanCanvas::menuRequested, this,
            [this](QPointF world, double reach, QPoint globalPosition) {
                pickSupportAt(world, reach);
                showSupportMenu(globalPosition);
            });
    connect(canvas, &PlanCanvas::keyForPick, this, chooseByKey);
    View3dPanel* view3d = window_->view3d();
    connect(view3d, &View3dPanel::pointPicked, this, &PlanCoordinator::pickSupport3dAt);
    connect(view3d, &View3dPanel::menuRequested, this,
            [this](QPoint position, QPoint globalPosition) {
                pickSupport3dAt(position);
                showSupportMenu(globalPosition);
            });
    connect(view3d, &View3dPanel::keyForPick, this, chooseByKey);
    installedModelsWait_.setSingleShot(true);
    installedModelsWait_.setInterval(installedModelsWaitMs);
    connect(&installedModelsWait_, &QTimer::timeout, this, [this] {
        drawGenerated();
        updateSummary();
    });
    restorePlace();
    connect(window_.get(), &PlanWindow::viewChanged, this, [this] {
        rebuildScene(true);
        updateSummary();
        rememberPlace();
    });
    connect(window_.get(), &PlanWindow::legendToggled, this, &PlanCoordinator::rememberPlace);

    // What the session already holds, such as a model directory remembered from the last run.
    inspectModels();
}

PlanCoordinator::~PlanCoordinator() { rememberPlace(); }

namespace {

const QString planGroup = QStringLiteral("planWindow");
const QString geometryKey = QStringLiteral("geometry");
const QString viewKey = QStringLiteral("view");
const QString legendKey = QStringLiteral("legend");
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
    window_->setLegendShown(settings->value(legendKey, true).toBool());
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
    settings->setValue(legendKey, window_->legendShown());
    settings->endGroup();
}

void PlanCoordinator::followTrackReplaced()
{
    const pw::Track& track = session_.track();
    trackText_ = pw::trackSummary(session_.trackFile(), track);
    actionText_.clear();
    picked_.reset();
    tubeEnds_.emplace(track);
    generatedFrom_.reset();
    generatedUndrawn_ = false;
    installedModelsWait_.stop();
    window_->view3d()->newTrack();
    inspectModels();
    previewTimer_.stop();
    computePreview();
    rebuildScene(true);
    updateSummary();
    if (main_)
        window_->showBeside(*main_);
}

void PlanCoordinator::followModelDirectoryInspected()
{
    // Read afresh: the files may have changed since the last look.
    inspectModels();
    generatedFrom_.reset();
    previewTimer_.stop();
    if (window_->isVisible()) {
        computePreview();
        rebuildScene(false);
    }
    updateSummary();
}

namespace {

// The first scenery object the generation reported added: they stand at the end.
std::size_t firstAdded(const pw::Track& track, const pw::GenerationReport& report)
{
    const std::size_t added = static_cast<std::size_t>(report.objectsAddedTotal());
    return track.sceneryObjects.size() >= added ? track.sceneryObjects.size() - added : 0;
}

}  // namespace

void PlanCoordinator::followTrackGenerated(const pw::GenerationReport& report)
{
    const pw::Track& track = session_.track();
    const std::size_t firstNew = firstAdded(track, report);
    if (!tubeEnds_ || !tubeEnds_->survivesGenerate(track, report.freeNodesAdded))
        tubeEnds_.emplace(track);
    // Keeping the fundaments, generating again would place the same footers again. Replacing
    // them, only ends generate passed over remain, such as the first end of a tube between two
    // fundaments: worked out when drawn.
    if (session_.replaceFundaments())
        generatedFrom_.reset();
    else
        generatedFrom_ = firstNew;
    // Only the copies changed: the model directory's shapes stay, and draw the new footers until
    // the copies have been read. The plan is drawn once they have, as it would be again then.
    inspectModels(ModelsToRead::Installed);
    actionText_ = generatedText(report);
    // The fundament picked may be gone, and the others renumbered.
    picked_.reset();
    trackText_ = pw::trackSummary(session_.trackFile(), track);
    previewTimer_.stop();
    preview_.clear();
    previewProblem_.clear();
    generatedUndrawn_ = true;
    if (readingModels_)
        installedModelsWait_.start();
    else
        drawGenerated();
    updateSummary();
    if (main_)
        window_->showBeside(*main_);
}

QString PlanCoordinator::generatedText(const pw::GenerationReport& report) const
{
    const pw::Track& track = session_.track();
    return pw::generateSummary(report,
                               pw::countDoubledFooters(track.sceneryObjects, firstAdded(track, report)),
                               pw::toFileSystemPath(session_.nolimitsDirectory()));
}

void PlanCoordinator::followTrackStepped()
{
    const pw::Track& track = session_.track();
    trackText_ = pw::trackSummary(session_.trackFile(), track);
    const std::optional<pw::GenerationReport>& report = session_.lastReport();
    actionText_ = report ? generatedText(*report) : tr("Generate undone");
    picked_.reset();
    tubeEnds_.emplace(track);
    generatedFrom_.reset();
    generatedUndrawn_ = false;
    installedModelsWait_.stop();
    previewTimer_.stop();
    // The copies may have come or gone with the step.
    inspectModels(ModelsToRead::Installed);
    if (window_->isVisible()) {
        computePreview();
        rebuildScene(false);
    }
    updateSummary();
}

void PlanCoordinator::pickSupportAt(QPointF world, double reach)
{
    if (!session_.hasTrack() || window_->threeDShown())
        return;
    setPicked(pw::supportAt(session_.track(), window_->canvas()->scene(), world, reach));
}

void PlanCoordinator::pickSupport3dAt(QPoint position)
{
    const View3dWidget* view = window_->view3d()->view();
    if (!session_.hasTrack() || !window_->threeDShown() || view == nullptr ||
        view->scene() == nullptr)
        return;
    setPicked(pw::supportAt3d(session_.track(), *view->scene(), view->camera(), QPointF(position),
                              view->size()));
}

void PlanCoordinator::setPicked(std::optional<std::int32_t> support)
{
    if (support == picked_)
        return;
    picked_ = support;
    updateSummary();
}

void PlanCoordinator::showSupportMenu(QPoint globalPosition)
{
    if (!picked_)
        return;
    supportMenu_ = pw::supportChoiceMenu(
        session_.footerModelChoices(), session_.supportChoices().find(*picked_) != nullptr,
        [this](std::optional<pw::SupportChoice> choice) { chooseForPicked(choice); });
    supportMenu_->popup(globalPosition);
}

void PlanCoordinator::chooseForPicked(std::optional<pw::SupportChoice> choice)
{
    if (!picked_ || !main_)
        return;
    // A model of a class without one would only make generate refuse.
    if (choice && choice->model &&
        !session_.footerModelChoices()[static_cast<std::size_t>(*choice->model)].enabled)
        return;
    main_->chooseForSupport(*picked_, choice);
    updateSummary();
}

void PlanCoordinator::drawGenerated()
{
    if (!std::exchange(generatedUndrawn_, false))
        return;
    installedModelsWait_.stop();
    computePreview();
    rebuildScene(false);
}

void PlanCoordinator::followTrackSaved(const QString& fileName)
{
    actionText_ = tr("Saved %1").arg(pw::visiblePath(fileName));
    updateSummary();
}

void PlanCoordinator::showWindow()
{
    if (!main_ || !session_.hasTrack())
        return;
    // A closed window followed nothing but loads and generates.
    if (!window_->isVisible()) {
        previewTimer_.stop();
        computePreview();
        rebuildScene(false);
        updateSummary();
    }
    window_->bringToFront(*main_);
}

void PlanCoordinator::inspectModels(ModelsToRead which)
{
    // A newer inspection cancels one under way: what that one was reading is read again.
    const bool modelDirectoryUnderWay =
        std::find(reading_.begin(), reading_.end(), &footprints_) != reading_.end();
    const bool both = which == ModelsToRead::Both || modelDirectoryUnderWay || !footprints_;
    // Until the models arrive every footer is a square, or the model directory's shape.
    if (both) {
        footprints_.reset();
        modelText_.clear();
    }
    installed_.reset();
    reading_.clear();
    const pw::FootprintFiles files = pw::footprintFilesOf(session_.track());
    std::vector<pw::ModelDirectoryRequest> requests;
    if (both && session_.modelDirectoryContents()) {
        footprints_.emplace(pw::toFileSystemPath(session_.modelDirectory()), pw::ModelFileReader());
        requests.push_back({footprints_->directory(), files.modelDirectory});
        reading_.push_back(&footprints_);
    }
    if (const QString nolimits = session_.nolimitsDirectory(); !nolimits.isEmpty()) {
        installed_.emplace(pw::objectsDirectory(pw::toFileSystemPath(nolimits)),
                           pw::ModelFileReader());
        requests.push_back({installed_->directory(), files.installed});
        reading_.push_back(&installed_);
    }
    readingModels_ = !requests.empty();
    if (readingModels_)
        inspector_.inspect(std::move(requests));
    else
        inspector_.cancel();
}

void PlanCoordinator::adoptModels(std::vector<pw::ModelFootprints>& read)
{
    auto next = read.begin();
    for (std::optional<pw::ModelFootprints>* source : reading_)
        if (next != read.end())
            **source = std::move(*next++);
    reading_.clear();
    readingModels_ = false;
    if (footprints_)
        modelText_ = pw::modelSummary(*footprints_);
    // The view is fitted again only if the user has not zoomed or panned since it was.
    if (generatedUndrawn_)
        drawGenerated();
    else if (window_->isVisible())
        rebuildScene(false);
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
        return;
    }
    // The footers' outlines grow with their models.
    const pw::TubeEndTable* ends = tubeEnds_ ? &*tubeEnds_ : nullptr;
    drawFooters([&](pw::FootprintSources footprints) {
        window_->setScene(
            pw::buildPlanScene(session_.track(), window_->view(), footprints, preview_, ends), fit);
    });
}

// Places the footers on a copy of the track, as generate would, without copying any file.
void PlanCoordinator::computePreview()
{
    preview_.clear();
    previewProblem_.clear();
    if (!session_.hasTrack() || !footprints_)
        return;
    const pw::Track& track = session_.track();
    if (generatedFrom_ && *generatedFrom_ <= track.sceneryObjects.size()) {
        // The name proposed anew since the generate may differ from the footers' own, but a
        // preview draws each footer by its model file alone.
        preview_.assign(track.sceneryObjects.begin() + static_cast<std::ptrdiff_t>(*generatedFrom_),
                        track.sceneryObjects.end());
        return;
    }
    const pw::GenerationOptions options = session_.previewOptions();
    // What generate would refuse is named instead of footers it would not add.
    if (pw::Result<void> models =
            pw::checkModelsToInstall(options.choices, options.modelSourceDirectory);
        !models) {
        // A directory with none of the models says so in its own line: no box can be ticked.
        if (models.error().code != pw::FooterError::NoModelChosen ||
            !session_.modelDirectoryHoldsNoModel())
            previewProblem_ = pw::visibleError(models.error());
        return;
    }
    if (!pw::anyFooterToPlace(session_.track(), options.choices, options.supports))
        return;  // known without copying the track
    if (!pw::catchingAllocation([&] {
            preview_ = pw::footersGenerateWouldAdd(session_.track(), options,
                                                   tubeEnds_ ? &*tubeEnds_ : nullptr);
        })) {
        // A track too large to copy has no preview; generate says why when pressed.
        preview_.clear();
    }
}

void PlanCoordinator::showPreview()
{
    computePreview();
    if (window_->threeDShown()) {
        rebuildScene3d();
        return;
    }
    drawFooters([&](pw::FootprintSources footprints) {
        window_->canvas()->setPreview(
            pw::buildPlanFooters(session_.track(), window_->view(), footprints, preview_));
    });
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
    if (footprints_ && session_.hasTrack() && !generatedUndrawn_) {
        if (!previewProblem_.isEmpty())
            parts << tr("generate would refuse: %1").arg(previewProblem_);
        else
            parts << (preview_.size() == 1 ? tr("would add 1 footer")
                                           : tr("would add %1 footers").arg(preview_.size()));
    }
    if (!memoryProblem_.isEmpty())
        parts << memoryProblem_;
    if (picked_) {
        parts << pw::supportChoiceText(*picked_, session_.supportChoices().find(*picked_)) +
                     tr(" (Del: no footer here, 1\u20135: that class's model, Backspace: as its "
                        "class)");
    }
    if (!actionText_.isEmpty())
        parts << actionText_;
    if (session_.isModified())
        parts << tr("unsaved changes");
    parts << pw::nolimitsSummary(session_.nolimitsDirectory());
    window_->setSummary(parts.join(QLatin1Char('\n')));
}
