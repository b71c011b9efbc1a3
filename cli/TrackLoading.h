#pragma once
// Reading the track a command works on, with the one line every command prints when the file
// cannot be opened.

#include "tracklib/TrackOpening.h"

#include <QString>
#include <QTextStream>

#include <optional>

namespace pw {

// A TRACK given as this is read from standard input.
inline constexpr const char* standardInputName = "-";

// Reads the whole file (or standard input) into memory. When it cannot be opened, or holds no
// track data where `withoutData` refuses that, writes one line naming the file and the reason to
// `err` and returns nothing.
std::optional<OpenedTrack> loadTrack(const QString& path, QTextStream& err,
                                     WithoutTrackData withoutData = WithoutTrackData::Refuse);

}  // namespace pw
