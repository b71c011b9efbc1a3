#pragma once
// Names, paths and messages as the front ends show them, terminal and window alike: every
// character that is not there to be seen (line breaks, escape sequences, bidirectional overrides)
// is written out, so that a file's name can neither drive a terminal nor forge or hide a line.

#include "tracklib/CoreError.h"

#include <QString>

#include <filesystem>
#include <vector>

namespace pw {

// The text with each control character (C0, DEL, C1) as \n, \r, \t or \xHH, and each other
// invisible formatting character (Unicode's format characters and the line and paragraph
// separators, such as U+202E) as \u{HHHH}. Everything else, backslashes included, stays.
QString visibleText(const QString& text);

// A path with the platform's separators, shown so.
QString visiblePath(const std::filesystem::path& path);
QString visiblePath(const QString& path);

// The core's sentence for a failure or warning, shown so.
QString visibleError(const CoreError& error);
// Several, one a line.
QString visibleErrors(const std::vector<CoreError>& errors);
// The reason alone, for a front end that names the subject itself, shown so.
QString visibleReason(const CoreError& error);

}  // namespace pw
