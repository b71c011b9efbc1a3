#include "PlanArguments.h"

#include "ExitCode.h"
#include "PlanCommand.h"
#include "plan/PlanFile.h"
#include "qtbridge/QtPaths.h"
#include "tracklib/AtomicFile.h"

namespace pw {

int runPlanCommand(const Invocation& given)
{
    const QCommandLineParser& parser = given.parser;
    const CliOptions& options = given.options;
    const QString output = parser.value(options.output);
    const bool threeD = parser.isSet(options.threeD);
    const bool front = parser.isSet(options.front);
    if (output.isEmpty())
        return given.usageError(
            QStringLiteral("%1 needs --%2").arg(given.command, optionName(options.output)));
    if (!outputPathAccepted(given.err, output))
        return exitFailure;
    const PlanFileFormat format = planFileFormat(output);
    if (format == PlanFileFormat::Unknown)
        return given.usageError(
            QStringLiteral("%1 writes .svg or .png, not '%2'").arg(given.command, output));
    if (threeD && format != PlanFileFormat::Png)
        return given.usageError(QStringLiteral("%1 --%2 writes .png, not '%3'")
                                    .arg(given.command, optionName(options.threeD), output));
    if (threeD && front)
        return given.usageError(
            QStringLiteral("%1 takes --%2 or --%3, not both")
                .arg(given.command, optionName(options.threeD), optionName(options.front)));
    if (Result<void> named = checkPlanFileName(output); !named) {
        reportError(given.err, named.error());
        return exitFailure;
    }
    PlanArguments plan;
    plan.trackPath = given.track;
    plan.outputPath = output;
    plan.modelsDirectory = parser.value(options.modelsDir);
    plan.nolimitsDirectory = parser.value(options.nolimitsDir);
    plan.front = front;
    plan.threeD = threeD;
    return runPlan(plan, given.out, given.err);
}

}  // namespace pw
