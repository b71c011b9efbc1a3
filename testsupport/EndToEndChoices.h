#pragma once
// The choices of the end-to-end generation that the window's tests and the command line's tests
// both run, so that each can compare its saved track with what the core makes of them.

#include "footers/FooterGeneration.h"

#include <filesystem>
#include <string>

namespace pw {

// Every class on its own model but medium, which takes the default model at 150 percent;
// fundaments replaced, footers turned rather than tilted.
inline GenerationOptions endToEndChoices(const std::string& objectDirectory,
                                         const std::filesystem::path& models,
                                         const std::filesystem::path& nolimits)
{
    GenerationOptions options;
    for (const TubeSizeClass sizeClass : allSizeClasses)
        options.choices[static_cast<std::size_t>(sizeClass)] = footerModelChoice(
            sizeClass, {sizeClass == TubeSizeClass::Medium ? FooterChoice::Model::Default
                                                           : FooterChoice::Model::Own,
                        150});
    options.objectDirectory = ObjectDirectory{objectDirectory};
    options.modelSourceDirectory = models;
    options.nolimitsDirectory = nolimits;
    options.replaceFundaments = true;
    options.alignToTangent = false;
    return options;
}

}  // namespace pw
