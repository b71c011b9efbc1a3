#pragma once
// Draws a Scene3d with OpenGL 3.3 (core profile) into the framebuffer that is bound. Every
// model's meshes, the unit cylinder of tubes and the fundaments' block are uploaded once per
// scene; footers, tubes and blocks are drawn instanced, one draw per mesh, one matrix per instance
// (a footer's, times the mesh's placement in its model). Pieces of the track overlap at their
// joints and tubes have end caps, so that no crack shows where they meet.
//
// Two paths (DrawingPath.h), chosen by the renderer the context runs on:
// - Software: each frame sorts what is in view by its size on screen. A footer of fewer than a
//   few pixels is a point, and each segment of the track is drawn in as many straight pieces as
//   its size on screen asks for. Tubes and track pieces are cut where their width on screen
//   crosses a limit: cylinders where wider than 16 pixels, bands with their depth down to 2
//   pixels, lines beyond. Bands, lines and solid points are drawn on the processor (LineLayer.h)
//   and laid into the frame first, with their depth where there are bands, else under
//   everything. A frame allocates nothing: its arrays are sized when the scene is set, the line
//   picture when the view grows.
// - Hardware: everything is uploaded once per scene and drawn by the card each frame: every tube
//   and every piece of the track a cylinder at least a pixel wide, every footer its mesh, and a
//   point where it is smaller than its mesh can show.
//
// Every call needs the context current that initialize() ran in; destroy() releases the GL
// objects and must run in it too.

#include "LineLayer.h"
#include "OrbitCamera.h"
#include "Picking3d.h"
#include "DrawingPath.h"
#include "GpuMesh.h"
#include "Primitives3d.h"
#include "RendererError.h"
#include "Scene3d.h"
#include "SceneInstances.h"
#include "tracklib/Result.h"

#include <QOpenGLExtraFunctions>
#include <QSize>

#include <memory>
#include <optional>
#include <vector>

namespace pw {

struct FrameCounts {
    int meshFooters = 0;
    int pointFooters = 0;
    int meshTubes = 0;  // a cylinder, near the eye, maybe with a band beyond
    int bandTubes = 0;
    int lineTubes = 0;
    int meshTrackPieces = 0;
    int bandTrackPieces = 0;
    int lineTrackPieces = 0;
};

class SceneRenderer : protected QOpenGLExtraFunctions {
public:
    static constexpr float previewAlpha = 0.35f;
    static constexpr float pointFooterPixels = 3.0f;  // footers smaller than this are points
    static constexpr float lineTubePixels = 2.0f;     // tubes thinner than this are lines
    // Tubes up to this wide are bands: llvmpipe pays for every 4 x 4 block that each sliver
    // triangle of a thin cylinder touches, about ten times what a band's pixels cost.
    static constexpr float bandTubePixels = 16.0f;

    SceneRenderer() = default;
    SceneRenderer(const SceneRenderer&) = delete;
    SceneRenderer& operator=(const SceneRenderer&) = delete;
    ~SceneRenderer();

    // Compiles the shaders; fails when the context cannot run them. The path is `path` where
    // given, else the one PLINTHWRIGHT_3D_PATH names, else the one that suits the renderer.
    Result<void> initialize(std::optional<DrawingPath> path = std::nullopt);
    bool initialized() const { return initialized_; }
    DrawingPath path() const { return path_; }
    // Uploads the scene's meshes and instances. Where memory runs out for them, the scene is
    // dropped (nothing of it is drawn) and the error returned.
    Result<void> setScene(std::shared_ptr<const Scene3d> scene);
    void setHighlight(Pick3d pick) { highlight_ = pick; }
    // `size` in device pixels.
    void render(const OrbitCamera& camera, QSize size);
    const FrameCounts& lastFrame() const { return counts_; }
    void destroy();

private:
    struct FrameView;
    // How the widest part of a tube is drawn.
    enum class Drawn { None, Line, Band, Cylinder };
    // The picked footer or tube, drawn again over itself in the highlight's colour.
    struct Highlight {
        Instance3d instance;
        std::size_t model = 0;  // a footer's
    };

    Result<void> buildPrograms();
    void makeFixedBuffers();
    void releaseScene();
    void dropScene();
    void uploadScene();
    // Every mesh of scene model `m` at each of `footers`.
    void drawModel(std::size_t m, const std::vector<Instance3d>& footers);
    void drawFlat(const FlatBuffer& flat, unsigned mode, int first, int count, float pointSize);
    void drawLineLayer();
    void drawGrid(const FrameView& view, const OrbitCamera& camera);
    std::optional<Highlight> highlighted();
    void drawAxisMarker(const OrbitCamera& camera, QSize size);
    void useMeshProgram(const FrameView& view);

