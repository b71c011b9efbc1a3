#include "DrawingPath.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace pw {

namespace {

std::string lowered(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

}  // namespace

bool isSoftwareRenderer(std::string_view renderer, std::string_view vendor)
{
    const std::string names = lowered(renderer) + '\n' + lowered(vendor);
    constexpr std::string_view software[] = {
        "llvmpipe",
        "softpipe",
        "swrast",
        "gdi generic",
        "basic render driver",
        "apple software renderer",
    };
    return std::any_of(std::begin(software), std::end(software), [&](std::string_view name) {
        return names.find(name) != std::string::npos;
    });
}

std::optional<DrawingPath> forcedDrawingPath(std::string_view value)
{
    const std::string name = lowered(value);
    if (name == "software")
        return DrawingPath::Software;
    if (name == "hardware")
        return DrawingPath::Hardware;
    return std::nullopt;
}

DrawingPath chooseDrawingPath(std::string_view renderer, std::string_view vendor,
                              std::optional<DrawingPath> forced)
{
    if (forced)
        return *forced;
    return isSoftwareRenderer(renderer, vendor) ? DrawingPath::Software : DrawingPath::Hardware;
}

const char* drawingPathName(DrawingPath path)
{
    return path == DrawingPath::Software ? "software" : "hardware";
}

}  // namespace pw
