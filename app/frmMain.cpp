#include "frmMain.h"
#include "ui_frmMain.h"

#include "ApplicationNames.h"
#include "IncomingTrackFile.h"
#include "footers/FooterGeneration.h"
#include "footers/ModelInstallation.h"
#include "footers/ObjectDirectory.h"
#include "frontend/ObjectDirectoryText.h"
#include "frontend/QtPaths.h"
#include "tracklib/TrackFile.h"
#include "tracklib/TrackOpening.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QSettings>

#include <cstddef>
#include <filesystem>
#include <new>
#include <utility>

namespace {

const QString trackFileFilter = QStringLiteral("NoLimits Coaster Files (*.nltrack)");
const QFileDialog::Options directoryDialogOptions =
    QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks;

}  // namespace

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::frmMain>()), prompts(pw::standardUserPrompts())
{
    // The form connects the on_<object>_<signal> slots by name at its end, after every start
    // state is set, so no check-box rule runs while the tree is built.
    ui->setupUi(this);
    pw::registerApplicationNames();
    loadSettings();

    sizeClassControls = {{
        {ui->useSmallTube, ui->useSmallTubeDefault, ui->scaleSmallTube},
        {ui->useMediumTube, ui->useMediumTubeDefault, ui->scaleMediumTube},
        {ui->useLargeTube, ui->useLargeTubeDefault, ui->scaleLargeTube},
        {ui->useXLargeTube, ui->useXLargeTubeDefault, ui->scaleXLargeTube},
        {ui->useXXLargeTube, ui->useXXLargeTubeDefault, ui->scaleXXLargeTube},
    }};
    setAcceptDrops(true);
    // A track dropped on the file field should open, not become its text.
    ui->textInputFile->setAcceptDrops(false);
}

frmMain::~frmMain() = default;

void frmMain::setUserPrompts(pw::UserPrompts newPrompts) { prompts = std::move(newPrompts); }

void frmMain::loadSettings()
{
    // The default format is the platform's own store; tests switch it to files of their own.
    settings = new QSettings(QSettings::defaultFormat(), QSettings::UserScope,
                             QString::fromLatin1(pw::organisationName),
                             QString::fromLatin1(pw::settingsApplicationName), this);
    settings->beginGroup(QStringLiteral("frmMain"));
    nolimitsDir = settings->value(QStringLiteral("nolimitsDir"), QStringLiteral("/")).toString();
    nolimitsDirChosen = settings->contains(QStringLiteral("nolimitsDir"));
    settings->endGroup();
}

void frmMain::saveSettings()
{
    settings->beginGroup(QStringLiteral("frmMain"));
    settings->setValue(QStringLiteral("nolimitsDir"), nolimitsDir);
    settings->endGroup();
}

bool frmMain::readTrack(const QString& fileName)
{
    // A fresh record, so that a file that cannot be opened leaves the loaded track as it was.
    pw::OpenedTrack opened =
        pw::openTrack(pw::toFileSystemPath(fileName), pw::TrackSource::RegularFile);
    switch (opened.status) {
    case pw::OpenStatus::CannotOpen:
        prompts.warning(
            this, tr("Open NlTrack file"),
            tr("The track file %1 could not be opened:\n%2")
                .arg(QDir::toNativeSeparators(fileName),
                     QString::fromStdString(pw::errorReason(*opened.diagnostics.openError))));
        return false;
    case pw::OpenStatus::NoTrackData:
        // Loading a file of other bytes would let "save" replace it with an empty track.
        prompts.warning(this, tr("Open NlTrack file"),
                        tr("The track file %1 could not be opened:\nit holds no track data.")
                            .arg(QDir::toNativeSeparators(fileName)));
        return false;
    case pw::OpenStatus::Opened: break;
    }
    // The track loads all the same; saving it lays out only what the reader understood.
    if (pw::isDamaged(opened.diagnostics)) {
        prompts.warning(this, tr("Open NlTrack file"),
                        tr("The track file %1 is damaged (%2).\nOnly what could be read is "
                           "loaded, and only that will be saved.")
                            .arg(QDir::toNativeSeparators(fileName),
                                 QString::fromStdString(pw::passedOverText(opened.diagnostics))));
    }
    track = std::move(opened.track);
    return true;
}

void frmMain::loadTrack(bool reread)
{
    if (reread && !readTrack(inputFile))
        return;

    const QFileInfo info(inputFile);
    lastInputDir = info.absolutePath();
    ui->textInputFile->setText(inputFile);
    ui->textNumberFooter->setText(QStringLiteral("%1").arg(track.fundaments.size()));
    ui->textObjDir->setText(
        QString::fromStdString(pw::proposedObjectDirectoryName(pw::toFileSystemPath(inputFile))));
    ui->buttonReloadInput->setEnabled(true);
    ui->buttonGenerate->setEnabled(true);
    ui->groupOptions->setEnabled(true);
}

