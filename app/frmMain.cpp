#include "frmMain.h"
#include "ui_frmMain.h"

#include "ApplicationNames.h"
#include "IncomingTrackFile.h"
#include "PlanSummary.h"
#include "ResultLine.h"
#include "footers/FooterError.h"
#include "qtbridge/InstallationText.h"
#include "qtbridge/QtPaths.h"
#include "qtbridge/VisibleText.h"
#include "tracklib/TrackOpening.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QAction>
#include <QGridLayout>
#include <QKeySequence>
#include <QMimeData>
#include <QSettings>
#include <QShortcut>

#include <cstddef>
#include <utility>

namespace {

const QString trackFileFilter = QStringLiteral("NoLimits Coaster Files (*.nltrack)");
const QString trackSuffix = QStringLiteral("nltrack");
const QFileDialog::Options directoryDialogOptions =
    QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks;

// Settings keys beside the NoLimits directory, in the window's group.
const QString nolimitsDirKey = QStringLiteral("nolimitsDir");
const QString modelDirKey = QStringLiteral("modelDir");
const QString replaceFundamentsKey = QStringLiteral("deleteNativeFundaments");
const QString alignToTangentKey = QStringLiteral("checkAlignTangent");

}  // namespace

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::frmMain>()), prompts(pw::standardUserPrompts())
{
    // The form connects the on_<object>_<signal> slots by name at its end, after every start
    // state is set, so no check-box rule runs while the tree is built.
    ui->setupUi(this);
    pw::registerApplicationNames();

    findSizeClassControls();
    addResultRow();
    connectChoices();
    loadSettings();
    showTitle();
    showNolimitsDirectory();

    setAcceptDrops(true);
    // A track dropped on the file field should open, not become its text.
    ui->textInputFile->setAcceptDrops(false);

    // Not widgets: the tree stays as it is. Written out, since Windows has no standard Quit key.
    const auto shortcut = [this](QKeyCombination keys, auto action) {
        connect(new QShortcut(QKeySequence(keys), this), &QShortcut::activated, this, action);
    };
    shortcut(Qt::CTRL | Qt::Key_O, [this] { ui->buttonSelectInput->click(); });
    shortcut(Qt::CTRL | Qt::Key_S, [this] { ui->buttonSave->click(); });
    shortcut(Qt::CTRL | Qt::Key_Q, [this] { close(); });
    shortcut(Qt::CTRL | Qt::Key_P, [this] { buttonShowPlan->click(); });
    addUndoActions();
}

void frmMain::addUndoActions()
{
    // Actions of the window, not widgets: the tree and its tab chain stay as they are.
    QAction* undo = session_.undoStack().createUndoAction(this, tr("Undo"));
    undo->setObjectName(QStringLiteral("actionUndo"));
    undo->setShortcuts(QKeySequence::Undo);
    QAction* redo = session_.undoStack().createRedoAction(this, tr("Redo"));
    redo->setObjectName(QStringLiteral("actionRedo"));
    // Both spellings on every system: Ctrl+Y is the Windows habit, Ctrl+Shift+Z the others'.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                     QKeySequence(Qt::CTRL | Qt::Key_Y)})
        if (!redoKeys.contains(keys))
            redoKeys << keys;
    redo->setShortcuts(redoKeys);
    addAction(undo);
    addAction(redo);
}

void frmMain::showStepped()
{
    showTrack();
    if (const std::optional<pw::GenerationReport>& report = session_.lastReport())
        showGenerated(*report);
    else
        resultLine->setResult(session_.isModified() ? tr("Generate undone")
                                                    : tr("Generate undone: the track is as saved"),
                              {}, pw::nolimitsSummary(session_.nolimitsDirectory()));
}

void frmMain::chooseForSupport(std::int32_t fundament, std::optional<pw::SupportChoice> choice)
{
    session_.setSupportChoice(fundament, choice);
}

void frmMain::addResultRow()
{
    // Made after the widget tree, so both come after its tab chain; the line takes no focus.
    auto* row = new QHBoxLayout();
    row->setObjectName(QStringLiteral("resultLayout"));
    row->setSpacing(6);
    resultLine = new ResultLine(this);
    resultLine->setObjectName(QStringLiteral("labelResult"));
    buttonShowPlan = new QPushButton(tr("plan window"), this);
    buttonShowPlan->setObjectName(QStringLiteral("buttonShowPlan"));
    buttonShowPlan->setToolTip(tr("Shows the plan window again, in front (Ctrl+P)"));
    buttonShowPlan->setEnabled(false);
    row->addWidget(resultLine, 1);
    row->addWidget(buttonShowPlan);
    ui->gridLayout_2->addLayout(row, 9, 0);
    connect(buttonShowPlan, &QPushButton::clicked, this, &frmMain::planWindowRequested);
}

