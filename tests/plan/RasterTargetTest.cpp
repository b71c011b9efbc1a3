#include "plan/RasterTarget.h"

#include <QImage>
#include <QPainter>
#include <QPicture>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace pw {
namespace {

constexpr QRgb white = 0xffffffff;
const QColor ink(0x8c, 0x56, 0x4b);

using Pixels = std::set<std::pair<int, int>>;

Pixels inked(const QImage& image)
{
    Pixels pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != white)
                pixels.insert({x, y});
    return pixels;
}

QImage blank(int width, int height, QImage::Format format = QImage::Format_ARGB32_Premultiplied)
{
    QImage image(width, height, format);
    image.fill(white);
    return image;
}

// Draws through the direct target, as the plan painter does after setting its view.
QImage directLines(QImage image, const std::vector<QLineF>& lines,
                   const QTransform& view = QTransform(), std::optional<QRectF> clip = {})
{
    QPainter painter(&image);
    if (clip)
        painter.setClipRect(*clip);
    const QRectF logical(QPointF(0, 0), image.deviceIndependentSize());
    const auto target = rasterTarget(painter, logical, view);
    EXPECT_TRUE(target.has_value());
    if (target)
        drawLines(*target, lines, ink);
    return image;
}

// Whether every pixel of `a` has one of `b` at most a pixel away, and back.
bool withinAPixel(const Pixels& a, const Pixels& b)
{
    const auto near = [](const Pixels& from, const Pixels& to) {
        return std::all_of(from.begin(), from.end(), [&](const std::pair<int, int>& p) {
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (to.count({p.first + dx, p.second + dy}) != 0)
                        return true;
            return false;
        });
    };
    return near(a, b) && near(b, a);
}

std::vector<QLineF> randomLines(unsigned seed, int count, double low, double high)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coordinate(low, high);
    std::vector<QLineF> lines;
    for (int i = 0; i < count; ++i)
        lines.emplace_back(coordinate(random), coordinate(random), coordinate(random),
                           coordinate(random));
    return lines;
}

TEST(RasterTarget, LinesLightThePixelsTheyCross)
{
    const Pixels row = inked(directLines(blank(16, 8), {QLineF(0.5, 2.5, 9.5, 2.5)}));
    Pixels expected;
    for (int x = 0; x <= 9; ++x)
        expected.insert({x, 2});
    EXPECT_EQ(row, expected);

    const Pixels column = inked(directLines(blank(16, 8), {QLineF(3.2, 6.9, 3.7, 1.1)}));
    EXPECT_EQ(column, (Pixels{{3, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}, {3, 6}}));

    const Pixels diagonal = inked(directLines(blank(16, 8), {QLineF(7.5, 7.5, 0.5, 0.5)}));
    Pixels expectedDiagonal;
    for (int i = 0; i < 8; ++i)
        expectedDiagonal.insert({i, i});
    EXPECT_EQ(diagonal, expectedDiagonal);

    // A line shorter than a pixel still shows.
    EXPECT_EQ(inked(directLines(blank(16, 8), {QLineF(5.2, 4.3, 5.4, 4.6)})), (Pixels{{5, 4}}));
}

TEST(RasterTarget, LinesFollowTheViewAsTheRasterEngineDoes)
{
    const std::vector<QLineF> lines = randomLines(7, 60, -20.0, 140.0);
    // World metres to pixels, flipped upwards as the front view is, on a high-density image.
    QTransform view;
    view.translate(4.0, 190.0);
    view.scale(1.5, -1.25);
    for (const qreal ratio : {1.0, 2.0}) {
        for (const QLineF& line : lines) {
            QImage image = blank(static_cast<int>(200 * ratio), static_cast<int>(200 * ratio));
            image.setDevicePixelRatio(ratio);
            const QImage ours = directLines(image, {line}, view);
            QImage theirs = image;
            {
                QPainter painter(&theirs);
                painter.setTransform(view, true);
                QPen pen(ink, 1.0);
                pen.setCosmetic(true);
                painter.setPen(pen);
                painter.drawLine(line);
            }
            EXPECT_TRUE(withinAPixel(inked(ours), inked(theirs)))
                << "ratio " << ratio << " line " << line.x1() << "," << line.y1() << " "
                << line.x2() << "," << line.y2();
        }
    }
}

