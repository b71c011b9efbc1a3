#include "InfoCommand.h"

#include "ExitCode.h"
#include "TerminalText.h"
#include "TrackLoading.h"
#include "footers/SizeClasses.h"

#include <QStringList>

#include <array>

namespace pw {

namespace {

bool standsOnFundament(const Tube& tube)
{
    return tube.endA.kind == TubeEndFundament || tube.endB.kind == TubeEndFundament;
}

QString tubeLine(const Track& track)
{
    std::array<int, sizeClassCount> perClass{};
    int withoutClass = 0;
    int onFundament = 0;
    for (const Tube& tube : track.tubes) {
        if (const auto sizeClass = sizeClassOfCode(tube.sizeClass))
            ++perClass[static_cast<int>(*sizeClass)];
        else
            ++withoutClass;
        if (standsOnFundament(tube))
            ++onFundament;
    }
    QStringList parts;
    for (const TubeSizeClass sizeClass : allSizeClasses)
        parts << QStringLiteral("%1 %2")
                     .arg(QLatin1String(sizeClassLabel(sizeClass)))
                     .arg(perClass[static_cast<int>(sizeClass)]);
    parts << QStringLiteral("no class %1").arg(withoutClass);
    return QStringLiteral("Tubes: %1 (%2; %3 on a fundament)")
        .arg(track.tubes.size())
        .arg(parts.join(QStringLiteral(", ")))
        .arg(onFundament);
}

QString railConnectorLine(const Track& track)
{
    qsizetype connectors = 0;
    for (const RailConnectorGroup& group : track.groups)
        connectors += static_cast<qsizetype>(group.connectors.size());
    return QStringLiteral("Rail connectors: %1 (in %2 groups)")
        .arg(connectors)
        .arg(track.groups.size());
}

QString terrainLine(const Terrain& terrain)
{
    if (terrain.terrainColumns == 0)
        return QStringLiteral("Terrain: none");
    return QStringLiteral("Terrain: %1 columns x %2 rows")
        .arg(terrain.terrainColumns)
        .arg(terrain.terrainRows);
}

}  // namespace

QString trackSummary(const Track& track, const ReadDiagnostics& diagnostics)
{
    QStringList lines;
    lines << QStringLiteral("Info text: ") + escapedText(track.infoText)
          << QStringLiteral("Vertices: %1").arg(track.vertices.size())
          << QStringLiteral("Segments: %1").arg(track.segments.size())
          << QStringLiteral("Fundaments: %1").arg(track.fundaments.size())
          << railConnectorLine(track)
          << QStringLiteral("Free nodes: %1").arg(track.freeNodes.size()) << tubeLine(track)
          << QStringLiteral("Catwalks: %1").arg(track.catwalks.size())
          << QStringLiteral("Scenery items: %1").arg(track.sceneryItems.size())
          << QStringLiteral("Scenery objects: %1").arg(track.sceneryObjects.size())
          << terrainLine(track.terrain);
    if (isDamaged(diagnostics))
        lines << QStringLiteral("Passed over: ") +
                     QString::fromStdString(passedOverText(diagnostics));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

int runInfo(const QString& trackPath, QTextStream& out, QTextStream& err)
{
    // A summary of nothing would pass a file of other bytes off as an empty track.
    const std::optional<OpenedTrack> loaded = loadTrack(trackPath, err);
    if (!loaded)
        return exitFailure;
    out << trackSummary(loaded->track, loaded->diagnostics);
    return exitSuccess;
}

}  // namespace pw