    // The software path's passes: first what is in view and how each thing is drawn, then the
    // draws.
    void renderOnProcessor(const FrameView& view, const OrbitCamera& camera);
    // A tube's colour, as the cylinders and bands take it and packed for lines.
    struct Ink {
        explicit Ink(QRgb rgb) : colour(rgba(rgb)), line(LineLayer::pack(colour)) {}
        std::array<float, 4> colour;
        std::uint32_t line;
    };
    Drawn sortTube(const FrameView& view, Vector3 a, Vector3 b, float radius, const Ink& ink,
                   const Instance3d* whole);
    void sortTubes(const FrameView& view);
    void sortTrack(const FrameView& view);
    void sortBlocks(const FrameView& view);
    void sortFooters(const FrameView& view, const FooterInstances& footers,
                     std::vector<std::vector<Instance3d>>& perModel, bool translucent);
    void drawSolids(const FrameView& view, const OrbitCamera& camera);
    void drawHighlight(const Highlight& highlight, int firstPoint, int points);
    void drawPreview(int firstPoint, int points);
    int flatVertices() const;
    static void tally(Drawn drawn, int& cylinders, int& bands, int& lines);

    // The hardware path: the scene uploaded once, each frame drawn from it.
    void uploadToCard();
    void renderOnCard(const FrameView& view, const OrbitCamera& camera);
    void drawCardModels(bool preview);
    void drawCardPoints(const FrameView& view, int first, int count);
    void drawCardHighlight(const FrameView& view, const Highlight& highlight);

    bool initialized_ = false;
    DrawingPath path_ = DrawingPath::Software;
    unsigned meshProgram_ = 0;
    unsigned flatProgram_ = 0;
    unsigned bandLayerProgram_ = 0;  // lays the line picture into the frame with its depth
    unsigned lineLayerProgram_ = 0;  // lays a picture of lines alone under the frame
    unsigned layerTexture_ = 0;
    unsigned layerDepthTexture_ = 0;
    unsigned layerVao_ = 0;
    QSize layerTextureSize_;
    LineLayer lineLayer_;
    int meshViewProjection_ = -1, meshToLight_ = -1;
    int flatViewProjection_ = -1, flatPointSize_ = -1;
    unsigned tubeProgram_ = 0;   // the card's tubes, a pixel wide at least
    unsigned pointProgram_ = 0;  // the card's footers and blocks where they are points
    struct CardUniforms {
        int tubeViewProjection = -1, tubeToLight = -1, tubeMinimumRadius = -1;
        int pointViewProjection = -1, pointEye = -1, pointForward = -1, pointPixelsAtUnitDepth = -1;
    } card_;

    std::shared_ptr<const Scene3d> scene_;
    Pick3d highlight_;
    // Per scene model, one per mesh of it, for its solid and its preview footers.
    std::vector<std::vector<GpuMesh>> models_;
    std::vector<Instance3d> placedInstances_;  // footers times a mesh's placements, per draw
    std::vector<Instance3d> highlightFooter_;  // the picked footer's or tube's one instance
    GpuMesh cylinder_;
    GpuMesh block_;
    FlatBuffer frameFlatBuffer_;  // points and the highlight's point, filled per frame
    FlatBuffer grid_;             // 81 lines each way, a metre apart, scaled to the view
    FlatBuffer axes_;
    GpuMesh highlightTube_;  // the picked tube on the card

    SceneInstances instances_;  // built once per scene
    // Filled per frame within the capacity reserved per scene.
    std::vector<std::vector<Instance3d>> frameFooters_, framePreview_;
    std::vector<Instance3d> framePieces_, frameBlocks_;
    std::vector<LineLayer::Band> frameBands_;
    std::vector<LineLayer::Line> frameLineEnds_;  // drawn after the bands
    std::vector<float> frameFlat_;                // points: x, y, z, r, g, b, a each

    // On the card: the cylinder's instances are every tube, then every piece of the track; a
    // placed mesh's are its solid footers, then its preview footers, then the highlight's.
    struct CardDraw {
        int solid = 0, preview = 0;  // instances
    };
    std::vector<std::vector<CardDraw>> cardDraws_;  // per model, per placed mesh
    int cardPieces_ = 0;
    PointBuffer cardPoints_;  // solid footers and blocks, then preview footers
    int cardSolidPoints_ = 0, cardPreviewPoints_ = 0;
    FrameCounts counts_;
};

}  // namespace pw
