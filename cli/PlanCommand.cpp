#include "PlanCommand.h"

#include "ErrorReports.h"
#include "ExitCode.h"
#include "TerminalText.h"
#include "TrackLoading.h"
#include "footers/ObjectDirectory.h"
#include "qtbridge/QtPaths.h"
#include "qtbridge/VisibleText.h"
#include "models/ModelFootprints.h"
#include "plan/PlanFile.h"
#include "plan/PlanScene.h"
#include "view3d/OffscreenRenderer.h"
#include "view3d/Scene3d.h"

#include <QDir>

#include <optional>

namespace pw {

namespace {

// What a window of the 3D view would show on a common screen.
constexpr QSize picture3dSize(1280, 800);

// The plan is written all the same; say which footers are only squares, and why, and what was
// left out of a model read. The file's name comes from the track, so it is escaped as info escapes
// the track's texts.
void warnUnreadable(const ModelFootprints& footprints, const QString& directory, QTextStream& err)
{
    for (const auto& [file, problem] : footprints.unreadable())
        reportWarning(err, QDir(directory).filePath(escapedText(file)) + QStringLiteral(": ") +
                               QString::fromStdString(problem) +
                               QStringLiteral("; its footers are drawn as 1 m squares"));
    for (const auto& [file, warning] : footprints.warnings())
        reportWarning(err, QDir(directory).filePath(escapedText(file)) + QStringLiteral(": ") +
                               escapedText(warning));
}

}  // namespace

int runPlan(const PlanArguments& arguments, QTextStream& out, QTextStream& err)
{
    const QString& outputPath = arguments.outputPath;
    const std::optional<OpenedTrack> loaded =
        loadTrack(arguments.trackPath, err, WithoutTrackData::Accept);
    if (!loaded)
        return exitFailure;
    // One reader process for every model the plan reads.
    ModelReaderClient reader;
    std::optional<ModelFootprints> footprints;
    if (!arguments.modelsDirectory.isEmpty())
        footprints.emplace(toFileSystemPath(arguments.modelsDirectory), reader.fileReader());
    const QString objects =
        arguments.nolimitsDirectory.isEmpty()
            ? QString()
            : fromFileSystemPath(objectsDirectory(toFileSystemPath(arguments.nolimitsDirectory)));
    std::optional<ModelFootprints> installed;
    if (!objects.isEmpty())
        installed.emplace(toFileSystemPath(objects), reader.fileReader());
    const FootprintSources sources(footprints ? &*footprints : nullptr,
                                   installed ? &*installed : nullptr);
    Result<void> written;
    if (arguments.threeD) {
        const Result<QImage> picture = renderScene3d(
            std::make_shared<const Scene3d>(buildScene3d(loaded->track, sources)), picture3dSize);
        if (!picture) {
            reportError(err, picture.error());
            return exitFailure;
        }
        written = writePlanPicture(*picture, outputPath);
    } else {
        const PlanScene scene = buildPlanScene(
            loaded->track, arguments.front ? PlanView::Side : PlanView::Top, sources);
        written = writePlanFile(scene, outputPath);
    }
    if (!written) {
        reportError(err, written.error());
        return exitFailure;
    }
    // An installed copy that cannot be read gives way to the models directory's model.
    if (footprints)
        warnUnreadable(*footprints, arguments.modelsDirectory, err);
    else if (installed)
        warnUnreadable(*installed, objects, err);
    out << QStringLiteral("Written: %1\n").arg(visiblePath(outputPath));
    return exitSuccess;
}

}  // namespace pw
