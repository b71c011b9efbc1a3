#pragma once
// The `plan` command: the track seen from above as an SVG picture. x runs to the right and z
// downward; the track curve in black, the support tubes as thin lines, and every footer object as
// its transformed unit square, coloured by the size class its model name shows.

#include <QString>
#include <QTextStream>

#include <string>

namespace pw {

struct Track;

// A complete SVG document (UTF-8). Footer squares are the only <polygon> elements, one per scenery
// object whose model path contains "/fundament-"; elements with a non-finite coordinate are left out.
std::string planSvg(const Track& track);

int runPlan(const QString& trackPath, const QString& outputPath, QTextStream& out,
            QTextStream& err);

}  // namespace pw
