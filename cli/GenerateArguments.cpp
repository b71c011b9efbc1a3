#include "GenerateArguments.h"

#include "FooterChoiceArgument.h"
#include "GenerateCommand.h"
#include "TrackLoading.h"

namespace pw {

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
    return runGenerate(arguments, given.out, given.err);
}

}  // namespace pw
