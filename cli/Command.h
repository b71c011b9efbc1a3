#pragma once
// The commands of plinthwright-cli, one row each: the dispatch, the refusal of options a command
// does not take, the help's command list, the usage line (and through help the man page) and the
// bash completion are all made from this table.

#include "CliOptions.h"
#include "Invocation.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace pw {

struct Command {
    QString name;
    QStringList positionals;
    QString synopsis;                  // what the usage line shows after the positionals
    QString summary;                   // the help's description, one line of it per line
    std::vector<CliOption> options;    // those it takes, in the order its completion offers them
    QStringList outputSuffixes;        // what the file of its --output is called
    bool needsGuiApplication = false;  // it paints
    int (*run)(const Invocation&) = nullptr;

    bool takes(CliOption option) const;
};

// In the order help lists them.
const std::vector<Command>& commands();
// Nothing when no command has that name.
const Command* findCommand(const QString& name);

// "info, dump, plan or generate".
QString commandNamesSentence();
// "Usage: plinthwright-cli info TRACK | ...": one form for each command.
QString cliUsageLine();
// The help's command list, each command with its positionals and its summary beside them.
QString commandList();

}  // namespace pw
