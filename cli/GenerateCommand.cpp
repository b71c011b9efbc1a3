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
    FooterChoices choices;
    for (const TubeSizeClass sizeClass : allSizeClasses) {
        const auto index = static_cast<std::size_t>(sizeClass);
        choices[index] = arguments.choices[index].value_or(
            footerChoiceFromModelDirectory(options.modelSourceDirectory, sizeClass));
    }
    options.choices = footerModelChoices(choices);
    return options;
}

QString reportText(const GenerationReport& report, const QString& nolimitsDirectory)
{
    QStringList perClass;
    for (const TubeSizeClass sizeClass : allSizeClasses) {
        const auto index = static_cast<std::size_t>(sizeClass);
        perClass << QStringLiteral("%1 %2")
                        .arg(QLatin1String(sizeClassLabel(sizeClass)))
                        .arg(report.objectsAdded[index]);
    }
    return QStringLiteral(
               "Footer objects: %1 (%2)\n"
               "Free nodes added: %3\n"
               "Fundaments removed: %4\n"
               "Files copied: %5\n")
               .arg(report.objectsAddedTotal())
               .arg(perClass.join(QStringLiteral(", ")))
               .arg(report.freeNodesAdded)
               .arg(report.fundamentsRemoved)
               .arg(report.filesCopied()) +
           installationText(report.installation, nolimitsDirectory);
}

int runGenerate(const GenerateArguments& arguments, QTextStream& out, QTextStream& err)
{
    // Read in full before anything is written, so OUT may name the input itself.
    std::optional<OpenedTrack> loaded = loadTrack(arguments.trackPath, err);
    if (!loaded)
        return exitFailure;
    // Refused before any model is installed: nothing may change for an output never written.
    // A pipe, device or directory is refused as such, whatever its name says.
    if (Result<void> kind = checkFileKind(toFileSystemPath(arguments.outputPath)); !kind) {
        reportFailure(err, arguments.outputPath, kind.error());
        return exitFailure;
    }

    // What the core refuses, the window refuses the same way: all before anything is made.
    const Result<GenerationOptions> options = generationOptions(arguments);
    if (!options) {
        reportError(err, options.error());
        return exitFailure;
    }
    const Result<GenerationReport> report = generateFooters(loaded->track, *options);
    if (!report) {
        reportError(err, report.error());
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
    // The writer lays out only what the reader understood; say so when that was not all.
    if (isDamaged(loaded->diagnostics)) {
        err << cliProgramName << ": warning: " << visiblePath(arguments.trackPath)
            << " is damaged (" << QString::fromStdString(passedOverText(loaded->diagnostics))
            << "); " << visiblePath(arguments.outputPath) << " holds only what could be read\n";
        err.flush();
    }
    out << reportText(*report, arguments.nolimitsDirectory)
        << QStringLiteral("Written: %1\n").arg(visiblePath(arguments.outputPath));
    return exitSuccess;
}

}  // namespace pw
