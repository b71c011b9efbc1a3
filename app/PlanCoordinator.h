#pragma once
// Keeps the plan window in step with the session: it opens beside the main window when a track
// is loaded, follows every later change, and shows what generate would add with the current
// choices. It only observes the session.

#include "footers/TubeEndPoints.h"
#include "plan/ModelFootprints.h"
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
    // `mainWindow` is where the plan window opens beside.
    PlanCoordinator(const TrackSession& session, QWidget& mainWindow);
    ~PlanCoordinator() override;

    PlanWindow& window() const { return *window_; }
    // How long the choices must rest before the preview is worked out again.
    static constexpr int previewDelayMs = 150;

private:
    void followTrackReplaced();
    void followModelDirectoryInspected();
    void followTrackGenerated(const pw::GenerationReport& report);
    void followTrackSaved(const QString& fileName);
    void readInstalledModelsAfresh();
    pw::FootprintSources sources();
    void rebuildScene(bool fit);
    void rebuildScene3d();
    void updatePreview();
    void updateSummary();
    // The window's place, size and view, kept for the next run.
    void restorePlace();
    void rememberPlace() const;

    const TrackSession& session_;
    QPointer<QWidget> main_;
    std::unique_ptr<PlanWindow> window_;
    std::optional<pw::ModelFootprints> footprints_;  // the model directory, once inspected
    std::optional<pw::ModelFootprints> installed_;   // the simulator's objects directory
    // The tube ends of the track as loaded or generated: every preview and view reuses them.
    std::optional<pw::TubeEndTable> tubeEnds_;
    std::vector<pw::SceneryObject> preview_;
    QString previewProblem_;  // why generate would refuse, instead of what it would add
    QTimer previewTimer_;
    std::size_t objectsBeforeGenerate_ = 0;
    QString trackText_;
    QString modelText_;
    QString actionText_;
};
