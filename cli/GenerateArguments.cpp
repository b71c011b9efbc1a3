#include "GenerateArguments.h"

#include "FooterChoiceArgument.h"
#include "ExitCode.h"
#include "GenerateCommand.h"
#include "SupportChoicesFile.h"
#include "TrackLoading.h"
#include "qtbridge/QtPaths.h"
#include "qtbridge/VisibleText.h"
#include "tracklib/RegularFile.h"

#include <optional>
#include <variant>
#include <vector>

namespace pw {

namespace {

// Exit 1 for a file that cannot be read, as for any other; a line it cannot read is a usage
// error, as a choice of --small is. Nothing when the choices were read.
std::optional<int> readChoicesFile(const Invocation& given, GenerateArguments& arguments)
{
    const Result<std::vector<std::uint8_t>> bytes =
        readRegularFile(toFileSystemPath(arguments.choicesFile), largestChoicesFileBytes);
    if (!bytes) {
        reportError(given.err, bytes.error());
        return exitFailure;
    }
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(bytes->data()),
                                           static_cast<qsizetype>(bytes->size()));
    std::variant<ChoicesFile, ChoicesFileProblem> parsed = parseChoicesFile(text);
    if (const auto* problem = std::get_if<ChoicesFileProblem>(&parsed))
        // The user's text goes in last, where no later arg() reads it.
        return given.usageError(
            QStringLiteral("--%1 %2, line %3: %4")
                .arg(optionName(given.options.supportChoices), visiblePath(arguments.choicesFile))
                .arg(problem->line)
                .arg(problem->problem));
    ChoicesFile& file = std::get<ChoicesFile>(parsed);
    arguments.supports = std::move(file.supports);
    arguments.choiceLines = std::move(file.lines);
    return std::nullopt;
}

}  // namespace

int runGenerateCommand(const Invocation& given)
{
    const QCommandLineParser& parser = given.parser;
    const CliOptions& options = given.options;
    for (const QCommandLineOption* required :
         {&options.output, &options.nolimitsDir, &options.modelsDir}) {
        if (parser.value(*required).isEmpty())
            return given.usageError(
                QStringLiteral("%1 needs --%2").arg(given.command, optionName(*required)));
    }
    // The object directory is named after the track file, and standard input has no name.
    if (given.track == QLatin1String(standardInputName) && !parser.isSet(options.objectDir))
        return given.usageError(QStringLiteral("%1 needs --%2 to read standard input")
                                    .arg(given.command, optionName(options.objectDir)));
    GenerateArguments arguments;
    arguments.trackPath = given.track;
    arguments.outputPath = parser.value(options.output);
    arguments.nolimitsDirectory = parser.value(options.nolimitsDir);
    arguments.modelsDirectory = parser.value(options.modelsDir);
    if (parser.isSet(options.objectDir))
        arguments.objectDirectoryName = parser.value(options.objectDir);
    for (const TubeSizeClass sizeClass : allSizeClasses) {
        const auto index = static_cast<std::size_t>(sizeClass);
        const QCommandLineOption& option = options.sizeClasses[index];
        if (!parser.isSet(option))
            continue;
        const QString text = parser.value(option);
        arguments.choices[index] = parseFooterChoice(text, sizeClass);
        if (!arguments.choices[index])
            // The user's text goes in last, where no later arg() reads it.
            return given.usageError(QStringLiteral("--%3: bad choice '%4' (own, default, "
                                                   "default:PCT with PCT %1 to %2, none)")
                                        .arg(minimumScalePercent)
                                        .arg(maximumScalePercent)
                                        .arg(optionName(option), text));
    }
    // The options turn off what both front ends do by default.
    arguments.replaceFundaments = !parser.isSet(options.replaceFundaments);
    arguments.alignToTangent = !parser.isSet(options.alignToTangent);
    if (parser.isSet(options.replaceFooters) && parser.isSet(options.addFooters))
        return given.usageError(
            QStringLiteral("--%1 and --%2 exclude each other")
                .arg(optionName(options.replaceFooters), optionName(options.addFooters)));
    if (parser.isSet(options.replaceFooters))
        arguments.earlierFooters = EarlierFooters::Replace;
    else if (parser.isSet(options.addFooters))
        arguments.earlierFooters = EarlierFooters::Add;
    if (parser.isSet(options.supportChoices)) {
        arguments.choicesFile = parser.value(options.supportChoices);
        if (const std::optional<int> refused = readChoicesFile(given, arguments))
            return *refused;
    }
    return runGenerate(arguments, given.out, given.err);
}

}  // namespace pw
