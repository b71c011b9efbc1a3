#pragma once
// What the command line says about one size class (--small own, --large default:150), and what
// a class left out of it gets.

#include "footers/FooterChoice.h"
#include "footers/SizeClasses.h"

#include <QString>

#include <array>
#include <filesystem>
#include <optional>

namespace pw {

inline constexpr const char* ownModelWord = "own";
inline constexpr const char* defaultModelWord = "default";
inline constexpr const char* defaultPercentPrefix = "default:";  // goes on with the percentage
inline constexpr const char* noModelWord = "none";
// What the completion offers.
inline constexpr std::array footerChoiceWords{ownModelWord, defaultModelWord, defaultPercentPrefix,
                                              noModelWord};

// "own", "none", "default" (the class's start percentage) or "default:PCT" with PCT a whole
// number from 10 to 1000. Anything else gives nothing.
std::optional<FooterChoice> parseFooterChoice(const QString& text, TubeSizeClass sizeClass);

// A class left out gets its own model when the directory holds it, else nothing: what the window
// shows after inspecting the same directory.
FooterChoice footerChoiceFromModelDirectory(const std::filesystem::path& modelDirectory,
                                            TubeSizeClass sizeClass);

}  // namespace pw
