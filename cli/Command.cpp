#include "Command.h"

#include "DumpCommand.h"
#include "ErrorReports.h"
#include "GenerateArguments.h"
#include "InfoCommand.h"
#include "PlanArguments.h"

#include <algorithm>

namespace pw {

bool Command::takes(CliOption option) const
{
    return std::find(options.begin(), options.end(), option) != options.end();
}

const std::vector<Command>& commands()
{
    static const std::vector<Command> table{
        {"info",
         {"TRACK"},
         {},
         "A short summary of the track, and what the reader passed\n"
         "over if the file held anything it did not recognise.",
         {},
         {},
         false,
         [](const Invocation& given) { return runInfo(given.track, given.out, given.err); }},
        {"dump",
         {"TRACK"},
         {},
         "The whole track record as JSON on stdout.",
         {},
         {},
         false,
         [](const Invocation& given) { return runDump(given.track, given.out, given.err); }},
        {"plan",
         {"TRACK"},
         "-o SVG|PNG [--models-dir DIR] [--nolimits-dir DIR] [--front|--3d]",
         "A plan (SVG or PNG, by the extension of --output) of track,\n"
         "supports and footers, seen from above, from the front\n"
         "(--front) or in 3D (--3d, PNG only).",
         {CliOption::Output, CliOption::ModelsDir, CliOption::NolimitsDir, CliOption::Front,
          CliOption::ThreeD},
         {"svg", "png"},
         true,
         runPlanCommand},
        {"generate",
         {"TRACK"},
         "-o OUT --nolimits-dir DIR --models-dir DIR [options]",
         "Copies the chosen footer models into objects/NAME/ of the\n"
         "simulator's directory as fundament-<model>, places a footer\n"
         "on every support tube that stands on a fundament and saves\n"
         "the track as OUT.",
         {CliOption::Output, CliOption::NolimitsDir, CliOption::ModelsDir, CliOption::ObjectDir,
          CliOption::SizeClasses, CliOption::ReplaceFundaments, CliOption::AlignToTangent,
          CliOption::EarlierFooters, CliOption::SupportChoices},
         {"nltrack"},
         false,
         runGenerateCommand},
    };
    return table;
}

const Command* findCommand(const QString& name)
{
    for (const Command& command : commands())
        if (command.name == name)
            return &command;
    return nullptr;
}

QString commandNamesSentence()
{
    QStringList names;
    for (const Command& command : commands())
        names << command.name;
    const QString last = names.takeLast();
    return names.isEmpty() ? last
                           : names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

namespace {

QString nameAndPositionals(const Command& command)
{
    return (QStringList{command.name} + command.positionals).join(QLatin1Char(' '));
}

}  // namespace

QString cliUsageLine()
{
    QStringList forms;
    for (const Command& command : commands()) {
        QString form = nameAndPositionals(command);
        if (!command.synopsis.isEmpty())
            form += QLatin1Char(' ') + command.synopsis;
        forms << form;
    }
    return QStringLiteral("Usage: %1 ").arg(QLatin1String(cliProgramName)) +
           forms.join(QStringLiteral(" | "));
}

QString commandList()
{
    constexpr int summaryColumn = 20;
    QString text;
    for (const Command& command : commands()) {
        const QString head = QStringLiteral("  ") + nameAndPositionals(command) + QLatin1Char(' ');
        const QStringList lines = command.summary.split(QLatin1Char('\n'));
        text += head.leftJustified(summaryColumn) + lines.constFirst() + QLatin1Char('\n');
        for (const QString& line : lines.mid(1))
            text += QString(summaryColumn, QLatin1Char(' ')) + line + QLatin1Char('\n');
    }
    return text;
}

}  // namespace pw
