#include "TrackSession.h"

#include "footers/ObjectDirectory.h"
#include "footers/PlacedFooters.h"
#include "qtbridge/ObjectDirectoryText.h"
#include "qtbridge/QtPaths.h"
#include "tracklib/Catching.h"
#include "tracklib/TrackOpening.h"

#include <algorithm>
#include <utility>

TrackSession::TrackSession(QObject* parent) : QObject(parent)
{
    for (const pw::TubeSizeClass sizeClass : pw::allSizeClasses)
        choices_[static_cast<std::size_t>(sizeClass)].scalePercent =
            pw::defaultScalePercent(sizeClass);
    connect(&undoStack_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { Q_EMIT modifiedChanged(!clean); });
}

pw::Result<pw::ReadDiagnostics> TrackSession::openTrack(const QString& fileName)
{
    // Into a fresh record, so that a file that cannot be opened leaves the track as it was.
    pw::Result<pw::OpenedTrack> opened =
        pw::openTrack(pw::toFileSystemPath(fileName), pw::TrackSource::RegularFile);
    if (!opened)
        return opened.error();
    // The steps and the choices for single supports belong to the track they were made on.
    undoStack_.clear();
    track_ = std::move(opened->track);
    trackFile_ = fileName;
    lastReport_.reset();
    const bool supportsChanged = !supports_.empty();
    supports_ = {};
    proposeObjectDirectoryName();
    if (supportsChanged)
        Q_EMIT choicesChanged();
    Q_EMIT trackReplaced();
    return opened->diagnostics;
}

pw::Result<void> TrackSession::saveTrack(const QString& fileName)
{
    pw::Result<void> written = pw::writeTrackFile(pw::toFileSystemPath(fileName), track_);
    if (!written)
        return written;
    undoStack_.setClean();
    Q_EMIT saved(fileName);
    return written;
}

pw::Result<pw::GenerationReport> TrackSession::generate(pw::EarlierFooters earlier)
{
    pw::Result<pw::ObjectDirectory> objectDirectory =
        pw::objectDirectoryFromText(objectDirectoryText_);
    if (!objectDirectory)
        return objectDirectory.error();
    pw::GenerationOptions options = optionsFor(*objectDirectory);
    options.earlierFooters = earlier;

    pw::Result<pw::FooterStep> step = pw::catchingAllocation(
        [&] {
            // On a copy, so that running out of memory part of the way keeps the track as it was.
            pw::Track generated = track_;
            pw::Result<pw::FooterStep> made = pw::generateFooterStep(generated, options);
            if (made)
                track_ = std::move(generated);
            return made;
        },
        pw::CoreError(pw::FooterError::NoMemoryToGenerate));
    if (!step)
        return step.error();
    lastReport_ = step->report;
    auto* done = new GenerationStep(*this, std::move(*step), supports_);
    // The choices follow their supports past the fundaments the generation removed.
    adoptSupportChoices(done->supportsAfter());
    undoStack_.push(done);  // owned by the stack
    // The name proposed again, as after opening the track.
    proposeObjectDirectoryName();
    Q_EMIT trackGenerated(*lastReport_);
    return *lastReport_;
}

std::size_t TrackSession::earlierFooterCount() const { return pw::placedFooters(track_).size(); }

bool TrackSession::isTrackModified() const
{
    const int clean = undoStack_.cleanIndex();
    if (clean < 0)
        return true;  // the saved state was undone and replaced: the track differs from it
    const int from = std::min(clean, undoStack_.index());
    const int to = std::max(clean, undoStack_.index());
    for (int i = from; i < to; ++i)
        if (undoStack_.command(i)->id() == static_cast<int>(TrackStepKind::Generation))
            return true;
    return false;
}

void TrackSession::setSupportChoice(std::int32_t fundament, std::optional<pw::SupportChoice> choice)
{
    pw::SupportChoices after = supports_;
    if (choice)
        after.set(fundament, *choice);
    else
        after.clear(fundament);
    if (after == supports_)
        return;
    undoStack_.push(new SupportChoicesStep(*this, supports_, std::move(after),
                                           tr("choice for support %1").arg(fundament)));
}

