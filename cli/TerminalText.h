#pragma once
// Texts taken from files, made safe to show on a terminal.

#include <QString>

#include <string>

namespace pw {

// A text of a track as one line of Latin-1 that a terminal shows as it is: line breaks, escape
// sequences and other control characters of a downloaded track could forge or hide lines, so
// they are shown as visibleText shows them (\n, \r, \t, \xHH), and a backslash as \\.
QString escapedText(const std::string& latin1);

}  // namespace pw