TEST(RasterTarget, APartPaintedAloneMatchesTheWholeAndStaysInside)
{
    std::vector<QLineF> lines = randomLines(11, 400, -300.0, 600.0);
    const double huge = 1e300;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    lines.emplace_back(-huge, 40.5, huge, 40.5);
    lines.emplace_back(nan, 0, 10, 10);
    lines.emplace_back(0, 0, std::numeric_limits<double>::infinity(), 10);

    const QImage whole = directLines(blank(300, 200), lines);
    const QRect strip(120, 30, 37, 90);
    const QImage part = directLines(blank(300, 200), lines, QTransform(), QRectF(strip));
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const QRgb expected = strip.contains(x, y) ? whole.pixel(x, y) : white;
            ASSERT_EQ(part.pixel(x, y), expected) << x << "," << y;
        }
    for (int x = 0; x < 300; ++x)
        EXPECT_EQ(whole.pixel(x, 40), ink.rgb()) << x;
}

// Thousands of lines are split between threads by bands of rows: the picture is the one a
// single pass paints (here a few hundred lines at a time, each below the split).
TEST(RasterTarget, ManyLinesInBandsPaintWhatOnePassPaints)
{
    const std::vector<QLineF> lines = randomLines(5, 6000, -100.0, 500.0);
    const QImage banded = directLines(blank(400, 300), lines);
    QImage single = blank(400, 300);
    for (std::size_t from = 0; from < lines.size(); from += 500)
        single = directLines(single, {lines.begin() + static_cast<std::ptrdiff_t>(from),
                                      lines.begin() + static_cast<std::ptrdiff_t>(from + 500)});
    EXPECT_EQ(banded, single);
}

TEST(RasterTarget, DotsLightTheirSquareOrDisc)
{
    QImage image = blank(24, 24);
    {
        QPainter painter(&image);
        const auto target = rasterTarget(painter, QRectF(image.rect()));
        ASSERT_TRUE(target);
        drawDots(*target, std::vector<QPointF>{QPointF(6.5, 6.5)}, ink, 5.0, DotShape::Square);
        drawDots(*target, std::vector<QPointF>{QPointF(16.0, 16.0)}, ink, 4.0, DotShape::Round);
        // Off the image or not a number: nothing, and no crash.
        drawDots(*target, std::vector<QPointF>{QPointF(-1e300, 3), QPointF(NAN, 3)}, ink, 5.0,
                 DotShape::Square);
    }
    Pixels expected;
    for (int y = 4; y <= 8; ++y)
        for (int x = 4; x <= 8; ++x)
            expected.insert({x, y});
    for (int y = 14; y <= 17; ++y)
        for (int x = 14; x <= 17; ++x)
            if ((x != 14 && x != 17) || (y != 14 && y != 17))
                expected.insert({x, y});
    EXPECT_EQ(inked(image), expected);

    // On a high-density screen a marker keeps its size in the screen's pixels, as Qt's cosmetic
    // pens do.
    QImage dense = blank(48, 48);
    dense.setDevicePixelRatio(2.0);
    {
        QPainter painter(&dense);
        const auto target = rasterTarget(painter, QRectF(0, 0, 24, 24));
        ASSERT_TRUE(target);
        drawDots(*target, std::vector<QPointF>{QPointF(6.0, 6.0)}, ink, 5.0, DotShape::Square);
    }
    EXPECT_EQ(inked(dense).size(), 25u);
}

TEST(RasterTarget, PaintersThatCannotBeWrittenThroughAreRefused)
{
    const QRectF area(0, 0, 10, 10);
    QPicture picture;
    QPainter onPicture(&picture);
    EXPECT_FALSE(rasterTarget(onPicture, area));

    QImage sixteenBit = blank(10, 10, QImage::Format_RGB16);
    QPainter onSixteenBit(&sixteenBit);
    EXPECT_FALSE(rasterTarget(onSixteenBit, area));

    QImage image = blank(10, 10);
    QPainter painter(&image);
    painter.rotate(30);
    EXPECT_FALSE(rasterTarget(painter, area));
    painter.resetTransform();
    painter.setOpacity(0.5);
    EXPECT_FALSE(rasterTarget(painter, area));
    painter.setOpacity(1.0);
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    EXPECT_FALSE(rasterTarget(painter, area));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    EXPECT_TRUE(rasterTarget(painter, area));
}

}  // namespace
}  // namespace pw
