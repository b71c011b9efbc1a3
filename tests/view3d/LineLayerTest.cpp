#include "view3d/LineLayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace pw {
namespace {

constexpr std::uint32_t ink = 0xff0000ffu;
const QSize size(20, 10);

int lit(const LineLayer& layer)
{
    int count = 0;
    for (int i = 0; i < size.width() * size.height(); ++i)
        count += layer.pixels()[i] != 0u ? 1 : 0;
    return count;
}

bool litAt(const LineLayer& layer, int x, int y)
{
    return layer.pixels()[y * size.width() + x] != 0u;
}

// World x and y map to window pixels one to one: x 0..20, y 0..10 with row 0 at the bottom.
QMatrix4x4 pixelMatrix()
{
    QMatrix4x4 m;
    m.ortho(0.0f, 20.0f, 0.0f, 10.0f, -1.0f, 1.0f);
    return m;
}

// A line or band from `a` to `b`, and what it lights.
struct Stroke {
    const char* name;
    Vector3 a, b;
    float radius;  // a band's; a line is one pixel wide
    int pixels;
    QRect drawn;  // a line's bounds
};

TEST(LineLayer, LightsOnePixelPerColumnAndStaysInTheView)
{
    const float inf = std::numeric_limits<float>::infinity();
    const Stroke cases[] = {
        {"across", {2.5f, 3.5f, 0}, {12.5f, 3.5f, 0}, 0, 11, QRect(2, 3, 11, 1)},
        {"steep", {4.5f, 0.5f, 0}, {5.5f, 9.5f, 0}, 0, 10, QRect(4, 0, 2, 10)},
        {"beyond both sides", {-50, 5.5f, 0}, {70, 5.5f, 0}, 0, 20, QRect(0, 5, 20, 1)},
        {"beyond a corner", {-10, -10, 0}, {30, 30, 0}, 0, 10, QRect(0, 0, 10, 10)},
        {"outside", {-5, 20, 0}, {30, 20, 0}, 0, 0, QRect()},
        {"a point", {7.5f, 7.5f, 0}, {7.5f, 7.5f, 0}, 0, 1, QRect(7, 7, 1, 1)},
        {"not finite", {inf, 1, 0}, {3, 3, 0}, 0, 0, QRect()},
    };
    LineLayer layer;
    for (const Stroke& c : cases) {
        layer.begin(pixelMatrix(), size);
        layer.draw(c.a, c.b, ink);
        EXPECT_EQ(lit(layer), c.pixels) << c.name;
        EXPECT_EQ(layer.drawn(), c.drawn) << c.name;
    }
    // Each begin clears what the frame before drew.
    layer.begin(pixelMatrix(), size);
    EXPECT_EQ(lit(layer), 0);
    EXPECT_TRUE(layer.empty());
}

TEST(LineLayer, NothingBehindTheEye)
{
    // Looking along -z from the origin: points at z > 0 lie behind.
    QMatrix4x4 perspective;
    perspective.perspective(90.0f, 2.0f, 0.1f, 100.0f);
    LineLayer layer;
    layer.begin(perspective, size);
    layer.draw({-1, 0, 5}, {1, 0, 5}, ink);
    EXPECT_TRUE(layer.empty());
    // From behind the eye to the middle of the view at z = -1: only the part in front is drawn,
    // from the view's left edge (the plane of the eye runs off sideways) to its middle.
    layer.draw({-1, 0, 1}, {0, 0, -1}, ink);
    EXPECT_TRUE(litAt(layer, 10, 5));
    EXPECT_TRUE(litAt(layer, 0, 5));
    EXPECT_FALSE(litAt(layer, 15, 5));
}

std::array<int, 4> bytesOf(std::uint32_t word)
{
    const auto* b = reinterpret_cast<const unsigned char*>(&word);
    return {b[0], b[1], b[2], b[3]};
}

int litInColumn(const LineLayer& layer, int x)
{
    int count = 0;
    for (int y = 0; y < size.height(); ++y)
        count += litAt(layer, x, y) ? 1 : 0;
    return count;
}

float depthAt(const LineLayer& layer, int x, int y) { return layer.depths()[y * size.width() + x]; }

constexpr std::array<float, 3> red{1, 0, 0}, blue{0, 0, 1};

TEST(LineLayer, BandsCoverTheirWidthWithinTheView)
{
    // One pixel per world unit; the pixel matrix's depth is 0.5 at z 0, nearer at larger z.
    const Stroke cases[] = {
        {"across, three rows", {2.5f, 5.5f, 0}, {12.5f, 5.5f, 0}, 1.5f, 33, {}},
        {"thinner than a pixel, one row", {2.5f, 5.5f, 0}, {12.5f, 5.5f, 0}, 0.1f, 11, {}},
        {"steep, three columns", {5.5f, 0.5f, 0}, {5.5f, 9.5f, 0}, 1.5f, 30, {}},
        {"beyond both sides", {-50, 5.5f, 0}, {70, 5.5f, 0}, 1.5f, 60, {}},
        {"centre outside, edge inside", {2.5f, -0.5f, 0}, {12.5f, -0.5f, 0}, 1.5f, 11, {}},
        {"outside", {-5, 20, 0}, {30, 20, 0}, 1.5f, 0, {}},
        {"beyond the far plane", {2.5f, 5.5f, -5}, {12.5f, 5.5f, -5}, 1.5f, 0, {}},
    };
    LineLayer layer;
    for (const Stroke& c : cases) {
        layer.begin(pixelMatrix(), size);
        layer.drawBand(c.a, c.b, c.radius, red);
        EXPECT_EQ(lit(layer), c.pixels) << c.name;
        EXPECT_EQ(layer.banded(), c.pixels > 0) << c.name;
        for (int i = 0; i < size.width() * size.height(); ++i)
            if (layer.pixels()[i] != 0u) {
                EXPECT_FLOAT_EQ(layer.depths()[i], 0.5f) << c.name;
                EXPECT_TRUE(layer.drawn().contains(i % size.width(), i / size.width())) << c.name;
            }
    }
    // The next frame starts far and transparent again.
    layer.begin(pixelMatrix(), size);
    EXPECT_EQ(lit(layer), 0);
    EXPECT_FLOAT_EQ(depthAt(layer, 7, 5), 1.0f);
}

TEST(LineLayer, NearerWinsWhateverTheOrderAndLinesHideBehindBands)
{
    const Vector3 left{2.5f, 5.5f, 0}, right{12.5f, 5.5f, 0};
    for (const bool redFirst : {true, false}) {
        LineLayer layer;
        layer.begin(pixelMatrix(), size);
        // Red lies in front (z 0.5, depth 0.25) of blue (z -0.5, depth 0.75), crossing at x 7.
        const auto drawRed = [&] {
            layer.drawBand({7.5f, 0.5f, 0.5f}, {7.5f, 9.5f, 0.5f}, 0.5f, red);
        };
        const auto drawBlue = [&] {
            layer.drawBand({left.x, left.y, -0.5f}, {right.x, right.y, -0.5f}, 0.5f, blue);
        };
        redFirst ? (drawRed(), drawBlue()) : (drawBlue(), drawRed());
        EXPECT_GT(bytesOf(layer.pixels()[5 * size.width() + 7])[0], 0) << redFirst;
        EXPECT_EQ(bytesOf(layer.pixels()[5 * size.width() + 7])[2], 0) << redFirst;
        EXPECT_FLOAT_EQ(depthAt(layer, 7, 5), 0.25f) << redFirst;
        EXPECT_FLOAT_EQ(depthAt(layer, 3, 5), 0.75f) << redFirst;
    }
    // A line shows in front of a band and not behind it; it leaves the depth as it was.
    struct Case {
        const char* name;
        float z;
        bool shows;
    };
    for (const Case& c : {Case{"in front", 0.5f, true}, Case{"behind", -0.5f, false}}) {
        LineLayer layer;
        layer.begin(pixelMatrix(), size);
        layer.drawBand(left, right, 0.5f, blue);
        layer.draw({7.5f, 0.5f, c.z}, {7.5f, 9.5f, c.z}, ink);
        EXPECT_EQ(layer.pixels()[5 * size.width() + 7] == ink, c.shows) << c.name;
        EXPECT_FLOAT_EQ(depthAt(layer, 7, 5), 0.5f) << c.name;
        // Beside the band the line shows either way, at the far depth.
        EXPECT_EQ(layer.pixels()[8 * size.width() + 7], ink) << c.name;
        EXPECT_FLOAT_EQ(depthAt(layer, 7, 8), 1.0f) << c.name;
    }
}

TEST(LineLayer, BandsNarrowWithDistanceAndAreLitFromTheirLightsSide)
{
    // 90 degrees vertically over 10 rows: a metre at depth 1 spans 5 pixels.
    QMatrix4x4 perspective;
    perspective.perspective(90.0f, 2.0f, 0.1f, 100.0f);
    const BandView view{5.0f, {0, 0, 0}, {0, 1, 0}};
    struct Case {
        float depth;
        int rows;  // in the middle column
    };
    LineLayer layer;
    for (const Case c : {Case{1.0f, 5}, Case{2.0f, 2}, Case{5.0f, 1}, Case{50.0f, 1}}) {
        layer.begin(perspective, size, view);
        layer.drawBand({-2.0f * c.depth, 0, -c.depth}, {2.0f * c.depth, 0, -c.depth}, 0.5f, red);
        EXPECT_EQ(litInColumn(layer, 10), c.rows) << c.depth;
    }
    // Lit from above: the upper edge (higher rows) bright, the lower one at the ambient 40 %.
    layer.begin(perspective, size, view);
    layer.drawBand({-2, 0, -1}, {2, 0, -1}, 0.5f, red);
    EXPECT_EQ(bytesOf(layer.pixels()[3 * size.width() + 10])[0], 102);
    EXPECT_EQ(bytesOf(layer.pixels()[6 * size.width() + 10])[0], 198);
    // Nothing of a band behind the eye.
    layer.begin(perspective, size, view);
    layer.drawBand({-1, 0, 5}, {1, 0, 5}, 0.5f, red);
    EXPECT_TRUE(layer.empty());
}

TEST(LineLayer, DotsAreSquaresAsOpenGLDrawsPointsAndHideBehindBands)
{
    struct Case {
        const char* name;
        Vector3 p;
        int pixels;
        QRect drawn;
    };
    const Case cases[] = {
        {"centred on a pixel", {7.5f, 4.5f, 0}, 9, QRect(6, 3, 3, 3)},
        {"on a pixel's corner", {7.0f, 4.0f, 0}, 9, QRect(5, 2, 3, 3)},
        {"half out at the left", {0.2f, 4.5f, 0}, 6, QRect(0, 3, 2, 3)},
        {"out of view", {-3.0f, 4.5f, 0}, 0, QRect()},
        {"beyond the far plane", {7.5f, 4.5f, -5}, 0, QRect()},
        {"not finite", {std::numeric_limits<float>::quiet_NaN(), 4.5f, 0}, 0, QRect()},
    };
    LineLayer layer;
    for (const Case& c : cases) {
        layer.begin(pixelMatrix(), size);
        layer.drawDot(c.p, ink, 3);
        EXPECT_EQ(lit(layer), c.pixels) << c.name;
        EXPECT_EQ(layer.drawn(), c.drawn) << c.name;
    }
    for (const float z : {0.5f, -0.5f}) {
        layer.begin(pixelMatrix(), size);
        layer.drawBand({2.5f, 5.5f, 0}, {12.5f, 5.5f, 0}, 0.5f, blue);
        layer.drawDot({7.5f, 5.5f, z}, ink, 3);
        EXPECT_EQ(layer.pixels()[5 * size.width() + 7] == ink, z > 0.0f) << z;
        EXPECT_EQ(layer.pixels()[6 * size.width() + 7], ink) << z;
    }
}

TEST(LineLayer, ManyLinesAndBandsShareTheirRowsAndPaintWhatOneByOnePaints)
{
    // Enough of each to be shared between threads, crossing in every direction and depth, some
    // running far out of view and some behind the eye.
    const QSize large(320, 200);
    QMatrix4x4 perspective;
    perspective.perspective(60.0f, 1.6f, 0.1f, 500.0f);
    const BandView view{large.height() / (2.0f * std::tan(0.5236f)), {0, 0, 0}, {0.3f, 0.9f, 0.3f}};
    std::mt19937 random(7);
    std::uniform_real_distribution<float> across(-40.0f, 40.0f), deep(-100.0f, 2.0f);
    const auto point = [&] { return Vector3{across(random), across(random), deep(random)}; };
    std::vector<LineLayer::Band> bands;
    std::vector<LineLayer::Line> lines;
    for (std::size_t i = 0; i < 4 * LineLayer::bandsPerStrip; ++i)
        bands.push_back({point(), point(), 0.3f, {0.2f, 0.6f, 0.9f}});
    for (std::size_t i = 0; i < 4 * LineLayer::linesPerStrip; ++i)
        lines.push_back({point(), point(), 0xff000000u | static_cast<std::uint32_t>(i)});
    LineLayer together, oneByOne;
    for (const bool withBands : {false, true}) {
        together.begin(perspective, large, view);
        oneByOne.begin(perspective, large, view);
        if (withBands) {
            together.drawBands(bands);
            for (const LineLayer::Band& band : bands)
                oneByOne.drawBand(band.a, band.b, band.radius, band.rgb);
        }
        together.drawLines(lines);
        for (const LineLayer::Line& line : lines)
            oneByOne.draw(line.a, line.b, line.colour);
        const auto count = static_cast<std::size_t>(large.width() * large.height());
        EXPECT_TRUE(std::equal(together.pixels(), together.pixels() + count, oneByOne.pixels()))
            << withBands;
        EXPECT_TRUE(std::equal(together.depths(), together.depths() + count, oneByOne.depths()))
            << withBands;
        EXPECT_EQ(together.drawn(), oneByOne.drawn()) << withBands;
        EXPECT_GT(std::count(together.pixels(), together.pixels() + count, 0u), 0) << withBands;
    }
}

TEST(LineLayer, PacksColoursInMemoryOrder)
{
    const std::uint32_t packed = LineLayer::pack({1.0f, 0.5f, 0.0f, 1.0f});
    const auto* bytes = reinterpret_cast<const unsigned char*>(&packed);
    EXPECT_EQ(bytes[0], 255);
    EXPECT_EQ(bytes[1], 128);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(bytes[3], 255);
}

}  // namespace
}  // namespace pw
