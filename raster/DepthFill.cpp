#include "DepthFill.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace pw {

void fillBand(const DepthPicture& picture, const BandRun& band, int low, int high)
{
    const int width = picture.width, height = picture.height;
    const bool steep = band.steep;
    const int minorSize = steep ? width : height;
    // A steep band's steps are rows. Any other band's rows lie across it: only the columns
    // whose centre comes within its widest half width (and a pixel) of the rows are walked.
    int first = band.first, last = band.last;
    if (steep) {
        first = std::max(first, low);
        last = std::min(last, high);
    } else if (band.slope != 0.0f) {
        const float widest = std::max(band.reach * std::max(band.q0, band.q1), 0.5f) + 1.0f;
        const float sLow = (static_cast<float>(low) - widest - band.y0) / band.slope;
        const float sHigh = (static_cast<float>(high) + widest - band.y0) / band.slope;
        const float from = std::floor(std::min(sLow, sHigh) + band.x0 - 0.5f) - 1.0f;
        const float to = std::ceil(std::max(sLow, sHigh) + band.x0 - 0.5f) + 1.0f;
        // Clamped as floats: far beyond the view they need not fit an int.
        first = std::max(first, static_cast<int>(std::clamp(from, static_cast<float>(first),
                                                            static_cast<float>(last) + 1.0f)));
        last = std::min(last, static_cast<int>(std::clamp(to, static_cast<float>(first) - 1.0f,
                                                          static_cast<float>(last))));
    }
    const int minorLow = steep ? 0 : low, minorHigh = steep ? minorSize - 1 : high;
    std::uint32_t* const pixels = picture.pixels;
    float* const depths = picture.depths;
    // A step along the minor axis is a pixel along the row when steep, else a row.
    const std::ptrdiff_t majorStride = steep ? width : 1, minorStride = steep ? 1 : width;
    const float x0 = band.x0, y0 = band.y0, run = band.run;
    for (int major = first; major <= last; ++major) {
        // The centre, half the width across and the depth at the middle of the column; the
        // ends keep the values of the band's ends.
        const float s = std::clamp(static_cast<float>(major) + 0.5f - x0, 0.0f, run);
        const float t = run > 0.0f ? s / run : 0.0f;
        const float centre = y0 + band.slope * s;
        const float half = std::max(band.reach * (band.q0 + t * (band.q1 - band.q0)), 0.5f);
        const float depth = band.z0 + t * (band.z1 - band.z0);
        // Pixels whose centres lie within half a width of the centre line; one at least.
        int lowest = static_cast<int>(std::ceil(centre - half - 0.5f));
        int highest = static_cast<int>(std::ceil(centre + half - 0.5f)) - 1;
        if (highest < lowest)
            lowest = highest = static_cast<int>(std::floor(centre));
        if (highest < minorLow || lowest > minorHigh)
            continue;
        // The shade's index across the band in 16.16 fixed point.
        constexpr float one = 65536.0f;
        const float shadesPerPixel = static_cast<float>(bandShades) / (2.0f * half);
        const auto perPixel = static_cast<std::int32_t>(shadesPerPixel * one);
        auto shade = static_cast<std::int32_t>(
            (static_cast<float>(lowest) + 0.5f - (centre - half)) * shadesPerPixel * one);
        if (lowest < minorLow) {
            shade += (minorLow - lowest) * perPixel;
            lowest = minorLow;
        }
        highest = std::min(highest, minorHigh);
        std::ptrdiff_t i = major * majorStride + lowest * minorStride;
        for (int minor = lowest; minor <= highest; ++minor, shade += perPixel, i += minorStride) {
            if (depth < depths[i]) {
                depths[i] = depth;
                pixels[i] = band.shades[static_cast<std::size_t>(
                    std::clamp(shade >> 16, 0, bandShades - 1))];
            }
        }
    }
}

void fillDot(const DepthPicture& picture, const PixelWindow& square, float depth,
             std::uint32_t colour)
{
    for (int row = square.low; row <= square.high; ++row) {
        const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(row) * picture.width;
        for (int column = square.left; column <= square.right; ++column) {
            const std::size_t i = static_cast<std::size_t>(first + column);
            if (depth <= picture.depths[i]) {
                picture.depths[i] = depth;
                picture.pixels[i] = colour;
            }
        }
    }
}

}  // namespace pw
