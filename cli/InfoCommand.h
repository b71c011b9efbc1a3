#pragma once
// The `info` command: a short human summary of a track.

#include <QString>
#include <QTextStream>

namespace pw {

struct Track;
struct ReadDiagnostics;

// One fact per line; the last line, about what the reader passed over, only when it passed over
// anything.
QString trackSummary(const Track& track, const ReadDiagnostics& diagnostics);

int runInfo(const QString& trackPath, QTextStream& out, QTextStream& err);

}  // namespace pw
