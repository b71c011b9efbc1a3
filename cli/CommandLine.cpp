#include "CommandLine.h"

#include "GenerateCommand.h"
#include "InfoCommand.h"
#include "PlanCommand.h"
#include "TrackJson.h"
#include "FooterChoiceArgument.h"
#include "TrackLoading.h"
#include "footers/FooterModelChoice.h"
#include "frontend/VisibleText.h"
#include "plan/PlanFile.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <new>
#include <vector>

namespace pw {

namespace {

struct Options {
    QCommandLineOption help{{"h", "help"}, "Show this help."};
    QCommandLineOption version{{"v", "version"}, "Show the version."};
    QCommandLineOption output{{"o", "output"},
                              "generate: the track file to write (may be TRACK itself); "
                              "plan: the picture to write (.svg or .png).",
                              "file"};
    QCommandLineOption nolimitsDir{"nolimits-dir",
                                   "The simulator's installation directory (plan: draw the "
                                   "footers already in the track as their installed models).",
                                   "dir"};
    QCommandLineOption modelsDir{"models-dir",
                                 "The directory holding the footer models (plan: draw each "
                                 "footer as its model's outline).",
                                 "dir"};
    QCommandLineOption objectDir{"object-dir",
                                 "Directory below the simulator's objects directory for the "
                                 "models (default: TRACK's name up to its first dot).",
                                 "name"};
    std::array<QCommandLineOption, sizeClassCount> classes{{
        {"small",
         QStringLiteral("Footer model of small tubes: own, default, default:PCT (PCT from %1 to "
                        "%2) or none. Left out: own when the models directory holds the class's "
                        "model, else none.")
             .arg(minimumScalePercent)
             .arg(maximumScalePercent),
         "C"},
        {"medium", "Footer model of medium tubes, as for --small.", "C"},
        {"large", "Footer model of large tubes, as for --small.", "C"},
        {"xlarge", "Footer model of x-large tubes, as for --small.", "C"},
        {"xxlarge", "Footer model of xx-large tubes, as for --small.", "C"},
    }};
    // Both front ends replace the fundaments and align the footers unless told otherwise.
    QCommandLineOption replaceFundaments{"keep-fundaments",
                                         "Keep the native fundaments instead of replacing them by "
                                         "free nodes."};
    QCommandLineOption alignToTangent{
        "no-align",
        "Turn footers about the vertical only instead of tilting them "
        "along their tube."};
    QCommandLineOption front{"front",
                             "plan: draw from the front (x right, y up) instead of from above."};
    QCommandLineOption threeD{"3d",
                              "plan: render the 3D view from its default camera into a .png "
                              "(needs OpenGL 3.3)."};

