#pragma once
// Reading the track a command works on, with the one-line error every command prints when the
// file cannot be opened.

#include "tracklib/TrackOpening.h"

#include <QString>
#include <QTextStream>

#include <optional>

namespace pw {

inline constexpr const char* cliProgramName = "plinthwright-cli";

// A TRACK given as this is read from standard input.
inline constexpr const char* standardInputName = "-";

// Reads the whole file (or standard input) into memory. When it cannot be opened, or holds no
// track data where `withoutData` refuses that, writes one line naming the file and the reason to
// `err` and returns nothing.
std::optional<OpenedTrack> loadTrack(const QString& path, QTextStream& err,
                                     WithoutTrackData withoutData = WithoutTrackData::Refuse);

// Whether `path` may be written as an output file; when it exists and is not a regular file (a
// directory, a FIFO, a device), reports that and returns false, before any work is done.
bool outputPathAccepted(const QString& path, QTextStream& err);

// The one-line failure report: "plinthwright-cli: SUBJECT: REASON", each shown as visibleText
// shows it. Every name and path the command line prints goes through visibleText.
void reportFailure(QTextStream& err, const QString& subject, const QString& reason);
// The same for a failure of the core, whose text names its subject: "plinthwright-cli: TEXT".
void reportError(QTextStream& err, const CoreError& error);
// A warning of the core: "plinthwright-cli: warning: TEXT".
void reportWarning(QTextStream& err, const CoreError& warning);

}  // namespace pw
