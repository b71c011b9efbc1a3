#include "PlanSummary.h"

#include "footers/ModelDirectory.h"
#include "qtbridge/InstallationText.h"
#include "qtbridge/QtPaths.h"
#include "qtbridge/VisibleText.h"
#include "plan/PlanScene.h"

#include <QFileInfo>

#include <algorithm>

namespace pw {

namespace {

QString count(int n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

QString metres(float value) { return QString::number(value, 'f', 2); }

}  // namespace

QString trackSummary(const QString& fileName, const Track& track)
{
    const auto footers =
        std::count_if(track.sceneryObjects.begin(), track.sceneryObjects.end(), isFooterObject);
    return QStringLiteral("%1 \u2014 %2, %3, %4")
        .arg(visibleText(QFileInfo(fileName).fileName()),
             count(static_cast<int>(track.fundaments.size()), "fundament", "fundaments"),
             count(static_cast<int>(track.tubes.size()), "tube", "tubes"),
             count(static_cast<int>(footers), "footer", "footers"));
}

QString modelSummary(ModelFootprints& footprints)
{
    QStringList models;
    std::vector<std::string> files;
    for (const TubeSizeClass sizeClass : allSizeClasses)
        files.emplace_back(ownModelFile(sizeClass));
    files.emplace_back(defaultModelFile);
    for (const std::string& file : files) {
        if (!hasModelFile(footprints.directory(), file))
            continue;
        const ModelFootprint& footprint = footprints.of(file);
        const QString name = QString::fromStdString(file);
        if (!footprint.readable) {
            models << QStringLiteral("%1: %2").arg(
                name, visibleText(QString::fromStdString(footprint.problem)));
            continue;
        }
        const Vector3 lo = footprint.minimum;
        const Vector3 hi = footprint.maximum;
        models << QStringLiteral("%1 %2 \u00d7 %3 \u00d7 %4 m")
                      .arg(name, metres(hi.x - lo.x), metres(hi.z - lo.z), metres(hi.y - lo.y));
    }
    if (models.isEmpty())
        return QStringLiteral("no footer models in %1").arg(visiblePath(footprints.directory()));
    return models.join(QStringLiteral(", "));
}

QString generateSummary(const GenerationReport& report, int doubled,
                        const std::filesystem::path& nolimitsDirectory)
{
    QStringList perClass;
    for (const TubeSizeClass sizeClass : allSizeClasses) {
        const int added = report.objectsAdded[static_cast<std::size_t>(sizeClass)];
        if (added > 0)
            perClass
                << QStringLiteral("%1 %2").arg(QLatin1String(sizeClassLabel(sizeClass))).arg(added);
    }
    QString text =
        QStringLiteral("Placed %1").arg(count(report.objectsAddedTotal(), "footer", "footers"));
    if (!perClass.isEmpty())
        text += QStringLiteral(" (%1)").arg(perClass.join(QStringLiteral(", ")));
    if (report.footersOfChosenModel > 0)
        text += QStringLiteral(", %1 of a model chosen for its support")
                    .arg(count(report.footersOfChosenModel, "footer", "footers"));
    if (report.footersLeftOut > 0)
        text += QStringLiteral(", left out %1").arg(count(report.footersLeftOut, "support", "supports"));
    if (report.earlierFootersRemoved > 0)
        text += QStringLiteral(", removed %1 placed before")
                    .arg(count(report.earlierFootersRemoved, "footer", "footers"));
    if (report.freeNodesAdded > 0)
        text += QStringLiteral(", replaced %1")
                    .arg(count(report.fundamentsRemoved, "fundament", "fundaments"));
    const ModelInstallation& installation = report.installation;
    text += QStringLiteral(", copied %1 to %2")
                .arg(count(report.filesCopied(), "model", "models"),
                     visiblePath(installation.directory));
    if (!installation.copied.empty())
        text +=
            QStringLiteral(" (%1)").arg(copiedFileNames(installation).join(QStringLiteral(", ")));
    for (const QString& replaced : replacedCopies(installation, nolimitsDirectory))
        text += QStringLiteral(", ") + replaced;
    if (doubled > 0)
        text += QStringLiteral(", %1 doubled").arg(count(doubled, "footer", "footers"));
    return text;
}

QString nolimitsSummary(const QString& nolimitsDirectory)
{
    return QStringLiteral("NoLimits directory: %1")
        .arg(nolimitsDirectory.isEmpty() ? QStringLiteral("not chosen")
                                         : visiblePath(nolimitsDirectory));
}

}  // namespace pw