void frmMain::showTitle()
{
    if (!session_.hasTrack()) {
        setWindowFilePath(QString());
        return;
    }
    // A "[*]" of the file's own is doubled, or it would stand for the unsaved mark.
    QString name = pw::visibleText(QFileInfo(session_.trackFile()).fileName());
    name.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
    setWindowFilePath(session_.trackFile());
    setWindowTitle(tr("%1[*] \u2014 Plinthwright").arg(name));
    setWindowModified(session_.isModified());
}

void frmMain::showNolimitsDirectory()
{
    const QString summary = pw::nolimitsSummary(session_.nolimitsDirectory());
    ui->buttonSelectNLDirectory->setToolTip(summary);
    const QString directory = session_.nolimitsDirectory();
    if (directory.isEmpty())
        resultLine->setResult(tr("NoLimits directory: not chosen yet; generate asks for it"), {});
    else
        resultLine->setResult(tr("NoLimits directory: %1"), pw::visiblePath(directory));
}

void frmMain::showGenerated(const pw::GenerationReport& report)
{
    const int placed = report.objectsAddedTotal();
    const int copied = report.filesCopied();
    QString counted;
    if (report.earlierFootersRemoved > 0)
        counted += tr(", %1 earlier removed").arg(report.earlierFootersRemoved);
    if (report.footersOfChosenModel > 0)
        counted += tr(", %1 of a model chosen for their support").arg(report.footersOfChosenModel);
    if (report.footersLeftOut > 0)
        counted += tr(", %1 left out").arg(report.footersLeftOut);
    const QString sentence =
        (placed == 1 ? tr("1 footer placed") : tr("%1 footers placed").arg(placed)) + counted +
        (copied == 1 ? tr(", 1 model copied to %1") : tr(", %1 models copied to %2").arg(copied));
    resultLine->setResult(sentence, pw::visiblePath(report.installation.directory),
                          pw::nolimitsSummary(session_.nolimitsDirectory()));
}

frmMain::~frmMain()
{
    // The fields lose the focus as the widget tree goes, after this object is gone.
    for (const QLineEdit* field : {ui->textInputFile, ui->text3dsDir})
        disconnect(field, nullptr, this, nullptr);
}

void frmMain::setUserPrompts(pw::UserPrompts newPrompts) { prompts = std::move(newPrompts); }

void frmMain::findSizeClassControls()
{
    for (const pw::TubeSizeClass sizeClass : pw::allSizeClasses) {
        const QString stem = QLatin1String(pw::sizeClassRow(sizeClass).widgetStem);
        sizeClassControls[static_cast<std::size_t>(sizeClass)] = {
            findChild<QCheckBox*>(QStringLiteral("use%1Tube").arg(stem)),
            findChild<QCheckBox*>(QStringLiteral("use%1TubeDefault").arg(stem)),
            findChild<QSpinBox*>(QStringLiteral("scale%1Tube").arg(stem))};
    }
}

void frmMain::connectChoices()
{
    for (const pw::TubeSizeClass sizeClass : pw::allSizeClasses) {
        const SizeClassControls& boxes = controls(sizeClass);
        connect(boxes.scale, &QSpinBox::valueChanged, this,
                [this, sizeClass] { storeSizeClass(sizeClass); });
        // The form has connected the boxes that have a slot named after them; a class without
        // such slots is connected here, to the same rule.
        for (QCheckBox* box : {boxes.ownModel, boxes.defaultModel}) {
            const QByteArray slot = "on_" + box->objectName().toLatin1() + "_stateChanged(int)";
            if (metaObject()->indexOfSlot(slot.constData()) < 0)
                connect(box, &QCheckBox::stateChanged, this,
                        [this, box] { sizeClassBoxChanged(box); });
        }
    }
    connect(ui->deleteNativeFundaments, &QCheckBox::toggled, this, [this](bool checked) {
        session_.setReplaceFundaments(checked);
        saveSettings();
    });
    connect(ui->checkAlignTangent, &QCheckBox::toggled, this, [this](bool checked) {
        session_.setAlignToTangent(checked);
        saveSettings();
    });
    connect(ui->textObjDir, &QLineEdit::textChanged, &session_,
            &TrackSession::setObjectDirectoryText);
    connect(ui->textInputFile, &QLineEdit::editingFinished, this, &frmMain::typedTrackFile);
    connect(ui->text3dsDir, &QLineEdit::editingFinished, this, &frmMain::typedModelDirectory);
    connect(&session_, &TrackSession::modelDirectoryInspected, this, &frmMain::showInspection);
    connect(&session_, &TrackSession::trackReplaced, this, [this] {
        showTitle();
        showNolimitsDirectory();
    });
    connect(&session_, &TrackSession::modifiedChanged, this, &QWidget::setWindowModified);
    connect(&session_, &TrackSession::trackStepped, this, &frmMain::showStepped);
    connect(&session_, &TrackSession::stepWarnings, this,
            [this](const std::vector<pw::CoreError>& warnings) {
                prompts.warning(this, tr("Undo"),
                                tr("The track was changed, but these files were left as they "
                                   "stood:\n%1")
                                    .arg(pw::visibleErrors(warnings)));
            });
    connect(&session_, &TrackSession::nolimitsDirectoryChanged, this,
            &frmMain::showNolimitsDirectory);
}

