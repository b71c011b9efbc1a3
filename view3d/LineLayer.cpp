#include "LineLayer.h"

#include "raster/PixelRun.h"
#include "raster/RowStrips.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace pw {

namespace {

// Points nearer the eye plane than this (in clip space w) are cut off.
constexpr float nearestW = 1e-4f;

struct Clip {
    float x, y, z, w;
};

Clip mix(const Clip& p, const Clip& q, float t)
{
    return {p.x + t * (q.x - p.x), p.y + t * (q.y - p.y), p.z + t * (q.z - p.z),
            p.w + t * (q.w - p.w)};
}

Clip toClip(const std::array<float, 16>& m, Vector3 p)
{
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
            m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14],
            m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15]};
}

// Window pixels of a point in clip space, in a view of `size`.
void toWindow(const Clip& c, QSize size, float& x, float& y)
{
    x = (c.x / c.w + 1.0f) * 0.5f * static_cast<float>(size.width());
    y = (c.y / c.w + 1.0f) * 0.5f * static_cast<float>(size.height());
}

Vector3 along(Vector3 a, Vector3 b, float t)
{
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z)};
}

// Liang and Barsky's step for one boundary: keeps the part of [t0, t1] where `from + t * delta`
// stays at or above zero; false when nothing is left.
bool clipTo(float from, float delta, float& t0, float& t1)
{
    if (delta == 0.0f)
        return from >= 0.0f;
    const float t = -from / delta;
    if (delta > 0.0f)
        t0 = std::max(t0, t);
    else
        t1 = std::min(t1, t);
    return t0 <= t1;
}

// Depth as OpenGL writes it, within its range.
float windowDepth(float z, float w) { return std::clamp(0.5f * z / w + 0.5f, 0.0f, 1.0f); }

}  // namespace

std::uint32_t LineLayer::pack(std::array<float, 4> rgba)
{
    const auto byte = [](float v) {
        return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    };
    const std::uint32_t r = byte(rgba[0]), g = byte(rgba[1]), b = byte(rgba[2]), a = byte(rgba[3]);
    if constexpr (std::endian::native == std::endian::little)
        return r | (g << 8) | (b << 16) | (a << 24);
    else
        return (r << 24) | (g << 16) | (b << 8) | a;
}

void LineLayer::begin(const QMatrix4x4& viewProjection, QSize size, const BandView& view)
{
    std::copy_n(viewProjection.constData(), 16, matrix_.begin());
    view_ = view;
    const std::size_t count = static_cast<std::size_t>(std::max(size.width(), 0)) *
                              static_cast<std::size_t>(std::max(size.height(), 0));
    if (size != size_) {
        if (pixels_.size() < count) {
            pixels_.resize(count);
            depths_.resize(count);
        }
        std::fill_n(pixels_.begin(), count, 0u);
        std::fill_n(depths_.begin(), count, 1.0f);
    } else {
        // Only what the last frame drew is cleared.
        const QRect dirty = drawn();
        for (int row = dirty.top(); row <= dirty.bottom() && !dirty.isEmpty(); ++row) {
            const std::ptrdiff_t first =
                static_cast<std::ptrdiff_t>(row) * size.width() + dirty.left();
            std::fill_n(pixels_.begin() + first, dirty.width(), 0u);
            if (depthsWritten_)
                std::fill_n(depths_.begin() + first, dirty.width(), 1.0f);
        }
    }
    size_ = size;
    dirty_ = {};
    banded_ = false;
    depthsWritten_ = false;
}

QRect LineLayer::drawn() const
{
    return dirty_.empty()
               ? QRect()
               : QRect(QPoint(dirty_.left, dirty_.bottom), QPoint(dirty_.right, dirty_.top));
}

void LineLayer::markDrawn(int left, int bottom, int right, int top)
{
    left = std::max(left, 0), bottom = std::max(bottom, 0);
    right = std::min(right, size_.width() - 1), top = std::min(top, size_.height() - 1);
    if (right >= left && top >= bottom)
        dirty_.add(left, bottom, right, top);
}

void LineLayer::markDrawn(float x0, float y0, float x1, float y1, float margin)
{
    // Floors of finite values within the view and a margin of it: no overflow.
    markDrawn(static_cast<int>(std::floor(std::min(x0, x1) - margin)),
              static_cast<int>(std::floor(std::min(y0, y1) - margin)),
              static_cast<int>(std::floor(std::max(x0, x1) + margin)),
              static_cast<int>(std::floor(std::max(y0, y1) + margin)));
}

