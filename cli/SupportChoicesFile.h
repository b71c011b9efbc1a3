#pragma once
// The file of --choices: what the user chose for single supports, one a line.
//
//     # comments run from # to the end of the line; blank lines are passed over
//     12 none      fundament 12 gets no footer
//     7 large      fundament 7 gets the large class's model
//
// An index is a fundament's index in the track (from 0, as dump lists them), in plain digits; a
// choice is "none" or a size class's option name. Anything else, and a support named twice, is
// refused with its line number.

#include "footers/SupportChoice.h"

#include <QString>

#include <cstdint>
#include <map>
#include <variant>

namespace pw {

inline constexpr const char* noFooterWord = "none";
// A choices file is a few bytes per support; a larger one is no choices file.
inline constexpr std::uintmax_t largestChoicesFileBytes = std::uintmax_t{16} << 20;

struct ChoicesFile {
    SupportChoices supports;
    std::map<std::int32_t, int> lines;  // where each support was chosen, from 1
};

struct ChoicesFileProblem {
    int line = 0;  // from 1
    QString problem;
};

std::variant<ChoicesFile, ChoicesFileProblem> parseChoicesFile(const QString& text);

}  // namespace pw
