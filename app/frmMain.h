#pragma once
// The main window: open a track, inspect the footer model directory, choose the options,
// generate the footers and save. It reads its widgets and hands the work to the core.

#include "UserPrompts.h"
#include "footers/FooterGeneration.h"
#include "footers/FooterModelChoice.h"
#include "tracklib/Track.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <memory>
#include <string>

class QCheckBox;
class QDragEnterEvent;
class QDropEvent;
class QSettings;
class QSpinBox;

namespace Ui {
class frmMain;
}

class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Replaces the dialogs and warnings, so that a test can answer them.
    void setUserPrompts(pw::UserPrompts prompts);

    // Loads a track as if it had been chosen in the open dialog.
    void openTrackFile(const QString& fileName);

    // The per-class choices as the size-class boxes and scale boxes stand now.
    pw::FooterModelChoices readFooterModelChoices() const;
    // Everything generate would use, as the widgets stand now.
    pw::GenerationOptions generationOptions() const;

    // For the plan window, which shows what the window holds.
    const pw::Track& currentTrack() const { return track; }
    QString trackFileName() const { return inputFile; }
    QString modelDirectory() const { return objectDir; }
    // Empty until the user has chosen one.
    QString chosenNolimitsDirectory() const;

Q_SIGNALS:
    void trackLoaded();  // opened, dropped or reloaded
    void modelDirectoryInspected();
    void footersGenerated(const pw::GenerationReport& report);
    void trackSaved(const QString& fileName);
    void nolimitsDirectoryChanged();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private Q_SLOTS:
    void on_buttonSelectInput_clicked();
    void on_buttonReloadInput_clicked();
    void on_buttonSelectNLDirectory_clicked();
    void on_buttonGenerate_clicked();
    void on_buttonSave_clicked();
    void on_buttonSelectDirectory_clicked();
    void on_buttonSelectRefresh_clicked();
    void on_useSmallTubeDefault_stateChanged(int arg1);
    void on_useSmallTube_stateChanged(int arg1);
    void on_useMediumTubeDefault_stateChanged(int arg1);
    void on_useMediumTube_stateChanged(int arg1);
    void on_useLargeTubeDefault_stateChanged(int arg1);
    void on_useLargeTube_stateChanged(int arg1);
    void on_useXLargeTubeDefault_stateChanged(int arg1);
    void on_useXLargeTube_stateChanged(int arg1);
    void on_useXXLargeTubeDefault_stateChanged(int arg1);
    void on_useXXLargeTube_stateChanged(int arg1);

private:
    struct SizeClassControls {
        QCheckBox* ownModel = nullptr;
        QCheckBox* defaultModel = nullptr;
        QSpinBox* scale = nullptr;
    };

    void loadSettings();
    void saveSettings();
    // The NoLimits-directory dialog; a chosen directory is kept and stored. False when cancelled.
    bool selectNolimitsDirectory();
    // Asks for the NoLimits directory when none was ever chosen; false when the user declines.
    bool ensureNolimitsDirectoryChosen();

    // Reads `fileName` into a fresh track and adopts it; on failure warns and keeps everything.
    bool readTrack(const QString& fileName);
    // With `reread`, reads inputFile again first; then shows the track's details.
    void loadTrack(bool reread);
    void refreshObjectDir();
    void warnGenerationFailed(const std::string& reason);

    // A size-class box changed: applies the rule of its class and kind.
    void sizeClassBoxChanged(const QObject* box);
    void ownModelBoxChanged(pw::TubeSizeClass sizeClass);
    void defaultModelBoxChanged(pw::TubeSizeClass sizeClass);
    const SizeClassControls& controls(pw::TubeSizeClass sizeClass) const;

    std::unique_ptr<Ui::frmMain> ui;
    pw::Track track;
    std::array<SizeClassControls, pw::sizeClassCount> sizeClassControls;
    pw::UserPrompts prompts;
    QString inputFile;
    QString objectDir;
    QSettings* settings = nullptr;  // a child of the window
    QString nolimitsDir;
    bool nolimitsDirChosen = false;  // stored by the user, not the first-run default
    QString lastInputDir;
};
