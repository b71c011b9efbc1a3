#include "TrackSteps.h"

#include <QObject>

#include <utility>

GenerationStep::GenerationStep(TrackStepTarget& session, pw::FooterStep step,
                               pw::SupportChoices supportsBefore)
    : QUndoCommand(QObject::tr("generate")),
      session_(session),
      step_(std::move(step)),
      before_(std::move(supportsBefore)),
      after_(before_.afterFundamentsRemoved(step_.track.removedFundaments()))
{
}

void GenerationStep::undo()
{
    session_.undoGeneration(step_, before_);
    done_ = false;
}

void GenerationStep::redo()
{
    // Pushed once done: the generation and its choices are in the session already.
    if (std::exchange(done_, true))
        return;
    session_.redoGeneration(step_, after_);
}

SupportChoicesStep::SupportChoicesStep(TrackStepTarget& session, pw::SupportChoices before,
                                       pw::SupportChoices after, const QString& text)
    : QUndoCommand(text), session_(session), before_(std::move(before)), after_(std::move(after))
{
}

void SupportChoicesStep::undo() { session_.adoptSupportChoices(before_); }

void SupportChoicesStep::redo() { session_.adoptSupportChoices(after_); }
