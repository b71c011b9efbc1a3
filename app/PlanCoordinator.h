#pragma once
// Keeps the plan window in step with the session: it opens beside the main window when a track
// is loaded, follows every later change, and shows what generate would add with the current
// choices. It only observes the session. Footer models are read off the window's thread: until
// they arrive the plan draws their footers as 1 m squares.

#include "footers/TubeEndPoints.h"
#include "models/ModelFootprints.h"
#include "models/ModelInspector.h"
#include "plan/PlanScene.h"
#include "tracklib/Track.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

class PlanWindow;
class QWidget;
class TrackSession;

namespace pw {
struct GenerationReport;
}

class PlanCoordinator : public QObject {
    Q_OBJECT

public:
    // `mainWindow` is where the plan window opens beside. `readModel` reads each footer model, on
    // a thread of its own; without it a reader process does (ModelReaderClient.h).
    PlanCoordinator(const TrackSession& session, QWidget& mainWindow,
                    pw::ModelFileReader readModel = {});
    ~PlanCoordinator() override;

    PlanWindow& window() const { return *window_; }
    // The footer models are being read; the plan shows their footers as squares meanwhile.
    bool readingModels() const { return readingModels_; }
    // How long the choices must rest before the preview is worked out again.
    static constexpr int previewDelayMs = 150;

private:
    void followTrackReplaced();
    void followModelDirectoryInspected();
    void followTrackGenerated(const pw::GenerationReport& report);
    void followTrackSaved(const QString& fileName);
    // Reads the models of both directories afresh, in the background.
    void inspectModels();
    void adoptModels(std::vector<pw::ModelFootprints>& read);
    pw::FootprintSources sources();
    void rebuildScene(bool fit);
    void rebuildScene3d();
    void updatePreview();
    // Draws with the models' shapes (`draw` takes the footprint sources); without the memory for
    // them, with squares and says so, and without even that, keeps what it drew.
    template <class Draw>
    void drawFooters(const Draw& draw);
    void updateSummary();
    // The window's place, size and view, kept for the next run.
    void restorePlace();
    void rememberPlace() const;

    const TrackSession& session_;
    QPointer<QWidget> main_;
    std::unique_ptr<PlanWindow> window_;
    // The model directory, once inspected, and the simulator's objects directory. Neither reads
    // a file: each holds what the inspector delivered, or nothing while it reads.
    std::optional<pw::ModelFootprints> footprints_;
    std::optional<pw::ModelFootprints> installed_;
    bool readingModels_ = false;
    // The tube ends of the track as loaded or generated: every preview and view reuses them.
    std::optional<pw::TubeEndTable> tubeEnds_;
    std::vector<pw::SceneryObject> preview_;
    QString previewProblem_;  // why generate would refuse, instead of what it would add
    QString memoryProblem_;   // what the plan or the 3D view leaves out for want of memory
    QTimer previewTimer_;
    QString trackText_;
    QString modelText_;
    QString actionText_;
    // Last, so that it is stopped first: it waits for the one model it has in hand.
    pw::ModelInspector inspector_;
};
