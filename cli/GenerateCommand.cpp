#include "GenerateCommand.h"

#include "TrackLoading.h"
#include "footers/QtPaths.h"
#include "tracklib/TrackFile.h"

#include <QFileInfo>
#include <QStringList>

namespace pw {

QString defaultObjectDirectoryName(const QString& trackPath)
{
    return QFileInfo(trackPath).baseName();
}

GenerationOptions generationOptions(const GenerateArguments& arguments)
{
    GenerationOptions options;
    const QString objectDirectory =
        arguments.objectDirectoryName.value_or(defaultObjectDirectoryName(arguments.trackPath));
    setObjectDirectory(options, objectDirectory);
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
    return options;
}

QString reportText(const GenerationReport& report)
{
    static constexpr const char* labels[sizeClassCount] = {"small", "medium", "large", "x-large",
                                                           "xx-large"};
    QStringList perClass;
    for (const TubeSizeClass sizeClass : allSizeClasses) {
        const auto index = static_cast<std::size_t>(sizeClass);
        perClass << QStringLiteral("%1 %2").arg(QLatin1String(labels[index]))
                        .arg(report.objectsAdded[index]);
    }
    return QStringLiteral("Footer objects: %1 (%2)\n"
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
    std::optional<LoadedTrack> loaded = loadTrack(arguments.trackPath, err);
    if (!loaded)
        return 1;
    if (!holdsTrackData(loaded->track)) {
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

    const GenerationReport report = generateFooters(loaded->track, generationOptions(arguments));
    if (!report.ok) {
        err << cliProgramName << ": " << QString::fromStdString(report.error) << '\n';
        err.flush();
        return 1;
    }

    const WriteResult written =
        writeTrackFile(toFileSystemPath(arguments.outputPath), loaded->track);
    if (!written.ok) {
        err << cliProgramName << ": " << QString::fromStdString(written.error) << '\n';
        err.flush();
        return 1;
    }
    // The writer lays out only what the reader understood; say so when that was not all.
    if (passedOverAnything(loaded->diagnostics)) {
        err << cliProgramName << ": warning: " << arguments.trackPath
            << " is damaged (" << passedOverText(loaded->diagnostics) << "); "
            << arguments.outputPath << " holds only what could be read\n";
        err.flush();
    }
    out << reportText(report)
        << QStringLiteral("Written: %1\n").arg(arguments.outputPath);
    return 0;
}

}  // namespace pw
