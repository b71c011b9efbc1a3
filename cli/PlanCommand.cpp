#include "PlanCommand.h"

#include "CommandLine.h"
#include "TrackLoading.h"
#include "frontend/QtPaths.h"
#include "plan/ModelFootprints.h"
#include "plan/PlanFile.h"
#include "plan/PlanScene.h"

#include <QDir>

#include <optional>

namespace pw {

int runPlan(const QString& trackPath, const QString& outputPath, const QString& modelsDirectory,
            QTextStream& out, QTextStream& err)
{
    // A FIFO, device or directory named as the output is refused before any work.
    if (!outputPathAccepted(outputPath, err))
        return exitFailure;
    if (planFileFormat(outputPath) == PlanFileFormat::Svg && !planSvgAvailable()) {
        reportFailure(err, outputPath,
                      QStringLiteral("SVG output is not available in this build; write a .png"));
        return exitFailure;
    }
    const std::optional<OpenedTrack> loaded = loadTrack(trackPath, err);
    if (!loaded)
        return exitFailure;
    std::optional<ModelFootprints> footprints;
    if (!modelsDirectory.isEmpty())
        footprints.emplace(toFileSystemPath(modelsDirectory));
    const PlanScene scene =
        buildPlanScene(loaded->track, PlanView::Top, footprints ? &*footprints : nullptr);
    const PlanFileResult written = writePlanFile(scene, outputPath);
    if (!written.ok) {
        reportFailure(err, outputPath, written.error);
        return exitFailure;
    }
    // The plan is written all the same; say which footers are only squares, and why.
    if (footprints) {
        for (const auto& [file, problem] : footprints->unreadable())
            err << cliProgramName
                << ": warning: " << QDir(modelsDirectory).filePath(QString::fromLatin1(file))
                << ": " << QString::fromStdString(problem)
                << "; its footers are drawn as 1 m squares\n";
        err.flush();
    }
    out << QStringLiteral("Written: %1\n").arg(outputPath);
    return exitSuccess;
}

}  // namespace pw
