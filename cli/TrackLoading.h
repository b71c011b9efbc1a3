#pragma once
// Reading the track a command works on, with the one-line error every command prints when the
// file cannot be opened.

#include "tracklib/Track.h"
#include "tracklib/TrackFile.h"

#include <QString>
#include <QTextStream>

#include <optional>

namespace pw {

inline constexpr const char* cliProgramName = "plinthwright-cli";

struct LoadedTrack {
    Track track;
    ReadDiagnostics diagnostics;
};

// A TRACK given as this is read from standard input.
inline constexpr const char* standardInputName = "-";

// Reads the whole file (or standard input) into memory. When it cannot be opened, writes one line naming the file
// and the reason to `err` and returns nothing.
std::optional<LoadedTrack> loadTrack(const QString& path, QTextStream& err);

// Whether the reader skipped bytes, stopped chunks early or found texts that saving cuts at a
// zero byte, and the text that says how much: "N bytes skipped; chunks cut short: M", followed
// by "; texts cut at a zero byte: K" when there are such texts. A chunk stopped by a negative
// text length counts as cut short, as one cut off by the end of the file does.
bool passedOverAnything(const ReadDiagnostics& diagnostics);
QString passedOverText(const ReadDiagnostics& diagnostics);

// Whether `path` may be written as an output file; when it exists and is not a regular file (a
// directory, a FIFO, a device), reports that and returns false, before any work is done.
bool outputPathAccepted(const QString& path, QTextStream& err);

// The one-line failure report: "plinthwright-cli: SUBJECT: REASON".
void reportFailure(QTextStream& err, const QString& subject, const QString& reason);

}  // namespace pw
