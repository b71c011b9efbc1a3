#pragma once
// The steps of the session's undo stack: a generation, and a change of the choices for single
// supports. Each keeps what it needs to be taken back and done again exactly; the session does
// the work, through the small interface below, so that every change still passes through it and
// is signalled once.

#include "footers/FooterStep.h"
#include "footers/SupportChoice.h"

#include <QUndoCommand>

// What the steps ask of the session that holds the track.
class TrackStepTarget {
public:
    virtual void undoGeneration(pw::FooterStep& step, const pw::SupportChoices& before) = 0;
    virtual void redoGeneration(pw::FooterStep& step, const pw::SupportChoices& after) = 0;
    virtual void adoptSupportChoices(const pw::SupportChoices& supports) = 0;

protected:
    ~TrackStepTarget() = default;
};

// Ids that tell the kinds apart on the stack (QUndoCommand::id).
enum class TrackStepKind { Generation = 1, SupportChoices = 2 };

class GenerationStep : public QUndoCommand {
public:
    // `step` has been done already: the first redo, which QUndoStack::push calls, skips it.
    // `supportsBefore` are the choices the generation used; after it they are renumbered past
    // the fundaments it removed.
    GenerationStep(TrackStepTarget& session, pw::FooterStep step, pw::SupportChoices supportsBefore);

    int id() const override { return static_cast<int>(TrackStepKind::Generation); }
    void undo() override;
    void redo() override;
    // The choices once the generation is done: past the fundaments it removed.
    const pw::SupportChoices& supportsAfter() const { return after_; }

private:
    TrackStepTarget& session_;
    pw::FooterStep step_;
    pw::SupportChoices before_;
    pw::SupportChoices after_;
    bool done_ = true;
};

class SupportChoicesStep : public QUndoCommand {
public:
    SupportChoicesStep(TrackStepTarget& session, pw::SupportChoices before, pw::SupportChoices after,
                       const QString& text);

    int id() const override { return static_cast<int>(TrackStepKind::SupportChoices); }
    void undo() override;
    void redo() override;

private:
    TrackStepTarget& session_;
    pw::SupportChoices before_;
    pw::SupportChoices after_;
};
