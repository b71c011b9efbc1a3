#include "view3d/LineLayer.h"

#include <gtest/gtest.h>

#include <limits>

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

TEST(LineLayer, LightsOnePixelPerColumnAndStaysInTheView)
{
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* name;
        Vector3 a, b;
        int pixels;
        QRect drawn;
    };
    const Case cases[] = {
        {"across", {2.5f, 3.5f, 0}, {12.5f, 3.5f, 0}, 11, QRect(2, 3, 11, 1)},
        {"steep", {4.5f, 0.5f, 0}, {5.5f, 9.5f, 0}, 10, QRect(4, 0, 2, 10)},
        {"beyond both sides", {-50, 5.5f, 0}, {70, 5.5f, 0}, 20, QRect(0, 5, 20, 1)},
        {"beyond a corner", {-10, -10, 0}, {30, 30, 0}, 10, QRect(0, 0, 10, 10)},
        {"outside", {-5, 20, 0}, {30, 20, 0}, 0, QRect()},
        {"a point", {7.5f, 7.5f, 0}, {7.5f, 7.5f, 0}, 1, QRect(7, 7, 1, 1)},
        {"not finite", {inf, 1, 0}, {3, 3, 0}, 0, QRect()},
    };
    LineLayer layer;
    for (const Case& c : cases) {
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
