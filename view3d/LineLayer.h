#pragma once
// The thin tubes of a frame drawn on the processor. A software OpenGL (Mesa's llvmpipe) pays per
// triangle for every 4 x 4 block a triangle touches, so a tube a few pixels wide, drawn as a
// cylinder of long sliver triangles, costs it many times what its pixels alone would; a large
// track zoomed in has thousands of such tubes across the view. Written here, each pixel costs
// little more than the write itself.
//
// Three kinds:
// - Lines: tubes thinner than a pixel or two, one pixel wide. They keep no depth, so a line
//   never hides a mesh; one in front of a mesh is hidden by it instead.
// - Bands: tubes a few pixels wide, as wide as the tube shows at each depth and shaded across
//   as the cylinders are lit. They keep their depth (OpenGL's window depth, 0 near to 1 far),
//   which the renderer writes with the colour, so that bands and meshes hide one another as
//   they lie.
// - Dots: footers and fundaments too small on screen to show their shape, squares as OpenGL
//   draws points (it pays per point what a few thousand pixels cost here). They keep their
//   depth like bands; only where there is a band is that depth laid into the frame.
// The nearer of bands and dots shows; a line is drawn only where neither lies in front of it.
// Draw the bands of a frame before its lines, and its lines before its dots.
//
// Pixels are in OpenGL's window order: row 0 at the bottom. Each word holds R, G, B, A in memory
// order, so that it uploads as GL_RGBA bytes.

#include "geometry/Vector3.h"
#include "raster/DepthFill.h"

#include <QMatrix4x4>
#include <QRect>
#include <QSize>

#include <array>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace pw {

// What bands need beyond the matrix: their width on screen and their light.
struct BandView {
    float pixelsPerMetre = 1.0f;  // at clip w 1: a tube of radius r is 2 r / w pixels wide
    Vector3 eye{0.0f, 0.0f, 1e6f};
    Vector3 toLight{0.0f, 0.0f, 1.0f};  // unit length
};

class LineLayer {
public:
    // Lines or bands drawn together are shared between threads by strips of rows, a further
    // strip for every this many of them.
    static constexpr std::size_t linesPerStrip = 2000;
    static constexpr std::size_t bandsPerStrip = 200;

    struct Line {
        Vector3 a, b;
        std::uint32_t colour;
    };
    struct Band {
        Vector3 a, b;
        float radius;
        std::array<float, 3> rgb;
    };

    // Clears the picture to transparent and the depth to far at `size`; allocates only when the
    // size grows.
    void begin(const QMatrix4x4& viewProjection, QSize size, const BandView& view = {});
    // One line from `a` to `b`, clipped to the view; nothing of it behind the eye.
    void draw(Vector3 a, Vector3 b, std::uint32_t colour);
    // A tube from `a` to `b` of `radius`, at least a pixel wide, lit as a cylinder of `rgb`
    // (0 to 1 each); clipped to the view and to OpenGL's near and far planes.
    void drawBand(Vector3 a, Vector3 b, float radius, std::array<float, 3> rgb);
    // Many lines or bands at once: the same picture as drawing them one by one in their order
    // (bands, nearest first: where two meet at the very same depth, the nearer end wins).
    void drawLines(std::span<const Line> lines);
    void drawBands(std::span<const Band> bands);
    // Room for that many lines and bands in one frame, so that a frame need not allocate.
    void reserve(std::size_t count)
    {
        linesInView_.reserve(count);
        bandsInView_.reserve(count);
        bandOrder_.reserve(count);
    }
    // A square of `pixels` on a side about `p`, as OpenGL draws a point of that size, with its
    // depth: the nearer of bands and dots shows. Between OpenGL's near and far planes only.
    void drawDot(Vector3 p, std::uint32_t colour, int pixels);
    // Whether anything was drawn since begin().
    bool empty() const { return dirty_.empty(); }
    // Whether a band was drawn since begin(): only then does the depth matter.
    bool banded() const { return banded_; }
    // The pixels drawn since begin(): only these need uploading and laying under the frame.
    QRect drawn() const;
    const std::uint32_t* pixels() const { return pixels_.data(); }
    // Window depths in the pixels' order, far (1) where no band lies.
    const float* depths() const { return depths_.data(); }
    QSize size() const { return size_; }

    // An opaque colour packed in memory order R, G, B, A.
    static std::uint32_t pack(std::array<float, 4> rgba);

private:
    // An end of a band clipped to OpenGL's planes: window pixels, window depth and 1 / w.
    struct Clipped {
        float x, y, z, q;
    };
    // A line clipped to the view: window pixels and depths at its ends.
    struct InView {
        float x0, y0, z0, x1, y1, z1;
        std::uint32_t colour;
    };
    // Pixel bounds, grown by what is drawn.
    struct Extent {
        int left = 0, bottom = 0, right = -1, top = -1;
        bool empty() const { return right < left; }
        void add(int fromLeft, int fromBottom, int toRight, int toTop);
    };
    bool project(const Line& line, InView& out) const;
    // Lights the pixels of a line in rows `low` to `high`.
    void fillLine(const InView& line, int low, int high);
    bool prepareBand(const Band& band, BandRun& out);
    bool placeBand(const Clipped& from, const Clipped& to, float radius,
                   const std::array<std::uint32_t, bandShades>& shades, BandRun& out);
    DepthPicture picture()
    {
        return {pixels_.data(), depths_.data(), size_.width(), size_.height()};
    }
    void markDrawn(float x0, float y0, float x1, float y1, float margin);
    void markDrawn(int left, int bottom, int right, int top);  // clipped to the view

    std::array<float, 16> matrix_{};  // column-major, as QMatrix4x4 keeps it
    BandView view_;
    QSize size_;
    std::vector<std::uint32_t> pixels_;
    std::vector<float> depths_;
    // What this frame drew, in window pixels; cleared by the next begin(). Plain bounds: a
    // frame widens them for every line and dot.
    Extent dirty_;
    bool banded_ = false;
    bool depthsWritten_ = false;  // by bands or dots; lines test against them
    std::vector<InView> linesInView_;
    std::vector<BandRun> bandsInView_;
    // Bands nearest first: the depth of their nearer end, and their place in bandsInView_. A
    // band behind those drawn before it mostly fails the depth test, which costs little.
    std::vector<std::pair<float, std::uint32_t>> bandOrder_;
};

}  // namespace pw