void LineLayer::Extent::add(int fromLeft, int fromBottom, int toRight, int toTop)
{
    if (empty()) {
        *this = {fromLeft, fromBottom, toRight, toTop};
        return;
    }
    left = std::min(left, fromLeft), bottom = std::min(bottom, fromBottom);
    right = std::max(right, toRight), top = std::max(top, toTop);
}

bool LineLayer::project(const Line& line, InView& out) const
{
    Clip p = toClip(matrix_, line.a), q = toClip(matrix_, line.b);
    if (p.w < nearestW && q.w < nearestW)
        return false;
    // The part behind the eye is cut off where w reaches the plane near it.
    if (p.w < nearestW || q.w < nearestW) {
        Clip& behind = p.w < nearestW ? p : q;
        const Clip& front = p.w < nearestW ? q : p;
        behind = mix(front, behind, (nearestW - front.w) / (behind.w - front.w));
        behind.w = nearestW;
    }
    const float width = static_cast<float>(size_.width()),
                height = static_cast<float>(size_.height());
    float x0, y0, x1, y1;
    toWindow(p, size_, x0, y0);
    toWindow(q, size_, x1, y1);
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return false;
    // Clipped to the pixels' centres' range, so that no step leaves the view.
    float t0 = 0.0f, t1 = 1.0f;
    const float dx = x1 - x0, dy = y1 - y0;
    if (!clipTo(x0, dx, t0, t1) || !clipTo(width - 0.001f - x0, -dx, t0, t1) ||
        !clipTo(y0, dy, t0, t1) || !clipTo(height - 0.001f - y0, -dy, t0, t1))
        return false;
    // Depth is affine across the window, as 1 / w is; only bands drawn before need it.
    const float z0 = windowDepth(p.z, p.w), z1 = windowDepth(q.z, q.w);
    out = {x0 + t0 * dx, y0 + t0 * dy,        z0 + t0 * (z1 - z0), x0 + t1 * dx,
           y0 + t1 * dy, z0 + t1 * (z1 - z0), line.colour};
    return true;
}

void LineLayer::draw(Vector3 a, Vector3 b, std::uint32_t colour)
{
    InView line;
    if (!project({a, b, colour}, line))
        return;
    markDrawn(line.x0, line.y0, line.x1, line.y1, 0.0f);
    fillLine(line, 0, size_.height() - 1);
}

void LineLayer::drawLines(std::span<const Line> lines)
{
    if (size_.isEmpty())
        return;
    linesInView_.clear();
    Extent extent;
    for (const Line& line : lines) {
        InView inView;
        if (project(line, inView)) {
            linesInView_.push_back(inView);
            // Clipped to the view, so every pixel lies within the view.
            extent.add(static_cast<int>(std::min(inView.x0, inView.x1)),
                       static_cast<int>(std::min(inView.y0, inView.y1)),
                       static_cast<int>(std::max(inView.x0, inView.x1)),
                       static_cast<int>(std::max(inView.y0, inView.y1)));
        }
    }
    if (!extent.empty())
        markDrawn(extent.left, extent.bottom, extent.right, extent.top);
    fillInStrips(0, size_.height() - 1, linesInView_.size(), linesPerStrip,
                 [this](int low, int high) {
                     for (const InView& line : linesInView_)
                         fillLine(line, low, high);
                 });
}

