#pragma once
// The steps of the session's undo stack: a generation, and a change of the choices for single
// supports. Each keeps what it needs to be taken back and done again exactly; the session does
// the work, so that every change still passes through it and is signalled once.

#include "footers/FooterStep.h"
#include "footers/SupportChoice.h"

#include <QUndoCommand>

class TrackSession;

// Ids that tell the kinds apart on the stack (QUndoCommand::id).
enum class TrackStepKind { Generation = 1, SupportChoices = 2 };

class GenerationStep : public QUndoCommand {
public:
    // `step` has been done already: the first redo, which QUndoStack::push calls, skips it.
    // `supportsBefore` are the choices the generation used; after it they are renumbered past
    // the fundaments it removed.
    GenerationStep(TrackSession& session, pw::FooterStep step, pw::SupportChoices supportsBefore);

    int id() const override { return static_cast<int>(TrackStepKind::Generation); }
    void undo() override;
    void redo() override;
    const pw::FooterStep& step() const { return step_; }

private:
    TrackSession& session_;
    pw::FooterStep step_;
    pw::SupportChoices before_;
    pw::SupportChoices after_;
    bool done_ = true;
};

class SupportChoicesStep : public QUndoCommand {
public:
    SupportChoicesStep(TrackSession& session, pw::SupportChoices before, pw::SupportChoices after,
                       const QString& text);

    int id() const override { return static_cast<int>(TrackStepKind::SupportChoices); }
    void undo() override;
    void redo() override;

private:
    TrackSession& session_;
    pw::SupportChoices before_;
    pw::SupportChoices after_;
};