void frmMain::openTrackFile(const QString& fileName)
{
    if (fileName.isEmpty() || !readTrack(fileName))
        return;
    inputFile = fileName;
    loadTrack(false);
    Q_EMIT trackLoaded();
}

void frmMain::refreshObjectDir()
{
    ui->text3dsDir->setText(objectDir);
    ui->buttonSelectRefresh->setEnabled(true);
    const pw::ModelDirectoryContents contents =
        pw::inspectModelDirectory(pw::toFileSystemPath(objectDir));
    for (const pw::TubeSizeClass sizeClass : pw::allSizeClasses) {
        const bool exists = contents.ownModel[static_cast<std::size_t>(sizeClass)];
        const SizeClassControls& boxes = controls(sizeClass);
        boxes.ownModel->setEnabled(exists);
        boxes.ownModel->setChecked(exists);  // runs the check-box rule when the state changes
    }
    // Once found, the default model stays selectable, even after switching to a directory
    // without it.
    if (contents.defaultModel) {
        for (const SizeClassControls& boxes : sizeClassControls)
            boxes.defaultModel->setEnabled(true);
    }
    // A class that lost its own model ticks its default box, but while no default model was
    // ever found that box cannot be unticked, and generating would fail on the missing
    // default.3ds every time. Such a class gets no footer, as in a fresh look at this directory.
    for (const SizeClassControls& boxes : sizeClassControls) {
        if (!boxes.defaultModel->isEnabled())
            boxes.defaultModel->setChecked(false);
    }
    Q_EMIT modelDirectoryInspected();
}

const frmMain::SizeClassControls& frmMain::controls(pw::TubeSizeClass sizeClass) const
{
    return sizeClassControls[static_cast<std::size_t>(sizeClass)];
}

void frmMain::sizeClassBoxChanged(const QObject* box)
{
    for (const pw::TubeSizeClass sizeClass : pw::allSizeClasses) {
        const SizeClassControls& boxes = controls(sizeClass);
        if (box == boxes.ownModel)
            ownModelBoxChanged(sizeClass);
        else if (box == boxes.defaultModel)
            defaultModelBoxChanged(sizeClass);
    }
}

// The two boxes of a class are never both checked, and the scale box is usable exactly when the
// default model is chosen. The rules read the boxes' current states, whoever changed them.
void frmMain::ownModelBoxChanged(pw::TubeSizeClass sizeClass)
{
    const SizeClassControls& boxes = controls(sizeClass);
    const bool ownChecked = boxes.ownModel->isChecked();
    boxes.defaultModel->setChecked(!ownChecked);
    boxes.scale->setEnabled(!ownChecked);
}

void frmMain::defaultModelBoxChanged(pw::TubeSizeClass sizeClass)
{
    const SizeClassControls& boxes = controls(sizeClass);
    if (boxes.defaultModel->isChecked()) {
        boxes.ownModel->setChecked(false);
        boxes.scale->setEnabled(true);
    } else {
        // Without its own model the class may end up with no footer at all.
        if (boxes.ownModel->isEnabled())
            boxes.ownModel->setChecked(true);
        boxes.scale->setEnabled(false);
    }
}

pw::FooterModelChoices frmMain::readFooterModelChoices() const
{
    pw::FooterModelChoices choices;
    for (const pw::TubeSizeClass sizeClass : pw::allSizeClasses) {
        const SizeClassControls& boxes = controls(sizeClass);
        choices[static_cast<std::size_t>(sizeClass)] =
            pw::makeFooterModelChoice(sizeClass, boxes.ownModel->isChecked(),
                                      boxes.defaultModel->isChecked(), boxes.scale->value());
    }
    return choices;
}

void frmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (!pw::trackFileFromMimeData(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event)
{
    const QString fileName = pw::trackFileFromMimeData(event->mimeData());
    if (fileName.isEmpty())
        return;
    event->acceptProposedAction();
    openTrackFile(fileName);
}

void frmMain::on_buttonSelectInput_clicked()
{
    const QString startDir = lastInputDir.isEmpty() ? nolimitsDir : lastInputDir;
    openTrackFile(prompts.openFileName(this, tr("Open NlTrack file"), startDir, trackFileFilter));
}

void frmMain::on_buttonReloadInput_clicked()
{
    if (!readTrack(inputFile))
        return;
    loadTrack(false);
    Q_EMIT trackLoaded();
}

bool frmMain::selectNolimitsDirectory()
{
    const QString dir = prompts.existingDirectory(this, tr("Select noLimits directory"),
                                                  QStringLiteral("/"), directoryDialogOptions);
    if (dir.isEmpty())
        return false;
    nolimitsDir = dir;
    nolimitsDirChosen = true;
    saveSettings();
    Q_EMIT nolimitsDirectoryChanged();
    return true;
}

bool frmMain::ensureNolimitsDirectoryChosen()
{
    // Until one is chosen the directory is the root of the file system: the models would land
    // there (or fail to) and the simulator would never see them.
    return nolimitsDirChosen || selectNolimitsDirectory();
}

void frmMain::on_buttonSelectNLDirectory_clicked() { selectNolimitsDirectory(); }

pw::GenerationOptions frmMain::generationOptions() const
{
    pw::GenerationOptions options;
    // A name the track cannot store is left out here; generate refuses it with the reason.
    (void)pw::objectDirectoryFromText(ui->textObjDir->text(), options.objectDirectory);
    options.choices = readFooterModelChoices();
    options.modelSourceDirectory = pw::toFileSystemPath(ui->text3dsDir->text());
    options.nolimitsDirectory = pw::toFileSystemPath(nolimitsDir);
    options.replaceFundaments = ui->deleteNativeFundaments->isChecked();
    options.alignToTangent = ui->checkAlignTangent->isChecked();
    return options;
}

QString frmMain::chosenNolimitsDirectory() const
{
    return nolimitsDirChosen ? nolimitsDir : QString();
}

void frmMain::on_buttonGenerate_clicked()
{
    if (!ensureNolimitsDirectoryChosen())
        return;
    pw::GenerationOptions options = generationOptions();
    if (const std::optional<pw::CoreError> refused =
            pw::objectDirectoryFromText(ui->textObjDir->text(), options.objectDirectory)) {
        warnGenerationFailed(pw::errorText(*refused));
        return;
    }

    pw::GenerationReport report;
    try {
        // On a copy, so that running out of memory part of the way keeps the track as it was.
        pw::Track generated = track;
        report = pw::generateFooters(generated, options);
        if (report.ok)
            track = std::move(generated);
    } catch (const std::bad_alloc&) {
        report = pw::GenerationReport{};
        report.error.code = pw::ErrorCode::NoMemoryToGenerate;
    }
    if (!report.ok) {
        warnGenerationFailed(pw::errorText(report.error));
        return;
    }
    loadTrack(false);
    ui->buttonSave->setEnabled(true);
    Q_EMIT footersGenerated(report);
}

void frmMain::warnGenerationFailed(const std::string& reason)
{
    prompts.warning(
        this, tr("Generate footers"),
        tr("The footers could not be generated:\n%1").arg(QString::fromStdString(reason)));
}

void frmMain::on_buttonSave_clicked()
{
    const QString fileName =
        prompts.saveFileName(this, tr("Save NlTrack file"), lastInputDir, trackFileFilter);
    if (fileName.isEmpty())
        return;
    const pw::WriteResult result = pw::writeTrackFile(pw::toFileSystemPath(fileName), track);
    if (!result.ok) {
        prompts.warning(this, tr("Save NlTrack file"),
                        tr("The track file %1 could not be saved:\n%2")
                            .arg(QDir::toNativeSeparators(fileName),
                                 QString::fromStdString(pw::errorReason(result.error))));
        return;
    }
    Q_EMIT trackSaved(fileName);
}

void frmMain::on_buttonSelectDirectory_clicked()
{
    const QString dir = prompts.existingDirectory(this, tr("Select footer object directory"),
                                                  nolimitsDir, directoryDialogOptions);
    if (dir.isEmpty())
        return;
    objectDir = dir;
    refreshObjectDir();
}

void frmMain::on_buttonSelectRefresh_clicked() { refreshObjectDir(); }

// The ten check-box slots keep their names for the form's connection by name; each hands the box
// that changed to the one rule.
void frmMain::on_useSmallTubeDefault_stateChanged(int) { sizeClassBoxChanged(sender()); }
void frmMain::on_useSmallTube_stateChanged(int) { sizeClassBoxChanged(sender()); }
void frmMain::on_useMediumTubeDefault_stateChanged(int) { sizeClassBoxChanged(sender()); }
void frmMain::on_useMediumTube_stateChanged(int) { sizeClassBoxChanged(sender()); }
void frmMain::on_useLargeTubeDefault_stateChanged(int) { sizeClassBoxChanged(sender()); }
void frmMain::on_useLargeTube_stateChanged(int) { sizeClassBoxChanged(sender()); }
void frmMain::on_useXLargeTubeDefault_stateChanged(int) { sizeClassBoxChanged(sender()); }
void frmMain::on_useXLargeTube_stateChanged(int) { sizeClassBoxChanged(sender()); }
void frmMain::on_useXXLargeTubeDefault_stateChanged(int) { sizeClassBoxChanged(sender()); }
void frmMain::on_useXXLargeTube_stateChanged(int) { sizeClassBoxChanged(sender()); }