void LineLayer::fillLine(const InView& line, int low, int high)
{
    const int width = size_.width(), height = size_.height();
    float x0 = line.x0, y0 = line.y0, z0 = line.z0, x1 = line.x1, y1 = line.y1, z1 = line.z1;
    // A pixel in every column the line spans, or every row for a steep line, where its centre
    // line crosses the middle of that column or row.
    const bool steep = std::abs(y1 - y0) > std::abs(x1 - x0);
    if (steep) {
        std::swap(x0, y0);
        std::swap(x1, y1);
    }
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        std::swap(z0, z1);
    }
    const int first = static_cast<int>(x0), last = static_cast<int>(x1);
    const float slope = x1 > x0 ? (y1 - y0) / (x1 - x0) : 0.0f;
    constexpr float one = 65536.0f;
    PixelRun run;
    run.steep = steep;
    run.from = run.at = first;
    run.to = last;
    run.start =
        static_cast<std::int32_t>((y0 + slope * (static_cast<float>(first) + 0.5f - x0)) * one);
    run.step = static_cast<std::int32_t>(slope * one);
    // The line is clipped to the view: where its ends round past an edge, the edge is lit.
    run.lowestMinor = 0;
    run.highestMinor = (steep ? width : height) - 1;
    const float depthSlope = x1 > x0 ? (z1 - z0) / (x1 - x0) : 0.0f;
    std::uint32_t* const pixels = pixels_.data();
    const float* const depths = depths_.data();
    const std::uint32_t colour = line.colour;
    const bool testDepth = depthsWritten_;
    walkRun(run, {0, width - 1, low, high}, [=](int column, int row) {
        const std::size_t i = static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                              static_cast<std::size_t>(column);
        // Depth per pixel from the line's start, so that a strip of rows finds what one pass
        // finds; only bands and dots drawn before need it.
        const int major = steep ? row : column;
        if (testDepth && z0 + depthSlope * (static_cast<float>(major) + 0.5f - x0) > depths[i])
            return;
        pixels[i] = colour;
    });
}

void LineLayer::drawDot(Vector3 p, std::uint32_t colour, int pixels)
{
    const Clip c = toClip(matrix_, p);
    if (!(c.w > 0.0f) || c.z < -c.w || c.z > c.w)
        return;
    float x, y;
    toWindow(c, size_, x, y);
    const float half = 0.5f * static_cast<float>(pixels);
    // The pixels whose centres lie in the square, its left and lower edges included.
    const float left = std::ceil(x - half - 0.5f), bottom = std::ceil(y - half - 0.5f);
    if (!(left > -static_cast<float>(pixels) && left < static_cast<float>(size_.width()) &&
          bottom > -static_cast<float>(pixels) && bottom < static_cast<float>(size_.height())))
        return;  // out of view, or not finite
    const int fromColumn = std::max(static_cast<int>(left), 0),
              toColumn = std::min(static_cast<int>(left) + pixels, size_.width()) - 1,
              fromRow = std::max(static_cast<int>(bottom), 0),
              toRow = std::min(static_cast<int>(bottom) + pixels, size_.height()) - 1;
    markDrawn(fromColumn, fromRow, toColumn, toRow);
    depthsWritten_ = true;
    fillDot(picture(), {fromColumn, toColumn, fromRow, toRow}, windowDepth(c.z, c.w), colour);
}

void LineLayer::drawBand(Vector3 a, Vector3 b, float radius, std::array<float, 3> rgb)
{
    BandRun band;
    if (prepareBand({a, b, radius, rgb}, band))
        fillBand(picture(), band, 0, size_.height() - 1);
}

void LineLayer::drawBands(std::span<const Band> bands)
{
    if (size_.isEmpty())
        return;
    bandsInView_.clear();
    for (const Band& band : bands) {
        BandRun inView;
        if (prepareBand(band, inView))
            bandsInView_.push_back(inView);
    }
    bandOrder_.clear();
    for (std::size_t i = 0; i < bandsInView_.size(); ++i)
        bandOrder_.emplace_back(std::min(bandsInView_[i].z0, bandsInView_[i].z1),
                                static_cast<std::uint32_t>(i));
    std::sort(bandOrder_.begin(), bandOrder_.end());
    const DepthPicture target = picture();
    fillInStrips(0, size_.height() - 1, bandsInView_.size(), bandsPerStrip, [&](int low, int high) {
        for (const auto& [depth, band] : bandOrder_)
            fillBand(target, bandsInView_[band], low, high);
    });
}

