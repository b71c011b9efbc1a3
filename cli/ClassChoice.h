#pragma once
// What the command line says about one size class: its own model, the default model at a
// percentage, or nothing; and what a class left out of the command line gets.

#include "footers/FooterModelChoice.h"

#include <QString>

#include <filesystem>
#include <optional>

namespace pw {

struct ClassChoice {
    enum class Model { Own, Default, None };
    Model model = Model::None;
    int scalePercent = 0;  // used with the default model only
    friend bool operator==(const ClassChoice&, const ClassChoice&) = default;
};

// "own", "none", "default" (the class's start percentage) or "default:PCT" with PCT a whole
// number from 10 to 1000. Anything else gives nothing.
std::optional<ClassChoice> parseClassChoice(const QString& text, TubeSizeClass sizeClass);

// A class left out gets its own model when the directory holds it, else nothing: what the window
// shows after inspecting the same directory.
ClassChoice choiceFromModelDirectory(const std::filesystem::path& modelDirectory,
                                     TubeSizeClass sizeClass);

FooterModelChoice toFooterModelChoice(TubeSizeClass sizeClass, const ClassChoice& choice);

}  // namespace pw
