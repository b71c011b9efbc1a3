#include "InfoCommand.h"

#include "TrackLoading.h"
#include "footers/FooterModelChoice.h"

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

// A track's text as one line of Latin-1 that a terminal shows as it is: line breaks, escape
// sequences and other control characters of a downloaded track could forge or hide summary lines,
// so they are written as \n, \r, \t or \xHH, and a backslash as \\.
QString escapedText(const std::string& latin1)
{
    static constexpr char hexDigits[] = "0123456789abcdef";
    QString text;
    text.reserve(static_cast<qsizetype>(latin1.size()));
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\': text += QLatin1String("\\\\"); continue;
        case '\n': text += QLatin1String("\\n"); continue;
        case '\r': text += QLatin1String("\\r"); continue;
        case '\t': text += QLatin1String("\\t"); continue;
        default: break;
        }
        // C0 controls, DEL and the C1 controls of Latin-1 (0x9b starts an escape sequence too).
        if (byte < 0x20 || (byte >= 0x7f && byte < 0xa0)) {
            text += QLatin1String("\\x");
            text += QLatin1Char(hexDigits[byte >> 4]);
            text += QLatin1Char(hexDigits[byte & 0x0F]);
        } else {
            text += QChar(byte);
        }
    }
    return text;
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
        return 1;
    out << trackSummary(loaded->track, loaded->diagnostics);
    return 0;
}

}  // namespace pw