void TrackSession::adoptSupportChoices(const pw::SupportChoices& supports)
{
    if (supports == supports_)
        return;
    supports_ = supports;
    Q_EMIT choicesChanged();
}

void TrackSession::undoGeneration(pw::FooterStep& step, const pw::SupportChoices& before)
{
    const std::vector<pw::CoreError> warnings = pw::undoFooterStep(step, track_);
    lastReport_.reset();
    adoptSupportChoices(before);
    Q_EMIT trackStepped();
    if (!warnings.empty())
        Q_EMIT stepWarnings(warnings);
}

void TrackSession::redoGeneration(pw::FooterStep& step, const pw::SupportChoices& after)
{
    const std::vector<pw::CoreError> warnings = pw::redoFooterStep(step, track_);
    lastReport_ = step.report;
    adoptSupportChoices(after);
    Q_EMIT trackStepped();
    if (!warnings.empty())
        Q_EMIT stepWarnings(warnings);
}

pw::Result<void> TrackSession::inspectModelDirectory(const QString& directory)
{
    const std::filesystem::path path = pw::toFileSystemPath(directory);
    if (pw::Result<void> isDirectory = pw::checkModelDirectory(path); !isDirectory)
        return isDirectory;
    modelDirectory_ = directory;
    contents_ = pw::inspectModelDirectory(path);
    Q_EMIT modelDirectoryInspected();
    return {};
}

bool TrackSession::modelDirectoryHoldsNoModel() const
{
    return contents_ && !contents_->defaultModel &&
           std::none_of(contents_->ownModel.begin(), contents_->ownModel.end(),
                        [](bool there) { return there; });
}

const pw::FooterChoice& TrackSession::footerChoice(pw::TubeSizeClass sizeClass) const
{
    return choices_[static_cast<std::size_t>(sizeClass)];
}

void TrackSession::setFooterChoice(pw::TubeSizeClass sizeClass, const pw::FooterChoice& choice)
{
    pw::FooterChoice& held = choices_[static_cast<std::size_t>(sizeClass)];
    if (held == choice)
        return;
    held = choice;
    Q_EMIT choicesChanged();
}

void TrackSession::setReplaceFundaments(bool replace)
{
    if (replaceFundaments_ == replace)
        return;
    replaceFundaments_ = replace;
    Q_EMIT choicesChanged();
}

void TrackSession::setAlignToTangent(bool align)
{
    if (alignToTangent_ == align)
        return;
    alignToTangent_ = align;
    Q_EMIT choicesChanged();
}

void TrackSession::setObjectDirectoryText(const QString& text)
{
    if (objectDirectoryText_ == text)
        return;
    objectDirectoryText_ = text;
    // The name changes nothing that generate would place.
    Q_EMIT objectDirectoryTextChanged();
}

void TrackSession::proposeObjectDirectoryName()
{
    setObjectDirectoryText(
        QString::fromStdString(pw::proposedObjectDirectoryName(pw::toFileSystemPath(trackFile_))));
}

void TrackSession::setNolimitsDirectory(const QString& directory)
{
    if (nolimitsDirectory_ == directory)
        return;
    nolimitsDirectory_ = directory;
    Q_EMIT nolimitsDirectoryChanged();
}

pw::FooterModelChoices TrackSession::footerModelChoices() const
{
    return pw::footerModelChoices(choices_);
}

pw::GenerationOptions TrackSession::previewOptions() const
{
    pw::Result<pw::ObjectDirectory> objectDirectory =
        pw::objectDirectoryFromText(objectDirectoryText_);
    return optionsFor(objectDirectory ? *objectDirectory : pw::ObjectDirectory{});
}

pw::GenerationOptions TrackSession::optionsFor(const pw::ObjectDirectory& objectDirectory) const
{
    pw::GenerationOptions options;
    options.choices = footerModelChoices();
    options.objectDirectory = objectDirectory;
    options.modelSourceDirectory = pw::toFileSystemPath(modelDirectory_);
    options.nolimitsDirectory = pw::toFileSystemPath(nolimitsDirectory_);
    options.replaceFundaments = replaceFundaments_;
    options.alignToTangent = alignToTangent_;
    options.supports = supports_;
    return options;
}
