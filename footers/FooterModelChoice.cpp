#include "FooterModelChoice.h"

namespace pw {

const char* ownModelFile(TubeSizeClass sizeClass)
{
    switch (sizeClass) {
    case TubeSizeClass::Small: return "small.3ds";
    case TubeSizeClass::Medium: return "medium.3ds";
    case TubeSizeClass::Large: return "large.3ds";
    case TubeSizeClass::XLarge: return "xlarge.3ds";
    case TubeSizeClass::XXLarge: return "xxlarge.3ds";
    }
    return "";
}

const char* sizeClassLabel(TubeSizeClass sizeClass)
{
    switch (sizeClass) {
    case TubeSizeClass::Small: return "small";
    case TubeSizeClass::Medium: return "medium";
    case TubeSizeClass::Large: return "large";
    case TubeSizeClass::XLarge: return "x-large";
    case TubeSizeClass::XXLarge: return "xx-large";
    }
    return "";
}

int defaultScalePercent(TubeSizeClass sizeClass)
{
    switch (sizeClass) {
    case TubeSizeClass::Small: return 80;
    case TubeSizeClass::Medium: return 110;
    case TubeSizeClass::Large: return 200;
    case TubeSizeClass::XLarge: return 280;
    case TubeSizeClass::XXLarge: return 330;
    }
    return 100;
}

std::optional<TubeSizeClass> sizeClassOfCode(std::int32_t code)
{
    // Unsigned, so that a negative code falls with the codes above 6.
    switch (static_cast<std::uint32_t>(code)) {
    case 0: return TubeSizeClass::Medium;
    case 1: return TubeSizeClass::Large;
    case 2: return TubeSizeClass::Small;
    case 5: return TubeSizeClass::XLarge;
    case 6: return TubeSizeClass::XXLarge;
    default: return std::nullopt;
    }
}

FooterModelChoice makeFooterModelChoice(TubeSizeClass sizeClass, bool ownChecked,
                                        bool defaultChecked, int scalePercent)
{
    if (ownChecked)
        return {true, ownModelFile(sizeClass), 1.0f};
    if (defaultChecked)
        return {true, defaultModelFile, static_cast<float>(scalePercent / 100.0)};
    return {};
}

}  // namespace pw