void frmMain::loadSettings()
{
    // The default format is the platform's own store; tests switch it to files of their own.
    settings = pw::openSettingsStore(this).release();
    settings->beginGroup(QStringLiteral("frmMain"));
    // Until the user chooses one, the dialogs start at the root of the file system.
    const QString nolimitsDir = settings->value(nolimitsDirKey).toString();
    const QString modelDir = settings->value(modelDirKey).toString();
    const bool replaceFundaments = settings->value(replaceFundamentsKey, true).toBool();
    const bool alignToTangent = settings->value(alignToTangentKey, true).toBool();
    settings->endGroup();
    if (!nolimitsDir.isEmpty())
        session_.setNolimitsDirectory(nolimitsDir);
    ui->deleteNativeFundaments->setChecked(replaceFundaments);
    ui->checkAlignTangent->setChecked(alignToTangent);
    // A directory gone since is simply not looked at again: the session refuses it.
    if (!modelDir.isEmpty())
        (void)session_.inspectModelDirectory(modelDir);
}

void frmMain::saveSettings()
{
    settings->beginGroup(QStringLiteral("frmMain"));
    if (!session_.nolimitsDirectory().isEmpty())
        settings->setValue(nolimitsDirKey, session_.nolimitsDirectory());
    if (!session_.modelDirectory().isEmpty())
        settings->setValue(modelDirKey, session_.modelDirectory());
    settings->setValue(replaceFundamentsKey, session_.replaceFundaments());
    settings->setValue(alignToTangentKey, session_.alignToTangent());
    settings->endGroup();
}

bool frmMain::readTrack(const QString& fileName)
{
    const pw::Result<pw::ReadDiagnostics> opened = session_.openTrack(fileName);
    if (!opened) {
        warnPathFailed(tr("Open NlTrack file"), tr("The track file %1 could not be opened:\n%2"),
                       fileName, opened.error());
        return false;
    }
    // The track loads all the same; saving it lays out only what the reader understood.
    if (pw::isDamaged(*opened)) {
        prompts.warning(this, tr("Open NlTrack file"),
                        tr("The track file %1 is damaged (%2).\nOnly what could be read is "
                           "loaded, and only that will be saved.")
                            .arg(pw::visiblePath(fileName),
                                 QString::fromStdString(pw::passedOverText(*opened))));
    }
    showTrack();
    return true;
}

void frmMain::showTrack()
{
    lastInputDir = QFileInfo(session_.trackFile()).absolutePath();
    ui->textInputFile->setText(session_.trackFile());
    ui->textNumberFooter->setText(QStringLiteral("%1").arg(session_.track().fundaments.size()));
    ui->textObjDir->setText(session_.objectDirectoryText());
    ui->buttonReloadInput->setEnabled(true);
    ui->buttonGenerate->setEnabled(true);
    ui->groupOptions->setEnabled(true);
    buttonShowPlan->setEnabled(true);
}

void frmMain::openTrackFile(const QString& fileName)
{
    if (fileName.isEmpty() || !mayLeaveUnsavedWork())
        return;
    readTrack(fileName);
}

void frmMain::typedTrackFile()
{
    const QString typed = ui->textInputFile->text();
    if (takingTypedPath || typed == session_.trackFile())
        return;
    takingTypedPath = true;
    // The field shows what the session holds until the typed file has been opened.
    ui->textInputFile->setText(session_.trackFile());
    if (typed.isEmpty() || !mayLeaveUnsavedWork()) {
        takingTypedPath = false;
        return;
    }
    readTrack(QFileInfo(typed).absoluteFilePath());
    takingTypedPath = false;
}

