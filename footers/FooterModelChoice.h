#pragma once
// The footer model a generation uses for one size class, resolved from the user's choice.

#include "FooterChoice.h"
#include "SizeClasses.h"

#include <array>
#include <string>

namespace pw {

struct FooterModelChoice {
    bool enabled = false;
    std::string modelFile;  // own file or defaultModelFile; empty when not enabled
    float scale = 0.0f;     // 1 for the own model, percent / 100 for the default model
    friend bool operator==(const FooterModelChoice&, const FooterModelChoice&) = default;
};

// Indexed by TubeSizeClass.
using FooterChoices = std::array<FooterChoice, sizeClassCount>;
using FooterModelChoices = std::array<FooterModelChoice, sizeClassCount>;

// The own model at its natural size, or the default model at the choice's percentage.
FooterModelChoice footerModelChoice(TubeSizeClass sizeClass, const FooterChoice& choice);
FooterModelChoices footerModelChoices(const FooterChoices& choices);

}  // namespace pw
