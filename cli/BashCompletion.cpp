#include "BashCompletion.h"

#include "CliOptions.h"
#include "Command.h"
#include "FooterChoiceArgument.h"

#include <QRegularExpression>
#include <QStringList>

#include <map>
#include <vector>

namespace pw {

namespace {

using OptionList = std::vector<const QCommandLineOption*>;

// "-o | --output": a case pattern matching every name of the options.
QString pattern(const OptionList& options)
{
    QStringList names;
    for (const QCommandLineOption* option : options)
        for (const QString& name : option->names())
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    return names.join(QStringLiteral(" | "));
}

// "--help --version": the long names, for compgen.
QString longNames(const OptionList& options)
{
    QStringList names;
    for (const QCommandLineOption* option : options)
        names << QStringLiteral("--") + optionName(*option);
    return names.join(QLatin1Char(' '));
}

OptionList withValueName(const CliOptions& options, const QString& valueName)
{
    OptionList list;
    for (const QCommandLineOption* option : options.all())
        if (option->valueName() == valueName)
            list.push_back(option);
    return list;
}

// One line of a case statement, indented as the template's case statement is.
QString caseArm(int indent, const QString& pattern, const QString& action)
{
    return QString(indent, QLatin1Char(' ')) + pattern + QStringLiteral(") ") + action +
           QStringLiteral(" ;;");
}

// What _filedir completes an output of the command as, where that is not a track.
QString outputFiles()
{
    QStringList arms;
    for (const Command& command : commands()) {
        const QStringList& suffixes = command.outputSuffixes;
        if (suffixes.isEmpty() || suffixes == QStringList{QStringLiteral("nltrack")})
            continue;
        const QString glob = suffixes.size() == 1
                                 ? suffixes.constFirst()
                                 : QStringLiteral("'@(%1)'").arg(suffixes.join(QLatin1Char('|')));
        arms << caseArm(16, command.name, QStringLiteral("_filedir ") + glob);
    }
    return arms.join(QLatin1Char('\n'));
}

QString commandOptions(const CliOptions& options)
{
    QStringList arms;
    for (const Command& command : commands()) {
        OptionList taken;
        for (const CliOption id : command.options)
            for (const QCommandLineOption* option : options.of(id))
                taken.push_back(option);
        arms << caseArm(12, command.name, QStringLiteral("options='%1'").arg(longNames(taken)));
    }
    return arms.join(QLatin1Char('\n'));
}

std::map<QString, QString> placeholders()
{
    const CliOptions options;
    OptionList valued;
    for (const QCommandLineOption* option : options.all())
        if (!option->valueName().isEmpty())
            valued.push_back(option);
    // Files read, of any name: those named "file" besides the output.
    OptionList inputFiles = withValueName(options, QStringLiteral("file"));
    std::erase(inputFiles, &options.output);
    QStringList commandNames;
    for (const Command& command : commands())
        commandNames << command.name;
    QStringList choices;
    for (const char* word : footerChoiceWords)
        choices << QLatin1String(word);
    return {
        {"VALUE_OPTIONS", pattern(valued)},
        {"OUTPUT_OPTION", pattern({&options.output})},
        {"OUTPUT_FILES", outputFiles()},
        {"DIRECTORY_OPTIONS", pattern(withValueName(options, QStringLiteral("dir")))},
        {"FILE_OPTIONS", pattern(inputFiles)},
        {"NAME_OPTIONS", pattern(withValueName(options, QStringLiteral("name")))},
        {"SIZE_CLASS_OPTIONS", pattern(options.of(CliOption::SizeClasses))},
        {"SIZE_CLASS_CHOICES", choices.join(QLatin1Char(' '))},
        {"COMMAND_OPTIONS", commandOptions(options)},
        {"GLOBAL_OPTIONS", longNames({&options.help, &options.version})},
        {"COMMANDS", commandNames.join(QLatin1Char(' '))},
    };
}

}  // namespace

std::optional<QString> bashCompletion(const QString& script)
{
    const std::map<QString, QString> words = placeholders();
    static const QRegularExpression placeholder(QStringLiteral("@([A-Z_]+)@"));
    QString result;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(script)) {
        const auto found = words.find(match.captured(1));
        if (found == words.end())
            return std::nullopt;
        result += script.mid(done, match.capturedStart() - done) + found->second;
        done = match.capturedEnd();
    }
    return result + script.mid(done);
}

}  // namespace pw
