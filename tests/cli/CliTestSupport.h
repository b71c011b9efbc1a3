#pragma once
// Running the command line in-process, and the files its tests work on.

#include "tracklib/Track.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace pw {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// The program name is put in front of `arguments`.
CliRun runCli(const QStringList& arguments);

// Writes the track as a file at `path`; fails the test when it cannot.
void writeTrack(const QString& path, const Track& track);
Track readTrack(const QString& path);

void writeFile(const QString& path, const QByteArray& bytes);
QByteArray fileBytes(const QString& path);

}  // namespace pw

// Readable failure messages for QString values.
#include <ostream>
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
