#pragma once
// The main window: open a track, inspect the footer model directory, choose the options,
// generate the footers and save. It writes what the user does into its session, shows what the
// session holds, and asks before unsaved work is lost.

#include "TrackSession.h"
#include "UserPrompts.h"
#include "footers/SizeClasses.h"
#include "tracklib/CoreError.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class QCheckBox;
class QPushButton;
class ResultLine;
class QCloseEvent;
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

    // Loads a track as if it had been chosen in the open dialog, asking first about unsaved work.
    void openTrackFile(const QString& fileName);

    // What the window holds, for the views that observe it; only the window writes into it.
    const TrackSession& session() const { return session_; }

    // What a view chose for a single support: none makes it follow its class again.
    void chooseForSupport(std::int32_t fundament, std::optional<pw::SupportChoice> choice);

Q_SIGNALS:
    // The plan window is asked for: by its button or Ctrl+P.
    void planWindowRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
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

    // The boxes of each size class, by the names its row gives them.
    void findSizeClassControls();
    void loadSettings();
    void saveSettings();
    void connectChoices();
    // The NoLimits-directory dialog; a chosen directory is kept and stored. False when cancelled.
    bool selectNolimitsDirectory();
    // Asks for the NoLimits directory when none was ever chosen; false when the user declines.
    bool ensureNolimitsDirectoryChosen();

    // Opens or reloads through the session; on failure warns and keeps everything.
    bool readTrack(const QString& fileName);
    // Shows the track's details and enables the next stage.
    void showTrack();
    // Inspects the directory through the session; on failure warns and keeps everything.
    bool refreshObjectDir(const QString& directory);
    // Sets the size-class boxes from what the session's inspection found.
    void showInspection();
    void warnGenerationFailed(const pw::CoreError& error);
    // The result line and the plan window's button, after the widget tree's tab chain.
    void addResultRow();
    // The title names the track and marks unsaved work.
    void showTitle();
    void showNolimitsDirectory();
    void showGenerated(const pw::GenerationReport& report);
    // Undo and redo as actions of the window, Ctrl+Z and Ctrl+Shift+Z or Ctrl+Y.
    void addUndoActions();
    // After an undo or redo changed the track.
    void showStepped();
    // Where the track holds footers placed before: replace them, add beside them, or neither.
    std::optional<pw::EarlierFooters> askAboutEarlierFooters();
    // A warning titled `title` of `sentence`, whose %1 is the path and %2 the reason.
    void warnPathFailed(const QString& title, const QString& sentence, const QString& path,
                        const pw::CoreError& error);
    // A path typed into a field is used as its dialog's answer would be, or refused with its
    // warning; the field then shows what the session holds.
    void typedTrackFile();
    // False when a typed directory was refused.
    bool typedModelDirectory();

    // Before unsaved work would be lost: Save (through the save dialog), Discard or Cancel.
    // True when the window may go on: saved, or the user let the work go. False when it stays.
    bool mayLeaveUnsavedWork();
    // The save dialog and the save; false when cancelled or failed (then warned).
    bool saveWithDialog();
    // Writes what the size-class boxes of this class show into the session.
    void storeSizeClass(pw::TubeSizeClass sizeClass);

    // A size-class box changed: applies the rule of its class and kind.
    void sizeClassBoxChanged(const QObject* box);
    void ownModelBoxChanged(pw::TubeSizeClass sizeClass);
    void defaultModelBoxChanged(pw::TubeSizeClass sizeClass);
    const SizeClassControls& controls(pw::TubeSizeClass sizeClass) const;

    std::unique_ptr<Ui::frmMain> ui;
    TrackSession session_;
    std::array<SizeClassControls, pw::sizeClassCount> sizeClassControls;
    pw::UserPrompts prompts;
    QSettings* settings = nullptr;  // a child of the window
    ResultLine* resultLine = nullptr;       // a child of the window
    QPushButton* buttonShowPlan = nullptr;  // a child of the window
    QString lastInputDir;
    bool takingTypedPath = false;  // a warning's focus change must not take the field again
};
