#include "raster/PixelRun.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

namespace pw {
namespace {

using Pixels = std::set<std::pair<int, int>>;  // (column, row)

Pixels walked(const PixelRun& run, const PixelWindow& window)
{
    Pixels lit;
    walkRun(run, window, [&lit](int column, int row) {
        EXPECT_TRUE(lit.insert({column, row}).second) << column << "," << row << " lit twice";
    });
    return lit;
}

constexpr std::int64_t one = 65536;

TEST(PixelRun, LightsOneMinorPerMajorWithinTheWindow)
{
    const PixelWindow window{0, 9, 0, 5};
    struct Case {
        const char* name;
        PixelRun run;
        Pixels expected;
    };
    PixelRun rising{false, 2, 6, 2, one / 2, one / 2};
    PixelRun steep{true, 1, 4, 0, 3 * one, -one};
    PixelRun falling{false, 0, 3, 0, one, -one};
    PixelRun clamped = falling;
    clamped.lowestMinor = 0;
    clamped.highestMinor = 5;
    const Case cases[] = {
        {"half a row a column", rising, {{2, 0}, {3, 1}, {4, 1}, {5, 2}, {6, 2}}},
        {"steep, columns by row", steep, {{2, 1}, {1, 2}, {0, 3}}},
        {"below the window: left out", falling, {{0, 1}, {1, 0}}},
        {"below the lowest minor: lit on it", clamped, {{0, 1}, {1, 0}, {2, 0}, {3, 0}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(walked(c.run, window), c.expected) << c.name;
}

// Strips of rows light exactly what one pass over the whole window lights, each only its own
// rows, whatever the step's sign or size and whether minors beyond the view are clamped.
TEST(PixelRun, StripsOfRowsLightWhatOnePassLights)
{
    const PixelWindow whole{0, 199, 0, 149};
    std::mt19937 random(3);
    std::uniform_int_distribution<int> major(-20, 220), at(-5, 5);
    std::uniform_int_distribution<std::int64_t> start(-30 * one, 180 * one),
        step(-3 * one, 3 * one);
    for (int i = 0; i < 2000; ++i) {
        PixelRun run;
        run.steep = i % 2 == 1;
        run.from = major(random);
        run.to = run.from + major(random) / 2;
        run.at = run.from + at(random);
        run.start = start(random);
        run.step = i % 7 == 0 ? 0 : step(random) / (i % 3 + 1);
        if (i % 5 == 1) {
            // Minors landing exactly on a strip's edge.
            run.start -= run.start % one;
            run.step -= run.step % (one / 4);
        }
        if (i % 4 < 2) {
            run.lowestMinor = 0;
            run.highestMinor = run.steep ? whole.right : whole.high;
        }
        const Pixels expected = walked(run, whole);
        for (const int strips : {2, 3, 7}) {
            Pixels together;
            for (int part = 0; part < strips; ++part) {
                const PixelWindow strip{whole.left, whole.right, 150 * part / strips,
                                        150 * (part + 1) / strips - 1};
                for (const auto& pixel : walked(run, strip)) {
                    EXPECT_GE(pixel.second, strip.low) << i;
                    EXPECT_LE(pixel.second, strip.high) << i;
                    together.insert(pixel);
                }
            }
            ASSERT_EQ(together, expected) << "run " << i << " in " << strips << " strips";
        }
    }
}

}  // namespace
}  // namespace pw
