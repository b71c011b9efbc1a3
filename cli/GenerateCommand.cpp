#include "GenerateCommand.h"

#include "TrackLoading.h"
#include "footers/ObjectDirectory.h"
#include "frontend/ObjectDirectoryText.h"
#include "frontend/QtPaths.h"
#include "tracklib/TrackFile.h"

#include <QFileInfo>
#include <QStringList>

namespace pw {

std::optional<CoreError> generationOptions(const GenerateArguments& arguments,
                                           GenerationOptions& options)
{
    const QString objectDirectory = arguments.objectDirectoryName.value_or(
        QString::fromStdString(proposedObjectDirectoryName(toFileSystemPath(arguments.trackPath))));
    if (std::optional<CoreError> refused =
            objectDirectoryFromText(objectDirectory, options.objectDirectory))
        return refused;
    options.modelSourceDirectory = toFileSystemPath(arguments.modelsDirectory);
    options.nolimitsDirectory = toFileSystemPath(arguments.nolimitsDirectory);
    options.replaceFundaments = !arguments.keepFundaments;
    options.alignToTangent = !arguments.noAlign;
    for (const TubeSizeClass sizeClass : allSizeClasses) {
        const auto index = static_cast<std::size_t>(sizeClass);
        const ClassChoice choice = arguments.choices[index].value_or(
            choiceFromModelDirectory(options.modelSourceDirectory, sizeClass));
        options.choices[index] = toFooterModelChoice(sizeClass, choice);
    }
    return std::nullopt;
}

QString reportText(const GenerationReport& report)
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
        .arg(report.filesCopied);
}

int runGenerate(const GenerateArguments& arguments, QTextStream& out, QTextStream& err)
{
    // Read in full before anything is written, so OUT may name the input itself.
    std::optional<OpenedTrack> loaded = loadTrack(arguments.trackPath, err);
    if (!loaded)
        return 1;
    if (loaded->status == OpenStatus::NoTrackData) {
        reportFailure(err, arguments.trackPath, QStringLiteral("holds no track data"));
        return 1;
    }
    // Refused before any model is installed: nothing may change for an output never written.
    if (!outputPathAccepted(arguments.outputPath, err))
        return 1;
    if (!QFileInfo(arguments.modelsDirectory).isDir()) {
        reportFailure(err, arguments.modelsDirectory, QStringLiteral("is not a directory"));
        return 1;
    }

    GenerationOptions options;
    if (const std::optional<CoreError> refused = generationOptions(arguments, options)) {
        reportError(err, *refused);
        return 1;
    }
    const GenerationReport report = generateFooters(loaded->track, options);
    if (!report.ok) {
        reportError(err, report.error);
        return 1;
    }

    const WriteResult written =
        writeTrackFile(toFileSystemPath(arguments.outputPath), loaded->track);
    if (!written.ok) {
        reportError(err, written.error);
        return 1;
    }
    // The writer lays out only what the reader understood; say so when that was not all.
    if (isDamaged(loaded->diagnostics)) {
        err << cliProgramName << ": warning: " << arguments.trackPath << " is damaged ("
            << QString::fromStdString(passedOverText(loaded->diagnostics)) << "); "
            << arguments.outputPath << " holds only what could be read\n";
        err.flush();
    }
    out << reportText(report) << QStringLiteral("Written: %1\n").arg(arguments.outputPath);
    return 0;
}

}  // namespace pw
