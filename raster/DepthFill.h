#pragma once
// Marks that keep a depth per pixel, as OpenGL's window depth (0 near to 1 far), so that they
// and the meshes they are laid under hide one another as they lie:
// - bands: tubes a few pixels wide, shaded across;
// - dots: squares, as OpenGL draws points.
// Where marks meet, the nearer shows.

#include "PixelRun.h"

#include <array>
#include <cstdint>

namespace pw {

// Colours and depths of the same pixels, row by row.
struct DepthPicture {
    std::uint32_t* pixels = nullptr;
    float* depths = nullptr;
    int width = 0;
    int height = 0;
};

inline constexpr int bandShades = 8;  // shades across a band, from one edge to the other

// A band along its major axis (x, or y when steep) in window pixels: its start, its depths and
// 1 / w at both ends, its length and slope, its half width per unit of 1 / w, the majors it
// covers in the picture, and its shades.
struct BandRun {
    bool steep;
    float x0, y0, z0, z1, q0, q1, run, slope, reach;
    int first, last;
    std::array<std::uint32_t, bandShades> shades;
};

// Lights the pixels of `band` in rows `low` to `high` that nothing nearer covers.
void fillBand(const DepthPicture& picture, const BandRun& band, int low, int high);

// Lights the pixels of `square` (within the picture) at `depth` where nothing nearer lies.
void fillDot(const DepthPicture& picture, const PixelWindow& square, float depth,
             std::uint32_t colour);

}  // namespace pw
