#pragma once
// Keeps the plan window in step with the main window: it opens beside it when a track is loaded,
// follows every later action, and shows what generate would add with the current choices.

#include "footers/TubeEndPoints.h"
#include "plan/ModelFootprints.h"
#include "plan/PlanScene.h"
#include "tracklib/Track.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

class frmMain;
class PlanWindow;

namespace pw {
struct GenerationReport;
}

class PlanCoordinator : public QObject {
    Q_OBJECT

public:
    explicit PlanCoordinator(frmMain& mainWindow);
    ~PlanCoordinator() override;

    PlanWindow& window() const { return *window_; }
    // How long the choices must rest before the preview is worked out again.
    static constexpr int previewDelayMs = 150;

private:
    void trackLoaded();
    void modelDirectoryInspected();
    void footersGenerated(const pw::GenerationReport& report);
    void trackSaved(const QString& fileName);
    void readInstalledModelsAfresh();
    pw::FootprintSources sources();
    void rebuildScene(bool fit);
    void rebuildScene3d();
    void updatePreview();
    void updateSummary();

    frmMain& main_;
    std::unique_ptr<PlanWindow> window_;
    std::optional<pw::ModelFootprints> footprints_;  // the model directory, once inspected
    std::optional<pw::ModelFootprints> installed_;   // the simulator's objects directory
    // The tube ends of the track as loaded or generated: every preview and view reuses them.
    std::optional<pw::TubeEndTable> tubeEnds_;
    std::vector<pw::SceneryObject> preview_;
    QTimer previewTimer_;
    std::size_t objectsBeforeGenerate_ = 0;
    QString trackText_;
    QString modelText_;
    QString actionText_;
};
