#pragma once
// The tube size classes, one row each: everything the rest of the program knows about a class
// comes from this table. The window's boxes, the command line's options and their help, the
// plan's legend and colours, the 3D view's tubes and the bash completion are made from it.

#include <array>
#include <cstdint>
#include <optional>

namespace pw {

// A class is its row's index in the table below, the order in which every part of the program
// handles the classes. The names are for code that means one class in particular; a new row
// needs none.
enum class TubeSizeClass { Small, Medium, Large, XLarge, XXLarge };

struct SizeClass {
    const char* name;            // the command line's option: --small
    const char* label;           // how texts name the class: "x-large"
    const char* ownModelFile;    // the class's own model in the model directory
    std::uint32_t tubeSizeCode;  // the Tube's sizeClass field that selects the class
    int defaultScalePercent;     // the scale box's value at start
    std::uint32_t colour;        // 0xRRGGBB of its footers in the plan and the 3D view
    float tubeRadius;            // metres: its support tubes in the 3D view
    // Its widgets are use<Stem>Tube, use<Stem>TubeDefault and scale<Stem>Tube.
    const char* widgetStem;
};

inline constexpr std::array sizeClasses{
    SizeClass{"small", "small", "small.3ds", 2, 80, 0x1f77b4, 0.10f, "Small"},
    SizeClass{"medium", "medium", "medium.3ds", 0, 110, 0x2ca02c, 0.15f, "Medium"},
    SizeClass{"large", "large", "large.3ds", 1, 200, 0xff7f0e, 0.22f, "Large"},
    SizeClass{"xlarge", "x-large", "xlarge.3ds", 5, 280, 0xd62728, 0.30f, "XLarge"},
    SizeClass{"xxlarge", "xx-large", "xxlarge.3ds", 6, 330, 0x9467bd, 0.40f, "XXLarge"},
};

inline constexpr int sizeClassCount = static_cast<int>(sizeClasses.size());

inline constexpr std::array<TubeSizeClass, sizeClassCount> allSizeClasses = [] {
    std::array<TubeSizeClass, sizeClassCount> all{};
    for (int i = 0; i < sizeClassCount; ++i)
        all[static_cast<std::size_t>(i)] = static_cast<TubeSizeClass>(i);
    return all;
}();

constexpr const SizeClass& sizeClassRow(TubeSizeClass sizeClass)
{
    return sizeClasses[static_cast<std::size_t>(sizeClass)];
}

// The shared model any class may use instead of its own.
inline constexpr const char* defaultModelFile = "default.3ds";

// The percentages the default model may be scaled by, in the window and on the command line.
inline constexpr int minimumScalePercent = 10;
inline constexpr int maximumScalePercent = 1000;

constexpr const char* ownModelFile(TubeSizeClass sizeClass)
{
    return sizeClassRow(sizeClass).ownModelFile;
}
constexpr const char* sizeClassLabel(TubeSizeClass sizeClass)
{
    return sizeClassRow(sizeClass).label;
}
constexpr int defaultScalePercent(TubeSizeClass sizeClass)
{
    return sizeClassRow(sizeClass).defaultScalePercent;
}

// The class of a tube's size code, compared unsigned so that a negative code is no class either.
constexpr std::optional<TubeSizeClass> sizeClassOfCode(std::int32_t code)
{
    for (const TubeSizeClass sizeClass : allSizeClasses)
        if (sizeClassRow(sizeClass).tubeSizeCode == static_cast<std::uint32_t>(code))
            return sizeClass;
    return std::nullopt;
}

}  // namespace pw
