#include "TrackSession.h"

#include "footers/ObjectDirectory.h"
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
}

pw::Result<pw::ReadDiagnostics> TrackSession::openTrack(const QString& fileName)
{
    // Into a fresh record, so that a file that cannot be opened leaves the track as it was.
    pw::Result<pw::OpenedTrack> opened =
        pw::openTrack(pw::toFileSystemPath(fileName), pw::TrackSource::RegularFile);
    if (!opened)
        return opened.error();
    track_ = std::move(opened->track);
    trackFile_ = fileName;
    lastReport_.reset();
    proposeObjectDirectoryName();
    setModified(false);
    Q_EMIT trackReplaced();
    return opened->diagnostics;
}

pw::Result<void> TrackSession::saveTrack(const QString& fileName)
{
    pw::Result<void> written = pw::writeTrackFile(pw::toFileSystemPath(fileName), track_);
    if (!written)
        return written;
    setModified(false);
    Q_EMIT saved(fileName);
    return written;
}

pw::Result<pw::GenerationReport> TrackSession::generate()
{
    pw::Result<pw::ObjectDirectory> objectDirectory =
        pw::objectDirectoryFromText(objectDirectoryText_);
    if (!objectDirectory)
        return objectDirectory.error();
    const pw::GenerationOptions options = optionsFor(*objectDirectory);

    const pw::Result<pw::GenerationReport> report = pw::catchingAllocation(
        [&] {
            // On a copy, so that running out of memory part of the way keeps the track as it was.
            pw::Track generated = track_;
            pw::Result<pw::GenerationReport> made = pw::generateFooters(generated, options);
            if (made)
                track_ = std::move(generated);
            return made;
        },
        pw::CoreError(pw::FooterError::NoMemoryToGenerate));
    if (!report)
        return report;
    lastReport_ = *report;
    // The name proposed again, as after opening the track.
    proposeObjectDirectoryName();
    setModified(true);
    Q_EMIT trackGenerated(*lastReport_);
    return report;
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
    return options;
}

void TrackSession::setModified(bool modified)
{
    if (modified_ == modified)
        return;
    modified_ = modified;
    Q_EMIT modifiedChanged(modified);
}
