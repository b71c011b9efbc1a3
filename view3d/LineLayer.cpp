#include "LineLayer.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace pw {

namespace {

// Points nearer the eye plane than this (in clip space w) are cut off.
constexpr float nearestW = 1e-4f;

struct Clip {
    float x, y, w;
};

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

void LineLayer::begin(const QMatrix4x4& viewProjection, QSize size)
{
    std::copy_n(viewProjection.constData(), 16, matrix_.begin());
    const std::size_t count = static_cast<std::size_t>(std::max(size.width(), 0)) *
                              static_cast<std::size_t>(std::max(size.height(), 0));
    if (size != size_) {
        if (pixels_.size() < count)
            pixels_.resize(count);
        std::fill_n(pixels_.begin(), count, 0u);
    } else {
        // Only what the last frame drew is cleared.
        for (int row = dirty_.top(); row <= dirty_.bottom() && !dirty_.isEmpty(); ++row)
            std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(row) * size.width() +
                            dirty_.left(),
                        dirty_.width(), 0u);
    }
    size_ = size;
    dirty_ = QRect();
}

void LineLayer::draw(Vector3 a, Vector3 b, std::uint32_t colour)
{
    const auto& m = matrix_;
    const auto toClip = [&m](Vector3 p) {
        return Clip{m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
                    m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
                    m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15]};
    };
    Clip p = toClip(a), q = toClip(b);
    if (p.w < nearestW && q.w < nearestW)
        return;
    // The part behind the eye is cut off where w reaches the plane near it.
    if (p.w < nearestW || q.w < nearestW) {
        Clip& behind = p.w < nearestW ? p : q;
        const Clip& front = p.w < nearestW ? q : p;
        const float t = (nearestW - front.w) / (behind.w - front.w);
        behind = {front.x + t * (behind.x - front.x), front.y + t * (behind.y - front.y), nearestW};
    }
    const float width = static_cast<float>(size_.width()), height = static_cast<float>(size_.height());
    const auto window = [&](const Clip& c, float& x, float& y) {
        x = (c.x / c.w + 1.0f) * 0.5f * width;
        y = (c.y / c.w + 1.0f) * 0.5f * height;
    };
    float x0, y0, x1, y1;
    window(p, x0, y0);
    window(q, x1, y1);
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return;
    // Liang and Barsky's clipping to the pixels' centres' range, so that no step leaves the view.
    float t0 = 0.0f, t1 = 1.0f;
    const float dx = x1 - x0, dy = y1 - y0;
    const float limits[4][2] = {{-dx, x0 - 0.0f}, {dx, width - 0.001f - x0},
                                {-dy, y0 - 0.0f}, {dy, height - 0.001f - y0}};
    for (const auto& [pAxis, qAxis] : limits) {
        if (pAxis == 0.0f) {
            if (qAxis < 0.0f)
                return;
            continue;
        }
        const float r = qAxis / pAxis;
        if (pAxis < 0.0f)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1)
            return;
    }
    drawInView(x0 + t0 * dx, y0 + t0 * dy, x0 + t1 * dx, y0 + t1 * dy, colour);
}

void LineLayer::drawInView(float x0, float y0, float x1, float y1, std::uint32_t colour)
{
    const int width = size_.width(), height = size_.height();
    const QRect covers =
        QRect(QPoint(static_cast<int>(std::min(x0, x1)), static_cast<int>(std::min(y0, y1))),
              QPoint(static_cast<int>(std::max(x0, x1)), static_cast<int>(std::max(y0, y1))))
            .intersected(QRect(0, 0, width, height));
    dirty_ = dirty_.united(covers);
    // A pixel in every column the line spans, or every row for a steep line, where its centre
    // line crosses the middle of that column or row; the minor coordinate in 16.16 fixed point.
    const bool steep = std::abs(y1 - y0) > std::abs(x1 - x0);
    if (steep) {
        std::swap(x0, y0);
        std::swap(x1, y1);
    }
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const int first = static_cast<int>(x0), last = static_cast<int>(x1);
    const float slope = x1 > x0 ? (y1 - y0) / (x1 - x0) : 0.0f;
    constexpr float one = 65536.0f;
    auto minor = static_cast<std::int32_t>((y0 + slope * (static_cast<float>(first) + 0.5f - x0)) * one);
    const auto step = static_cast<std::int32_t>(slope * one);
    const int minorLimit = (steep ? width : height) - 1;
    std::uint32_t* const pixels = pixels_.data();
    for (int major = first; major <= last; ++major, minor += step) {
        const int other = std::clamp(minor >> 16, 0, minorLimit);
        const int column = steep ? other : major;
        const int row = steep ? major : other;
        pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(column)] = colour;
    }
}

}  // namespace pw
