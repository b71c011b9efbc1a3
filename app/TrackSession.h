#pragma once
// The window's state in one place: the track and its file, the choices generate uses (per size
// class and per support), the NoLimits directory, the last generation's report, and the steps
// that can be undone, whose stack also says whether there is unsaved work. The main
// window writes what the user does into it and shows what it holds; the plan window only
// observes it. The rules stay in the core: this holds their inputs and results and signals each
// change.

#include "TrackSteps.h"

#include "footers/FooterGeneration.h"
#include "footers/FooterModelChoice.h"
#include "footers/FooterStep.h"
#include "footers/ModelDirectory.h"
#include "footers/ModelInstallation.h"
#include "footers/SupportChoice.h"
#include "tracklib/Result.h"
#include "tracklib/Track.h"
#include "tracklib/TrackFile.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <cstdint>
#include <optional>
#include <vector>

class TrackSession : public QObject, private TrackStepTarget {
    Q_OBJECT

public:
    explicit TrackSession(QObject* parent = nullptr);

    // The track: none until one has been opened.
    bool hasTrack() const { return !trackFile_.isEmpty(); }
    const pw::Track& track() const { return track_; }
    const QString& trackFile() const { return trackFile_; }
    // Opens the file as the track to work on, with the window's checks (a regular file holding
    // track data). On failure nothing changes. On success says what the reader passed over.
    pw::Result<pw::ReadDiagnostics> openTrack(const QString& fileName);
    // Writes the track; the work counts as saved afterwards, and undo leads away from it again.
    pw::Result<void> saveTrack(const QString& fileName);
    // Generates with the current choices into a copy of the track, adopted only on success as a
    // step that can be undone. Refuses (and changes nothing, creating no directory) what
    // generateFooters refuses, and an object directory name the track cannot store.
    pw::Result<pw::GenerationReport> generate(pw::EarlierFooters earlier = pw::EarlierFooters::Add);
    // How many footers an earlier generate placed in the track: generate asks what becomes of them.
    std::size_t earlierFooterCount() const;
    // The report of the last generate since the track was opened.
    const std::optional<pw::GenerationReport>& lastReport() const { return lastReport_; }
    // Away from the saved state: generated or chose for single supports, and not saved since (or
    // undone back to it).
    bool isModified() const { return !undoStack_.isClean(); }
    // Away from the saved state by a generation, not only by choices for single supports.
    bool isTrackModified() const;

    // The steps taken since the track was opened. The window only triggers undo and redo.
    QUndoStack& undoStack() { return undoStack_; }
    const QUndoStack& undoStack() const { return undoStack_; }

    // What the user chose for single supports, by fundament index; kept until another track is
    // opened. Each change is a step.
    const pw::SupportChoices& supportChoices() const { return supports_; }
    // None: the support follows its class again.
    void setSupportChoice(std::int32_t fundament, std::optional<pw::SupportChoice> choice);

    // The footer model directory, once inspected, and what it held then.
    const QString& modelDirectory() const { return modelDirectory_; }
    const std::optional<pw::ModelDirectoryContents>& modelDirectoryContents() const
    {
        return contents_;
    }
    // Inspected, and none of the six model files was there: no box can be ticked.
    bool modelDirectoryHoldsNoModel() const;
    // Looks at which models the directory holds; refuses what is not a directory.
    pw::Result<void> inspectModelDirectory(const QString& directory);

    // Each class's choice as the user left it, with the scale box's value kept whatever it is.
    const pw::FooterChoice& footerChoice(pw::TubeSizeClass sizeClass) const;
    void setFooterChoice(pw::TubeSizeClass sizeClass, const pw::FooterChoice& choice);
    bool replaceFundaments() const { return replaceFundaments_; }
    void setReplaceFundaments(bool replace);
    bool alignToTangent() const { return alignToTangent_; }
    void setAlignToTangent(bool align);
    // As typed; proposed from the track file's name on every open and after generate.
    const QString& objectDirectoryText() const { return objectDirectoryText_; }
    void setObjectDirectoryText(const QString& text);

    pw::FooterModelChoices footerModelChoices() const;
    // What generate would use, unchecked, for a preview: a name that cannot be used is empty.
    pw::GenerationOptions previewOptions() const;

    // Empty until the user has chosen one.
    const QString& nolimitsDirectory() const { return nolimitsDirectory_; }
    void setNolimitsDirectory(const QString& directory);

Q_SIGNALS:
    void trackReplaced();  // opened or reloaded
    void trackGenerated(const pw::GenerationReport& report);
    void choicesChanged();  // what generate would place
    void objectDirectoryTextChanged();
    void modelDirectoryInspected();
    void nolimitsDirectoryChanged();
    void saved(const QString& fileName);
    void modifiedChanged(bool modified);
    // A generation undone or done again: the track changed without a generate of its own.
    void trackStepped();
    // Files an undo or redo of a generation left as they stood.
    void stepWarnings(const std::vector<pw::CoreError>& warnings);

private:
    void undoGeneration(pw::FooterStep& step, const pw::SupportChoices& before) override;
    void redoGeneration(pw::FooterStep& step, const pw::SupportChoices& after) override;
    void adoptSupportChoices(const pw::SupportChoices& supports) override;
    // The name proposed from the track file's name.
    void proposeObjectDirectoryName();
    pw::GenerationOptions optionsFor(const pw::ObjectDirectory& objectDirectory) const;

    pw::Track track_;
    QString trackFile_;
    std::optional<pw::GenerationReport> lastReport_;
    QString modelDirectory_;
    std::optional<pw::ModelDirectoryContents> contents_;
    pw::FooterChoices choices_;
    bool replaceFundaments_ = true;
    bool alignToTangent_ = true;
    QString objectDirectoryText_;
    QString nolimitsDirectory_;
    pw::SupportChoices supports_;
    QUndoStack undoStack_;
};