bool frmMain::refreshObjectDir(const QString& directory)
{
    const pw::Result<void> inspected = session_.inspectModelDirectory(directory);
    if (!inspected) {
        warnPathFailed(tr("Select footer object directory"),
                       tr("The footer object directory %1 could not be used:\n%2"), directory,
                       inspected.error());
        return false;
    }
    saveSettings();
    return true;
}

bool frmMain::typedModelDirectory()
{
    const QString typed = ui->text3dsDir->text();
    if (takingTypedPath || typed == session_.modelDirectory())
        return true;
    takingTypedPath = true;
    ui->text3dsDir->setText(session_.modelDirectory());
    const bool taken = typed.isEmpty() || refreshObjectDir(QFileInfo(typed).absoluteFilePath());
    takingTypedPath = false;
    return taken;
}

void frmMain::showInspection()
{
    ui->text3dsDir->setText(session_.modelDirectory());
    ui->buttonSelectRefresh->setEnabled(true);
    const pw::ModelDirectoryContents& contents = *session_.modelDirectoryContents();
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
        else
            continue;
        storeSizeClass(sizeClass);
    }
}

void frmMain::storeSizeClass(pw::TubeSizeClass sizeClass)
{
    const SizeClassControls& boxes = controls(sizeClass);
    using Model = pw::FooterChoice::Model;
    // The own model wins should both boxes be checked; the scale box's value is kept either way.
    const Model model = boxes.ownModel->isChecked()       ? Model::Own
                        : boxes.defaultModel->isChecked() ? Model::Default
                                                          : Model::None;
    session_.setFooterChoice(sizeClass, {model, boxes.scale->value()});
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

void frmMain::closeEvent(QCloseEvent* event)
{
    if (mayLeaveUnsavedWork())
        event->accept();
    else
        event->ignore();
}

bool frmMain::mayLeaveUnsavedWork()
{
    if (!session_.isModified())
        return true;
    const QString name = pw::visibleText(QFileInfo(session_.trackFile()).fileName());
    if (!session_.isTrackModified()) {
        // The track itself is as saved: saving it would keep nothing of the choices.
        return prompts.question(this, tr("Plinthwright"),
                                tr("The footer choices for single supports of %1 will be lost.")
                                    .arg(name),
                                QMessageBox::Discard | QMessageBox::Cancel) ==
               QMessageBox::Discard;
    }
    const QMessageBox::StandardButton answer = prompts.question(
        this, tr("Plinthwright"),
        tr("The generated footers of %1 are not saved.\nDo you want to save the track?").arg(name),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    switch (answer) {
    case QMessageBox::Save: return saveWithDialog();
    case QMessageBox::Discard: return true;
    default: return false;
    }
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
    const QString nolimitsDir =
        session_.nolimitsDirectory().isEmpty() ? QStringLiteral("/") : session_.nolimitsDirectory();
    const QString startDir = lastInputDir.isEmpty() ? nolimitsDir : lastInputDir;
    const QString fileName =
        prompts.openFileName(this, tr("Open NlTrack file"), startDir, trackFileFilter);
    openTrackFile(fileName);
}

void frmMain::on_buttonReloadInput_clicked()
{
    if (mayLeaveUnsavedWork())
        readTrack(session_.trackFile());
}

bool frmMain::selectNolimitsDirectory()
{
    const QString dir = prompts.existingDirectory(this, tr("Select NoLimits directory"),
                                                  QStringLiteral("/"), directoryDialogOptions);
    if (dir.isEmpty())
        return false;
    session_.setNolimitsDirectory(dir);
    saveSettings();
    return true;
}

bool frmMain::ensureNolimitsDirectoryChosen()
{
    // Until one is chosen the directory is the root of the file system: the models would land
    // there (or fail to) and the simulator would never see them.
    return !session_.nolimitsDirectory().isEmpty() || selectNolimitsDirectory();
}

void frmMain::on_buttonSelectNLDirectory_clicked() { selectNolimitsDirectory(); }

void frmMain::on_buttonGenerate_clicked()
{
    if (!ensureNolimitsDirectoryChosen())
        return;
    // A directory typed but not yet taken (no Enter, the focus still in the field) is taken now;
    // one refused stops here rather than generating from the directory before it.
    if (!typedModelDirectory())
        return;
    const std::optional<pw::EarlierFooters> earlier = askAboutEarlierFooters();
    if (!earlier)
        return;
    const pw::Result<pw::GenerationReport> report = session_.generate(*earlier);
    if (!report) {
        warnGenerationFailed(report.error());
        return;
    }
    showTrack();
    ui->buttonSave->setEnabled(true);
    showGenerated(*report);
    // Generated all the same; what the user should know about the models is said after.
    if (!report->installation.warnings.empty())
        prompts.warning(this, tr("Generate footers"),
                        tr("The footers were generated, with a warning:\n%1")
                            .arg(pw::visibleErrors(report->installation.warnings)));
}

std::optional<pw::EarlierFooters> frmMain::askAboutEarlierFooters()
{
    const std::size_t earlier = session_.earlierFooterCount();
    if (earlier == 0)
        return pw::EarlierFooters::Add;
    const QString held = earlier == 1 ? tr("The track holds 1 footer placed by an earlier generate.")
                                      : tr("The track holds %1 footers placed by an earlier "
                                           "generate.")
                                            .arg(earlier);
    const int answer = prompts.choice(
        this, tr("Generate footers"),
        held + tr("\nReplace them with the new footers, or add the new ones beside them?"),
        {tr("Replace the earlier footers"), tr("Add"), tr("Cancel")});
    switch (answer) {
    case 0: return pw::EarlierFooters::Replace;
    case 1: return pw::EarlierFooters::Add;
    default: return std::nullopt;
    }
}

void frmMain::warnGenerationFailed(const pw::CoreError& error)
{
    // Two refusals are a plain state of the track or the models rather than a fault: said so.
    QString why;
    if (error.code == pw::FooterError::NothingToPlace) {
        why =
            tr("no support tube of a size class with a footer model stands on a fundament, so "
               "not one footer would be placed (a fundament replaced by an earlier generate "
               "has its footer already)");
    } else if (error.code == pw::FooterError::NoModelChosen &&
               session_.modelDirectoryHoldsNoModel()) {
        why = tr("the footer object directory %1 holds none of the footer models (small.3ds, "
                 "medium.3ds, large.3ds, xlarge.3ds, xxlarge.3ds, default.3ds)")
                  .arg(pw::visiblePath(session_.modelDirectory()));
    }
    const QString reason = why.isEmpty() ? pw::visibleError(error) : why;
    resultLine->setResult(tr("Nothing generated: ") + reason, QString());
    if (why.isEmpty()) {
        prompts.warning(this, tr("Generate footers"),
                        tr("The footers could not be generated:\n%1").arg(reason));
        return;
    }
    prompts.warning(this, tr("Generate footers"),
                    tr("Nothing to generate: %1.\nNo model was copied, and the track is "
                       "unchanged.")
                        .arg(why));
}

void frmMain::warnPathFailed(const QString& title, const QString& sentence, const QString& path,
                             const pw::CoreError& error)
{
    prompts.warning(this, title, sentence.arg(pw::visiblePath(path), pw::visibleReason(error)));
}

bool frmMain::saveWithDialog()
{
    QString start = lastInputDir;
    QString fileName;
    for (;;) {
        fileName = prompts.saveFileName(this, tr("Save NlTrack file"), start, trackFileFilter);
        if (fileName.isEmpty())
            return false;
        // The dialog asked about replacing the name as typed; the name with the suffix is asked
        // here. Not replacing it means choosing another name, as in the dialog itself: back to
        // it, with this name to edit.
        if (!QFileInfo(fileName).suffix().isEmpty())
            break;
        fileName += QLatin1Char('.') + trackSuffix;
        if (!QFileInfo::exists(fileName) ||
            prompts.question(
                this, tr("Save NlTrack file"),
                tr("%1 already exists.\nDo you want to replace it?").arg(pw::visiblePath(fileName)),
                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
            break;
        start = fileName;
    }
    const pw::Result<void> saved = session_.saveTrack(fileName);
    if (!saved) {
        warnPathFailed(tr("Save NlTrack file"), tr("The track file %1 could not be saved:\n%2"),
                       fileName, saved.error());
        return false;
    }
    return true;
}

void frmMain::on_buttonSave_clicked() { saveWithDialog(); }

void frmMain::on_buttonSelectDirectory_clicked()
{
    const QString nolimitsDir =
        session_.nolimitsDirectory().isEmpty() ? QStringLiteral("/") : session_.nolimitsDirectory();
    const QString dir = prompts.existingDirectory(this, tr("Select footer object directory"),
                                                  nolimitsDir, directoryDialogOptions);
    if (!dir.isEmpty())
        refreshObjectDir(dir);
}

void frmMain::on_buttonSelectRefresh_clicked() { refreshObjectDir(session_.modelDirectory()); }

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
