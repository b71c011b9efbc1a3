#pragma once
// Keeps the plan window in step with the session: it opens beside the main window when a track
// is loaded, follows every later change, shows what generate would add with the current choices,
// and comes to the front when the main window asks for it. It only observes the session. Footer
// models are read off the window's thread: until they arrive the plan draws their footers as
// 1 m squares. Each change works the preview out at most once and builds the summary once.

#include "footers/SupportChoice.h"
#include "footers/TubeEndPoints.h"
#include "models/ModelFootprints.h"
#include "models/ModelInspector.h"
#include "plan/PlanScene.h"
#include "tracklib/Track.h"

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class PlanWindow;
class QMenu;
class TrackSession;
class frmMain;

namespace pw {
struct GenerationReport;
}

class PlanCoordinator : public QObject {
    Q_OBJECT

public:
    // `mainWindow` is where the plan window opens beside, and asks for it. `readModel` reads each
    // footer model, on a thread of its own; without it a reader process does
    // (ModelReaderClient.h).
    PlanCoordinator(const TrackSession& session, frmMain& mainWindow,
                    pw::ModelFileReader readModel = {});
    ~PlanCoordinator() override;

    PlanWindow& window() const { return *window_; }
    // The support a click or the context menu picked in the plan, for its own footer choice.
    std::optional<std::int32_t> pickedSupport() const { return picked_; }
    // The context menu of the picked support, while shown.
    QMenu* supportMenu() const { return supportMenu_.get(); }
    // The footer models are being read; the plan shows their footers as squares meanwhile.
    bool readingModels() const { return readingModels_; }
    // How long the choices must rest before the preview is worked out again.
    static constexpr int previewDelayMs = 150;
    // After a generate the plan is drawn once the copies it installed have been read, or after
    // this long, with the model directory's shapes, if they take longer.
    static constexpr int installedModelsWaitMs = 250;

private:
    void followTrackReplaced();
    void followModelDirectoryInspected();
    void followTrackGenerated(const pw::GenerationReport& report);
    void followTrackSaved(const QString& fileName);
    // An undo or redo changed the track: drawn again where the user looks, without fitting.
    void followTrackStepped();
    QString generatedText(const pw::GenerationReport& report) const;
    // Picks the support at a point of the plan, or none.
    void pickSupportAt(QPointF world, double reach);
    // Picks the support at a pixel of the 3D view, or none.
    void pickSupport3dAt(QPoint position);
    void setPicked(std::optional<std::int32_t> support);
    // The menu of the picked support, if there is one.
    void showSupportMenu(QPoint globalPosition);
    void chooseForPicked(std::optional<pw::SupportChoice> choice);
    // Shows the window again and in front, worked out afresh if it was closed.
    void showWindow();
    // Reads the models afresh, in the background: both directories', or only the copies in the
    // simulator's objects directory (while the model directory's are not being read).
    enum class ModelsToRead { Both, Installed };
    void inspectModels(ModelsToRead which = ModelsToRead::Both);
    void adoptModels(std::vector<pw::ModelFootprints>& read);
    pw::FootprintSources sources();
    // Draws the track with the preview as it stands.
    void rebuildScene(bool fit);
    void rebuildScene3d();
    // Works out what generate would add with the current choices, without drawing it.
    void computePreview();
    // Draws the preview alone over the track's drawing.
    void showPreview();
    // Draws the generated track, with what generating again would add.
    void drawGenerated();
    // Draws with the models' shapes (`draw` takes the footprint sources); without the memory for
    // them, with squares and says so, and without even that, keeps what it drew.
    template <class Draw>
    void drawFooters(const Draw& draw);
    void updateSummary();
    // The window's place, size and view, kept for the next run.
    void restorePlace();
    void rememberPlace() const;

    const TrackSession& session_;
    QPointer<frmMain> main_;
    std::unique_ptr<PlanWindow> window_;
    // The model directory, once inspected, and the simulator's objects directory. Neither reads
    // a file: each holds what the inspector delivered, or nothing while it reads.
    std::optional<pw::ModelFootprints> footprints_;
    std::optional<pw::ModelFootprints> installed_;
    bool readingModels_ = false;
    // What the inspector is reading into, in the order asked.
    std::vector<std::optional<pw::ModelFootprints>*> reading_;
    // A generate is not drawn yet: it waits for the copies it installed to be read.
    bool generatedUndrawn_ = false;
    QTimer installedModelsWait_;
    // After a generate that kept the fundaments, generating again would add the same footers:
    // those from this scenery object on. Until the choices, the models or the track change.
    std::optional<std::size_t> generatedFrom_;
    // The tube ends of the track as loaded or generated: every preview and view reuses them.
    std::optional<pw::TubeEndTable> tubeEnds_;
    std::vector<pw::SceneryObject> preview_;
    QString previewProblem_;  // why generate would refuse, instead of what it would add
    QString memoryProblem_;   // what the plan or the 3D view leaves out for want of memory
    QTimer previewTimer_;
    QString trackText_;
    QString modelText_;
    QString actionText_;
    std::optional<std::int32_t> picked_;
    std::unique_ptr<QMenu> supportMenu_;
    // Last, so that it is stopped first: it waits for the one model it has in hand.
    pw::ModelInspector inspector_;
};
