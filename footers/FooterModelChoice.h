#pragma once
// The five tube size classes and the footer model chosen for each.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace pw {

// Always handled in this order.
enum class TubeSizeClass { Small, Medium, Large, XLarge, XXLarge };
inline constexpr int sizeClassCount = 5;
inline constexpr std::array<TubeSizeClass, sizeClassCount> allSizeClasses{
    TubeSizeClass::Small, TubeSizeClass::Medium, TubeSizeClass::Large, TubeSizeClass::XLarge,
    TubeSizeClass::XXLarge};

inline constexpr const char* defaultModelFile = "default.3ds";

// "small.3ds", "medium.3ds", "large.3ds", "xlarge.3ds", "xxlarge.3ds".
const char* ownModelFile(TubeSizeClass sizeClass);
// "small", "medium", "large", "x-large", "xx-large": how reports name the classes.
const char* sizeClassLabel(TubeSizeClass sizeClass);
// The scale box's value at start: 80, 110, 200, 280, 330 percent.
int defaultScalePercent(TubeSizeClass sizeClass);
// The percentages the default model may be scaled by, in the window and on the command line.
inline constexpr int minimumScalePercent = 10;
inline constexpr int maximumScalePercent = 1000;

// Size code of a tube (its sizeClass field), compared unsigned: 0 medium, 1 large, 2 small,
// 5 x-large, 6 xx-large; 3, 4 and every other value have no footer.
std::optional<TubeSizeClass> sizeClassOfCode(std::int32_t code);

struct FooterModelChoice {
    bool enabled = false;
    std::string modelFile;  // own file or defaultModelFile; empty when not enabled
    float scale = 0.0f;     // 1 for the own model, percent / 100 for the default model
    friend bool operator==(const FooterModelChoice&, const FooterModelChoice&) = default;
};

// Indexed by TubeSizeClass.
using FooterModelChoices = std::array<FooterModelChoice, sizeClassCount>;

// The own model wins when both boxes are checked; the scale is read only for the default model.
FooterModelChoice makeFooterModelChoice(TubeSizeClass sizeClass, bool ownChecked,
                                        bool defaultChecked, int scalePercent);

}  // namespace pw
