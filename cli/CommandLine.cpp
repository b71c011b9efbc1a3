#include "CommandLine.h"

#include "CliOptions.h"
#include "Command.h"
#include "ErrorReports.h"
#include "Invocation.h"
#include "tracklib/Catching.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <optional>

namespace pw {

namespace {

// The usage line names the forms side by side, for a usage error; help lists one form a line,
// "or:" in front of the later ones, which is also what help2man reads as the man page's synopsis.
QString synopsis()
{
    const QString usage = cliUsageLine();
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
               "Commands:\n") +
           commandList() +
           QStringLiteral(
               "\n"
               "TRACK is a track file, or - to read one from standard input (generate then\n"
               "needs --object-dir).\n"
               "\n") +
           options.trimmed() +
           QStringLiteral(
               "\n\n"
               "Choices file:\n"
               "  generate --choices FILE reads one support a line, by the index of its\n"
               "  fundament in the track (from 0, as dump lists them): '12 none' leaves it\n"
               "  without a footer, '7 large' gives it that class's model (small, medium,\n"
               "  large, xlarge, xxlarge). A # starts a comment; blank lines are passed over.\n"
               "\n"
               "Exit status:\n"
               "  0  success\n"
               "  1  a file could not be read, written, created or copied, or generate\n"
               "     refused (nothing to place, a model missing or no 3ds model, an object\n"
               "     directory it cannot use, a support the track lacks); the output is then\n"
               "     not created, or left as it was\n"
               "  2  the command line is wrong: an unknown option, a bad choice or line of a\n"
               "     choices file, a missing argument, options that exclude each other\n"
               "\n"
               "Examples:\n"
               "  $ plinthwright-cli info my.nltrack\n"
               "  $ plinthwright-cli plan my.nltrack -o my-plan.png --models-dir ~/footers\n"
               "  $ plinthwright-cli generate my.nltrack -o my-footers.nltrack "
               "--nolimits-dir ~/NoLimits --models-dir ~/footers --xxlarge default:300\n"
               "  $ plinthwright-cli generate my-footers.nltrack -o my-footers.nltrack "
               "--nolimits-dir ~/NoLimits --models-dir ~/footers --object-dir my "
               "--keep-fundaments --replace-footers --choices my-supports.txt\n");
}

// The options a command does not take are refused rather than ignored.
std::optional<QString> refusedOption(const QCommandLineParser& parser, const CliOptions& options,
                                     const Command& command)
{
    for (const CliOption id : allCliOptions) {
        if (command.takes(id))
            continue;
        for (const QCommandLineOption* option : options.of(id))
            if (parser.isSet(*option))
                return optionName(*option);
    }
    return std::nullopt;
}

int runCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const CliOptions options;
    QCommandLineParser parser;
    setUpParser(parser, options, commandNamesSentence());
    const QString usageLine = cliUsageLine();
    const auto usageError = [&](const QString& problem) {
        return reportUsageError(err, problem, usageLine);
    };
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
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
        return usageError(QStringLiteral("no command given"));
    const Command* command = findCommand(positional.constFirst());
    if (command == nullptr)
        return usageError(QStringLiteral("unknown command '%1'").arg(positional.constFirst()));
    const qsizetype expected = 1 + command->positionals.size();
    if (positional.size() < expected)
        return usageError(QStringLiteral("%1 needs a %2")
                              .arg(command->name, command->positionals[positional.size() - 1]));
    if (positional.size() > expected)
        return usageError(QStringLiteral("unexpected argument '%1'").arg(positional[expected]));
    if (const auto option = refusedOption(parser, options, *command))
        return usageError(QStringLiteral("%1 takes no --%2").arg(command->name, *option));
    return command->run(
        Invocation{parser, options, command->name, positional.value(1), usageLine, out, err});
}

}  // namespace

bool needsGuiApplication(const QStringList& arguments)
{
    const CliOptions options;
    QCommandLineParser parser;
    setUpParser(parser, options, commandNamesSentence());
    if (!parser.parse(arguments) || parser.positionalArguments().isEmpty())
        return false;
    const Command* command = findCommand(parser.positionalArguments().constFirst());
    return command != nullptr && command->needsGuiApplication;
}

int runCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    // A file within the size limit can still hold more than this machine can process; that ends
    // as a failure like any other (outputs are written whole or not at all).
    const Result<int> ran = catchingAllocation([&] { return runCommand(arguments, out, err); });
    if (ran)
        return *ran;
    out.flush();
    err << cliProgramName << ": not enough memory to finish\n";
    err.flush();
    return exitFailure;
}

}  // namespace pw
