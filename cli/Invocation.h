#pragma once
// What a command is given when the command line names it: the parsed options, its TRACK and the
// two streams.

#include "CliOptions.h"
#include "ErrorReports.h"

#include <QCommandLineParser>
#include <QString>
#include <QTextStream>

namespace pw {

struct Invocation {
    const QCommandLineParser& parser;
    const CliOptions& options;
    QString command;  // its name, for messages
    QString track;
    QString usageLine;
    QTextStream& out;
    QTextStream& err;

    // "plinthwright-cli: PROBLEM" and the usage line; returns exitUsage.
    int usageError(const QString& problem) const
    {
        return reportUsageError(err, problem, usageLine);
    }
};

}  // namespace pw