    std::vector<const QCommandLineOption*> generateOnly() const
    {
        std::vector<const QCommandLineOption*> list{&objectDir, &replaceFundaments,
                                                    &alignToTangent};
        for (const QCommandLineOption& option : classes)
            list.push_back(&option);
        return list;
    }
};

void setUp(QCommandLineParser& parser, const Options& options)
{
    parser.setApplicationDescription(
        "Inspects NoLimits Coaster track files and places footer models on their supports.");
    parser.addOptions({options.help, options.version, options.output, options.nolimitsDir,
                       options.modelsDir, options.objectDir});
    for (const QCommandLineOption& option : options.classes)
        parser.addOption(option);
    parser.addOptions(
        {options.replaceFundaments, options.alignToTangent, options.front, options.threeD});
    parser.addPositionalArgument("command", "info, dump, plan or generate.");
    parser.addPositionalArgument("track", "The track file (.nltrack); - for standard input.");
}

int usageError(QTextStream& err, const QString& problem)
{
    // The problem quotes what was given, which may hold anything.
    err << cliProgramName << ": " << visibleText(problem) << '\n' << cliUsageLine << '\n';
    err.flush();
    return exitUsage;
}

// The usage line names the forms side by side, for a usage error; help lists one form a line,
// "or:" in front of the later ones, which is also what help2man reads as the man page's synopsis.
QString synopsis()
{
    const QString usage = QString::fromLatin1(cliUsageLine);
    const QString prefix = QStringLiteral("Usage: %1 ").arg(QLatin1String(cliProgramName));
    const QStringList forms = usage.mid(prefix.size()).split(QLatin1String(" | "));
    QString text;
    for (const QString& form : forms) {
        text += (text.isEmpty() ? QStringLiteral("Usage: ") : QStringLiteral("  or:  ")) +
                QLatin1String(cliProgramName) + QLatin1Char(' ') + form + QLatin1Char('\n');
    }
    return text;
}

// Laid out as help2man reads it: the paragraphs before "Options:" describe, a line ending in
// a colon heads a subsection, and "Examples:" with "$ " lines becomes the examples.
QString helpText(const QCommandLineParser& parser)
{
    QString options = parser.helpText();
    // Keep the parser's option list; the usage line and the commands are ours.
    const qsizetype start = options.indexOf(QLatin1String("Options:"));
    const qsizetype end = options.indexOf(QLatin1String("\nArguments:"));
    if (start >= 0)
        options = options.mid(start, end > start ? end - start : -1);
    return synopsis() +
           QStringLiteral(
               "\n"
               "Inspects NoLimits Coaster track files (.nltrack) and places footer models (3ds)\n"
               "on the support tubes that stand on fundaments, as the Plinthwright window does.\n"
               "\n"
               "Commands:\n"
               "  info TRACK        A short summary of the track, and what the reader passed\n"
               "                    over if the file held anything it did not recognise.\n"
               "  dump TRACK        The whole track record as JSON on stdout.\n"
               "  plan TRACK        A plan (SVG or PNG, by the extension of --output) of track,\n"
               "                    supports and footers, seen from above, from the front\n"
               "                    (--front) or in 3D (--3d, PNG only).\n"
               "  generate TRACK    Copies the chosen footer models into objects/NAME/ of the\n"
               "                    simulator's directory as fundament-<model>, places a footer\n"
               "                    on every support tube that stands on a fundament and saves\n"
               "                    the track as OUT.\n"
               "\n"
               "TRACK is a track file, or - to read one from standard input (generate then\n"
               "needs --object-dir).\n"
               "\n") +
           options.trimmed() +
           QStringLiteral(
               "\n\n"
               "Exit status:\n"
               "  0  success\n"
               "  1  a file could not be read, written, created or copied, or generate\n"
               "     refused (nothing to place, a model missing or no 3ds model, an object\n"
               "     directory it cannot use); the output is then not created, or left as\n"
               "     it was\n"
               "  2  the command line is wrong: an unknown option, a bad choice, a missing\n"
               "     argument\n"
               "\n"
               "Examples:\n"
               "  $ plinthwright-cli info my.nltrack\n"
               "  $ plinthwright-cli plan my.nltrack -o my-plan.png --models-dir ~/footers\n"
               "  $ plinthwright-cli generate my.nltrack -o my-footers.nltrack "
               "--nolimits-dir ~/NoLimits --models-dir ~/footers --xxlarge default:300\n");
}

// The options a command does not take are refused rather than ignored.
std::optional<QString> unexpectedOption(const QCommandLineParser& parser,
                                        const std::vector<const QCommandLineOption*>& refused)
{
    for (const QCommandLineOption* option : refused) {
        if (parser.isSet(*option))
            return option->names().constLast();
    }
    return std::nullopt;
}

int runGenerateCommand(const QCommandLineParser& parser, const Options& options,
                       const QString& track, QTextStream& out, QTextStream& err)
{
    for (const QCommandLineOption* planOnly : {&options.front, &options.threeD})
        if (parser.isSet(*planOnly))
            return usageError(
                err, QStringLiteral("generate takes no --%1").arg(planOnly->names().constLast()));
    for (const QCommandLineOption* required :
         {&options.output, &options.nolimitsDir, &options.modelsDir}) {
        if (parser.value(*required).isEmpty())
            return usageError(
                err, QStringLiteral("generate needs --%1").arg(required->names().constLast()));
    }
    // The object directory is named after the track file, and standard input has no name.
    if (track == QLatin1String(standardInputName) && !parser.isSet(options.objectDir))
        return usageError(err,
                          QStringLiteral("generate needs --object-dir to read standard input"));
    GenerateArguments arguments;
    arguments.trackPath = track;
    arguments.outputPath = parser.value(options.output);
    arguments.nolimitsDirectory = parser.value(options.nolimitsDir);
    arguments.modelsDirectory = parser.value(options.modelsDir);
    if (parser.isSet(options.objectDir))
        arguments.objectDirectoryName = parser.value(options.objectDir);
    for (const TubeSizeClass sizeClass : allSizeClasses) {
        const auto index = static_cast<std::size_t>(sizeClass);
        const QCommandLineOption& option = options.classes[index];
        if (!parser.isSet(option))
            continue;
        const QString text = parser.value(option);
        arguments.choices[index] = parseFooterChoice(text, sizeClass);
        if (!arguments.choices[index])
            // The user's text goes in last, where no later arg() reads it.
            return usageError(err, QStringLiteral("--%3: bad choice '%4' (own, default, "
                                                  "default:PCT with PCT %1 to %2, none)")
                                       .arg(minimumScalePercent)
                                       .arg(maximumScalePercent)
                                       .arg(option.names().constFirst(), text));
    }
    // The options turn off what both front ends do by default.
    arguments.replaceFundaments = !parser.isSet(options.replaceFundaments);
    arguments.alignToTangent = !parser.isSet(options.alignToTangent);
    return runGenerate(arguments, out, err);
}

}  // namespace

bool needsGuiApplication(const QStringList& arguments)
{
    const Options options;
    QCommandLineParser parser;
    setUp(parser, options);
    return parser.parse(arguments) && !parser.positionalArguments().isEmpty() &&
           parser.positionalArguments().constFirst() == QLatin1String("plan");
}

namespace {

int runCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace

int runCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    // A file within the size limit can still hold more than this machine can process; that ends
    // as a failure like any other (outputs are written whole or not at all).
    try {
        return runCommand(arguments, out, err);
    } catch (const std::bad_alloc&) {
        out.flush();
        err << cliProgramName << ": not enough memory to finish\n";
        err.flush();
        return exitFailure;
    }
}

namespace {

int runCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const Options options;
    QCommandLineParser parser;
    setUp(parser, options);
    if (!parser.parse(arguments))
        return usageError(err, parser.errorText());
    if (parser.isSet(options.help)) {
        out << helpText(parser);
        return exitSuccess;
    }
    if (parser.isSet(options.version)) {
        out << cliProgramName << ' ' << PLINTHWRIGHT_VERSION << '\n';
        return exitSuccess;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(err, QStringLiteral("no command given"));
    const QString command = positional.constFirst();
    if (command != QLatin1String("info") && command != QLatin1String("dump") &&
        command != QLatin1String("plan") && command != QLatin1String("generate"))
        return usageError(err, QStringLiteral("unknown command '%1'").arg(command));
    if (positional.size() < 2)
        return usageError(err, QStringLiteral("%1 needs a TRACK").arg(command));
    if (positional.size() > 2)
        return usageError(err, QStringLiteral("unexpected argument '%1'").arg(positional[2]));
    const QString track = positional[1];

    if (command == QLatin1String("generate"))
        return runGenerateCommand(parser, options, track, out, err);

    std::vector<const QCommandLineOption*> refused = options.generateOnly();
    if (command != QLatin1String("plan"))
        refused.insert(refused.end(), {&options.output, &options.modelsDir, &options.nolimitsDir,
                                       &options.front, &options.threeD});
    if (const auto option = unexpectedOption(parser, refused))
        return usageError(err, QStringLiteral("%1 takes no --%2").arg(command, *option));

    if (command == QLatin1String("info"))
        return runInfo(track, out, err);
    if (command == QLatin1String("dump"))
        return runDump(track, out, err);
    const QString output = parser.value(options.output);
    if (output.isEmpty())
        return usageError(err, QStringLiteral("plan needs --output"));
    // A pipe, device or directory is refused as such, whatever its name says.
    if (!outputPathAccepted(output, err))
        return exitFailure;
    if (planFileFormat(output) == PlanFileFormat::Unknown)
        return usageError(err, QStringLiteral("plan writes .svg or .png, not '%1'").arg(output));
    if (parser.isSet(options.threeD) && planFileFormat(output) != PlanFileFormat::Png)
        return usageError(err, QStringLiteral("plan --3d writes .png, not '%1'").arg(output));
    if (parser.isSet(options.threeD) && parser.isSet(options.front))
        return usageError(err, QStringLiteral("plan takes --3d or --front, not both"));
    PlanArguments plan;
    plan.trackPath = track;
    plan.outputPath = output;
    plan.modelsDirectory = parser.value(options.modelsDir);
    plan.nolimitsDirectory = parser.value(options.nolimitsDir);
    plan.front = parser.isSet(options.front);
    plan.threeD = parser.isSet(options.threeD);
    return runPlan(plan, out, err);
}

}  // namespace

}  // namespace pw
