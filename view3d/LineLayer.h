#pragma once
// The lines of a frame drawn on the processor: tubes and pieces of track thinner than a pixel or
// two. A full view of a large track holds tens of thousands of them, millions of pixels long, and
// a software OpenGL (Mesa's llvmpipe) spends about 15 ns on each pixel of a line: written here,
// one word a pixel, they cost about a tenth of that. The renderer lays the picture under everything
// else it draws, so a line never hides a mesh; one in front of a mesh is hidden by it instead.
//
// Pixels are in OpenGL's window order: row 0 at the bottom. Each word holds R, G, B, A in memory
// order, so that it uploads as GL_RGBA bytes.

#include "geometry/Vector3.h"

#include <QMatrix4x4>
#include <QRect>
#include <QSize>

#include <array>
#include <cstdint>
#include <vector>

namespace pw {

class LineLayer {
public:
    // Clears the picture to transparent at `size`; allocates only when the size grows.
    void begin(const QMatrix4x4& viewProjection, QSize size);
    // One line from `a` to `b`, clipped to the view; nothing of it behind the eye.
    void draw(Vector3 a, Vector3 b, std::uint32_t colour);
    // Whether anything was drawn since begin().
    bool empty() const { return dirty_.isEmpty(); }
    // The pixels drawn since begin(): only these need uploading and laying under the frame.
    QRect drawn() const { return dirty_; }
    const std::uint32_t* pixels() const { return pixels_.data(); }
    QSize size() const { return size_; }

    // An opaque colour packed in memory order R, G, B, A.
    static std::uint32_t pack(std::array<float, 4> rgba);

private:
    void drawInView(float x0, float y0, float x1, float y1, std::uint32_t colour);

    std::array<float, 16> matrix_{};  // column-major, as QMatrix4x4 keeps it
    QSize size_;
    std::vector<std::uint32_t> pixels_;
    QRect dirty_;  // of this frame, in window pixels; cleared by the next begin()
};

}  // namespace pw