bool LineLayer::prepareBand(const Band& band, BandRun& out)
{
    const Vector3 a = band.a, b = band.b;
    const float radius = band.radius;
    const std::array<float, 3>& rgb = band.rgb;
    const Clip p = toClip(matrix_, a), q = toClip(matrix_, b);
    // Between OpenGL's near and far planes, as a mesh there would be.
    float t0 = 0.0f, t1 = 1.0f;
    if (!clipTo(p.w + p.z, (q.w + q.z) - (p.w + p.z), t0, t1) ||
        !clipTo(p.w - p.z, (q.w - q.z) - (p.w - p.z), t0, t1) ||
        !clipTo(p.w - nearestW, q.w - p.w, t0, t1))
        return false;
    const auto window = [&](const Clip& c) {
        Clipped clipped{0.0f, 0.0f, windowDepth(c.z, c.w), 1.0f / c.w};
        toWindow(c, size_, clipped.x, clipped.y);
        return clipped;
    };
    const Clipped from = window(mix(p, q, t0)), to = window(mix(p, q, t1));
    if (!std::isfinite(from.x) || !std::isfinite(from.y) || !std::isfinite(to.x) ||
        !std::isfinite(to.y) || !std::isfinite(radius))
        return false;

    // Lit as the cylinder's side that faces the eye, at the middle of what is drawn: across the
    // band from one edge (-1) to the other (1), the normal turns from `side` over `front`.
    const Vector3 middle = along(a, b, 0.5f * (t0 + t1));
    Vector3 axis = b - a;
    normalize(axis);
    Vector3 toEye = view_.eye - middle;
    normalize(toEye);
    Vector3 side = cross(axis, toEye);
    normalize(side);
    Vector3 front = cross(side, axis);
    normalize(front);
    // Which way `side` runs on screen decides which edge of the band is lit by it.
    const bool steep = std::abs(to.y - from.y) > std::abs(to.x - from.x);
    const Clip centre = toClip(matrix_, middle);
    const Clip aside = toClip(matrix_, middle + side);
    const float minorCentre = steep ? centre.x / centre.w : centre.y / centre.w;
    const float minorAside = steep ? aside.x / aside.w : aside.y / aside.w;
    const float toward = aside.w > 0.0f && minorAside < minorCentre ? -1.0f : 1.0f;
    const float lightSide = toward * dot(side, view_.toLight),
                lightFront = dot(front, view_.toLight);
    std::array<std::uint32_t, bandShades> shades;
    for (int k = 0; k < bandShades; ++k) {
        const float u = -1.0f + (2.0f * static_cast<float>(k) + 1.0f) / bandShades;
        const float facing = std::max(u * lightSide + std::sqrt(1.0f - u * u) * lightFront, 0.0f);
        const float shade = 0.4f + 0.6f * facing;
        shades[static_cast<std::size_t>(k)] =
            pack({rgb[0] * shade, rgb[1] * shade, rgb[2] * shade, 1.0f});
    }
    return placeBand(from, to, radius, shades, out);
}

bool LineLayer::placeBand(const Clipped& from, const Clipped& to, float radius,
                          const std::array<std::uint32_t, bandShades>& shades, BandRun& out)
{
    const int width = size_.width(), height = size_.height();
    const bool steep = std::abs(to.y - from.y) > std::abs(to.x - from.x);
    // Major and minor axes: a row of pixels across the band at every column (row when steep).
    float x0 = steep ? from.y : from.x, y0 = steep ? from.x : from.y;
    float x1 = steep ? to.y : to.x, y1 = steep ? to.x : to.y;
    float z0 = from.z, z1 = to.z, q0 = from.q, q1 = to.q;
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        std::swap(z0, z1);
        std::swap(q0, q1);
    }
    const float run = x1 - x0;
    const float slope = run > 0.0f ? (y1 - y0) / run : 0.0f;
    // Half the width across the minor axis per unit of 1 / w.
    const float reach = radius * view_.pixelsPerMetre * std::sqrt(1.0f + slope * slope);
    const float margin = reach * std::max(q0, q1) + 1.0f;
    // Nothing in view: the band's reach beyond its centre line included.
    const int majorSize = steep ? height : width, minorSize = steep ? width : height;
    if (x1 < -margin || x0 > static_cast<float>(majorSize) + margin || std::max(y0, y1) < -margin ||
        std::min(y0, y1) > static_cast<float>(minorSize) + margin)
        return false;
    const int first = std::max(static_cast<int>(std::floor(x0)), 0);
    const int last = std::min(static_cast<int>(std::floor(x1)), majorSize - 1);
    if (first > last)
        return false;
    banded_ = true;
    depthsWritten_ = true;
    if (steep)
        markDrawn(y0, x0, y1, x1, margin);
    else
        markDrawn(x0, y0, x1, y1, margin);
    out = {steep, x0, y0, z0, z1, q0, q1, run, slope, reach, first, last, shades};
    return true;
}

}  // namespace pw
