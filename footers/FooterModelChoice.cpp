#include "FooterModelChoice.h"

namespace pw {

FooterModelChoice footerModelChoice(TubeSizeClass sizeClass, const FooterChoice& choice)
{
    switch (choice.model) {
    case FooterChoice::Model::Own: return {true, ownModelFile(sizeClass), 1.0f};
    case FooterChoice::Model::Default:
        return {true, defaultModelFile, static_cast<float>(choice.scalePercent / 100.0)};
    case FooterChoice::Model::None: break;
    }
    return {};
}

FooterModelChoices footerModelChoices(const FooterChoices& choices)
{
    FooterModelChoices resolved;
    for (const TubeSizeClass sizeClass : allSizeClasses) {
        const auto index = static_cast<std::size_t>(sizeClass);
        resolved[index] = footerModelChoice(sizeClass, choices[index]);
    }
    return resolved;
}

}  // namespace pw
