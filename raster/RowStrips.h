#pragma once
// Many marks drawn together are shared between threads by strips of rows: each thread draws
// every mark, lighting only the pixels in its own rows, so that no two threads write one pixel
// and the picture is the one a single pass draws, whatever the number of strips.

#include "ThreadPool.h"

#include <algorithm>
#include <cstddef>

namespace pw {

// A strip gets at least this many rows; below that a thread's start costs more than it saves.
inline constexpr int rowsPerStrip = 64;
// The most strips a job is split into.
inline constexpr int mostStrips = 4;

// How many strips `items` marks over `rows` rows are split into: a further one for every
// `itemsPerStrip` marks, as many as the rows allow, and no more than `parts`.
inline int stripCount(std::size_t items, std::size_t itemsPerStrip, int rows, int parts)
{
    const std::size_t byItems = items / std::max<std::size_t>(itemsPerStrip, 1) + 1;
    const std::size_t byRows = static_cast<std::size_t>(std::max(rows / rowsPerStrip, 1));
    return static_cast<int>(
        std::min({byItems, byRows, static_cast<std::size_t>(std::max(parts, 1))}));
}

// Calls fill(low, high) for strips of the rows from `top` to `bottom` that together cover them
// once, on the shared pool's threads when there are many items (the pool is started then), and
// returns when all are drawn.
template <class Fill>
void fillInStrips(int top, int bottom, std::size_t items, std::size_t itemsPerStrip, Fill&& fill)
{
    const int rows = bottom - top + 1;
    if (rows <= 0)
        return;
    const int strips = stripCount(items, itemsPerStrip, rows, mostStrips);
    if (strips == 1) {
        fill(top, bottom);
        return;
    }
    // The pool may have fewer parts than asked for: `parts` is what it runs.
    auto strip = [&](int part, int parts) {
        fill(top + rows * part / parts, top + rows * (part + 1) / parts - 1);
    };
    sharedThreadPool().run(strips, strip);
}

}  // namespace pw
