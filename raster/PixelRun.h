#pragma once
// The walk of a one-pixel line: one pixel in every column it spans (every row, for a steep
// line), at a minor coordinate that grows by a fixed step per pixel, in 16.16 fixed point. The
// plans and the 3D view work out where their lines start and how steeply they run, each by its
// own sampling rule, and light the pixels through this one walk, a strip of rows at a time.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <type_traits>

namespace pw {

struct PixelRun {
    bool steep = false;  // rows are the major axis, columns the minor one
    int from = 0;        // the majors walked, both included
    int to = -1;
    int at = 0;              // the major whose minor `start` gives
    std::int64_t start = 0;  // minor pixel floor(start / 65536) at `at`
    std::int64_t step = 0;   // added to `start` per major
    // A minor beyond these is lit on them: a line clipped to the view can round past its edge
    // at its first and last pixel.
    std::int64_t lowestMinor = std::numeric_limits<std::int64_t>::min();
    std::int64_t highestMinor = std::numeric_limits<std::int64_t>::max();
};

// The columns and rows a walk may light, all four included.
struct PixelWindow {
    int left = 0, right = -1, low = 0, high = -1;
};

// The pixels of `run` from major `from` to `to`, `fixed` being the minor at `from`, lit where
// the minor lies within [minorLow, minorHigh]. `plot` is a copy of the caller's, so that nothing
// written through it can change what it holds: it stays in registers.
template <bool steep, bool clamped, class Plot>
void walkSteps(const PixelRun& run, int from, int to, std::int64_t fixed, int minorLow,
               int minorHigh, Plot plot)
{
    const std::int64_t step = run.step;
    const std::int64_t lowest = run.lowestMinor, highest = run.highestMinor;
    const auto range = static_cast<unsigned>(minorHigh) - static_cast<unsigned>(minorLow);
    for (int major = from; major <= to; ++major, fixed += step) {
        std::int64_t minor = fixed >> 16;
        if constexpr (clamped)
            minor = std::clamp(minor, lowest, highest);
        if (static_cast<std::uint64_t>(minor - minorLow) > range)
            continue;
        if constexpr (steep)
            plot(static_cast<int>(minor), major);
        else
            plot(major, static_cast<int>(minor));
    }
}

// Calls plot(column, row) for each pixel of `run` within `window`, on a copy of `plot` (let it
// hold pointers and values). Across a window narrower than the minor range, only the steps that
// may reach it are walked (a step more at each side, and the minor checked at every pixel, keep
// it exact), so that a strip of rows costs its share.
template <class Plot>
void walkRun(const PixelRun& run, const PixelWindow& window, Plot&& plot)
{
    const int majorLow = run.steep ? window.low : window.left;
    const int majorHigh = run.steep ? window.high : window.right;
    const int minorLow = run.steep ? window.left : window.low;
    const int minorHigh = run.steep ? window.right : window.high;
    int from = std::max(run.from, majorLow);
    int to = std::min(run.to, majorHigh);
    if (from > to || minorLow > minorHigh)
        return;
    const auto minorOf = [&run](std::int64_t fixed) {
        return std::clamp(fixed >> 16, run.lowestMinor, run.highestMinor);
    };
    const std::int64_t step = run.step;
    if (step == 0) {
        const std::int64_t minor = minorOf(run.start);
        if (minor < minorLow || minor > minorHigh)
            return;
    } else if (minorLow > run.lowestMinor || minorHigh < run.highestMinor) {
        // Steps k from `at` at which start + k * step lies within the window's minors. A minor
        // beyond the lowest or highest is lit on it: a bound holds only on a side where the
        // window stops short of that.
        const std::int64_t lowest = static_cast<std::int64_t>(minorLow) * 65536;
        const std::int64_t highest = (static_cast<std::int64_t>(minorHigh) + 1) * 65536 - 1;
        const bool boundLow = minorLow > run.lowestMinor;
        const bool boundHigh = minorHigh < run.highestMinor;
        const auto inside = [&](std::int64_t fixed) {
            return (!boundLow || fixed >= lowest) && (!boundHigh || fixed <= highest);
        };
        // The minors only grow or only shrink: with both ends inside, every step is.
        if (!inside(run.start + static_cast<std::int64_t>(from - run.at) * step) ||
            !inside(run.start + static_cast<std::int64_t>(to - run.at) * step)) {
            const std::int64_t magnitude = step > 0 ? step : -step;
            const auto floorDiv = [magnitude](std::int64_t n) {
                return n >= 0 ? n / magnitude : -((-n + magnitude - 1) / magnitude);
            };
            const bool boundBelow = step > 0 ? boundLow : boundHigh;
            const bool boundAbove = step > 0 ? boundHigh : boundLow;
            const std::int64_t below = step > 0 ? lowest - run.start : run.start - highest;
            const std::int64_t above = step > 0 ? highest - run.start : run.start - lowest;
            const std::int64_t kFrom = boundBelow ? floorDiv(below) - 1 : from - run.at;
            const std::int64_t kTo = boundAbove ? floorDiv(above) + 1 : to - run.at;
            const int walkFrom =
                static_cast<int>(std::clamp<std::int64_t>(run.at + kFrom, from, to + 1));
            to = static_cast<int>(std::clamp<std::int64_t>(run.at + kTo, from - 1, to));
            from = walkFrom;
        }
    }
    const std::int64_t fixed = run.start + static_cast<std::int64_t>(from - run.at) * step;
    const bool clamped = run.lowestMinor > std::numeric_limits<std::int64_t>::min() ||
                         run.highestMinor < std::numeric_limits<std::int64_t>::max();
    // The loop is chosen once per line, not at every pixel.
    const auto steps = [&](auto steep, auto clamp) {
        walkSteps<decltype(steep)::value, decltype(clamp)::value>(run, from, to, fixed, minorLow,
                                                                  minorHigh, plot);
    };
    using Yes = std::true_type;
    using No = std::false_type;
    if (run.steep && clamped)
        steps(Yes{}, Yes{});
    else if (run.steep)
        steps(Yes{}, No{});
    else if (clamped)
        steps(No{}, Yes{});
    else
        steps(No{}, No{});
}

}  // namespace pw
