#include "GenerateCommand.h"

#include "ErrorReports.h"
#include "ExitCode.h"
#include "FooterChoiceArgument.h"
#include "TrackLoading.h"
#include "footers/ObjectDirectory.h"
#include "qtbridge/InstallationText.h"
#include "qtbridge/ObjectDirectoryText.h"
#include "qtbridge/QtPaths.h"
#include "qtbridge/VisibleText.h"
#include "tracklib/AtomicFile.h"
#include "tracklib/TrackFile.h"

#include <QStringList>

namespace pw {

namespace {

// "Copied to: DIR", each copy's file name, and each copy that replaced a different file.
QString installationText(const ModelInstallation& installation, const QString& nolimitsDirectory)
{
    const std::filesystem::path nolimits = toFileSystemPath(nolimitsDirectory);
    QString text = QStringLiteral("Copied to: %1\n").arg(visiblePath(installation.directory));
    for (const QString& name : copiedFileNames(installation))
        text += QStringLiteral("  %1\n").arg(name);
    for (const QString& line : replacedCopies(installation, nolimits))
        text += line.at(0).toUpper() + line.mid(1) + QLatin1Char('\n');
    return text;
}

// A choice the core cannot honour is named by its line in the choices file.
void reportGenerationRefused(QTextStream& err, const CoreError& error,
                             const GenerateArguments& arguments)
{
    const bool aboutSupport = error.code == ErrorCode(FooterError::SupportNotInTrack) ||
                              error.code == ErrorCode(FooterError::SupportModelNotChosen);
    const auto line = arguments.choiceLines.find(static_cast<std::int32_t>(error.size));
    if (!aboutSupport || line == arguments.choiceLines.end()) {
        reportError(err, error);
        return;
    }
    reportFailure(
        err,
        QStringLiteral("%1, line %2").arg(visiblePath(arguments.choicesFile)).arg(line->second),
        QString::fromStdString(errorText(error)));
}

}  // namespace

Result<GenerationOptions> generationOptions(const GenerateArguments& arguments)
{
    const QString objectDirectory = arguments.objectDirectoryName.value_or(
        QString::fromStdString(proposedObjectDirectoryName(toFileSystemPath(arguments.trackPath))));
    Result<ObjectDirectory> named = objectDirectoryFromText(objectDirectory);
    if (!named)
        return named.error();
    GenerationOptions options;
    options.objectDirectory = std::move(*named);
    options.modelSourceDirectory = toFileSystemPath(arguments.modelsDirectory);
    options.nolimitsDirectory = toFileSystemPath(arguments.nolimitsDirectory);
    options.replaceFundaments = arguments.replaceFundaments;
    options.alignToTangent = arguments.alignToTangent;
    options.earlierFooters = arguments.earlierFooters.value_or(EarlierFooters::Add);
    options.supports = arguments.supports;
    FooterChoices choices;
    for (const TubeSizeClass sizeClass : allSizeClasses) {
        const auto index = static_cast<std::size_t>(sizeClass);
        choices[index] = arguments.choices[index].value_or(
            footerChoiceFromModelDirectory(options.modelSourceDirectory, sizeClass));
    }
    options.choices = footerModelChoices(choices);
    return options;
}

QString reportText(const GenerationReport& report, const GenerateArguments& arguments)
{
    QStringList perClass;
    for (const TubeSizeClass sizeClass : allSizeClasses) {
        const auto index = static_cast<std::size_t>(sizeClass);
        perClass << QStringLiteral("%1 %2")
                        .arg(QLatin1String(sizeClassLabel(sizeClass)))
                        .arg(report.objectsAdded[index]);
    }
    QString text = QStringLiteral("Footer objects: %1 (%2)\n")
                       .arg(report.objectsAddedTotal())
                       .arg(perClass.join(QStringLiteral(", ")));
    if (!arguments.supports.empty())
        text += QStringLiteral("Supports chosen for: %1 with another class's model, %2 left out\n")
                    .arg(report.footersOfChosenModel)
                    .arg(report.footersLeftOut);
    if (arguments.earlierFooters == EarlierFooters::Replace) {
        text += QStringLiteral("Earlier footers removed: %1\n").arg(report.earlierFootersRemoved);
        if (report.earlierFootersKept > 0)
            text += QStringLiteral("Earlier footers kept, their fundaments replaced before: %1\n")
                        .arg(report.earlierFootersKept);
    }
    return text +
           QStringLiteral(
               "Free nodes added: %1\n"
               "Fundaments removed: %2\n"
               "Files copied: %3\n")
               .arg(report.freeNodesAdded)
               .arg(report.fundamentsRemoved)
               .arg(report.filesCopied()) +
           installationText(report.installation, arguments.nolimitsDirectory);
}

int runGenerate(const GenerateArguments& arguments, QTextStream& out, QTextStream& err)
{
    // Read in full before anything is written, so OUT may name the input itself.
    std::optional<OpenedTrack> loaded = loadTrack(arguments.trackPath, err);
    if (!loaded)
        return exitFailure;
    // Refused before any model is installed: nothing may change for an output never written.
    if (!outputPathAccepted(err, arguments.outputPath))
        return exitFailure;

    // What the core refuses, the window refuses the same way: all before anything is made.
    const Result<GenerationOptions> options = generationOptions(arguments);
    if (!options) {
        reportError(err, options.error());
        return exitFailure;
    }
    const Result<GenerationReport> report = generateFooters(loaded->track, *options);
    if (!report) {
        reportGenerationRefused(err, report.error(), arguments);
        return exitFailure;
    }

    if (Result<void> written =
            writeTrackFile(toFileSystemPath(arguments.outputPath), loaded->track);
        !written) {
        reportError(err, written.error());
        return exitFailure;
    }
    for (const CoreError& warning : report->installation.warnings)
        reportWarning(err, warning);
    // Scripts written before there was a choice keep adding; they are told what that did.
    if (!arguments.earlierFooters && report->earlierFootersKept > 0) {
        reportWarning(err,
                      QStringLiteral("%1 held %2 %3 placed before, and the new ones were added "
                                     "beside them; --replace-footers replaces them, "
                                     "--add-footers adds without this warning")
                          .arg(visiblePath(arguments.trackPath),
                               QString::number(report->earlierFootersKept),
                               report->earlierFootersKept == 1 ? QStringLiteral("footer")
                                                               : QStringLiteral("footers")));
    }
    // The writer lays out only what the reader understood; say so when that was not all.
    if (isDamaged(loaded->diagnostics))
        reportWarning(err, QStringLiteral("%1 is damaged (%2); %3 holds only what could be read")
                               .arg(visiblePath(arguments.trackPath),
                                    QString::fromStdString(passedOverText(loaded->diagnostics)),
                                    visiblePath(arguments.outputPath)));
    out << reportText(*report, arguments)
        << QStringLiteral("Written: %1\n").arg(visiblePath(arguments.outputPath));
    return exitSuccess;
}

}  // namespace pw
