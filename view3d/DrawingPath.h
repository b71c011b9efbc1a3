#pragma once
// How the 3D view draws: on the processor where OpenGL itself runs on the processor (a software
// renderer pays per 4 x 4 block each sliver triangle of a thin tube touches), or everything on
// the graphics card, uploaded once per scene.

#include <optional>
#include <string_view>

namespace pw {

enum class DrawingPath {
    Software,  // thin tubes, lines and small footers drawn on the processor each frame
    Hardware,  // every tube a cylinder, small footers points, all on the card
};

// The variable that forces a path, for tests and bug reports: "software" or "hardware".
inline constexpr const char* drawingPathVariable = "PLINTHWRIGHT_3D_PATH";

// Whether GL_RENDERER and GL_VENDOR name a renderer that runs on the processor: Mesa's llvmpipe,
// softpipe and swrast, Microsoft's GDI generic renderer and its basic render driver, Apple's
// software renderer.
bool isSoftwareRenderer(std::string_view renderer, std::string_view vendor);

// The path a variable's value forces; none for an empty or unknown value.
std::optional<DrawingPath> forcedDrawingPath(std::string_view value);

// The forced path where there is one, else the one that suits the renderer.
DrawingPath chooseDrawingPath(std::string_view renderer, std::string_view vendor,
                              std::optional<DrawingPath> forced);

const char* drawingPathName(DrawingPath path);

}  // namespace pw
