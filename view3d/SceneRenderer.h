#pragma once
// Draws a Scene3d with OpenGL 3.3 (core profile) into the framebuffer that is bound. Every
// model's mesh, the unit cylinder of tubes and the fundaments' block are uploaded once per scene;
// footers, tubes and blocks are drawn instanced, one draw per model, one matrix per instance.
// Each frame sorts what is in view by its size on screen: a footer of fewer than a few pixels is
// a point, a tube or track piece thinner than a pixel is only its centre line (always drawn
// beneath). A frame allocates nothing: its arrays are sized when the scene is set.
//
// Every call needs the context current that initialize() ran in; destroy() releases the GL
// objects and must run in it too.

#include "OrbitCamera.h"
#include "Picking3d.h"
#include "Scene3d.h"

#include <QOpenGLExtraFunctions>
#include <QSize>
#include <QString>

#include <array>
#include <memory>
#include <vector>

namespace pw {

// The per-instance values the shader takes: the first three rows of the placement, then the
// colour with its alpha.
struct Instance3d {
    std::array<float, 12> rows;
    std::array<float, 4> colour;
};

struct FrameCounts {
    int meshFooters = 0;
    int pointFooters = 0;
    int meshTubes = 0;  // track pieces included
    int lineTubes = 0;
};

class SceneRenderer : protected QOpenGLExtraFunctions {
public:
    static constexpr float previewAlpha = 0.35f;
    static constexpr float pointFooterPixels = 3.0f;  // footers smaller than this are points

    SceneRenderer() = default;
    SceneRenderer(const SceneRenderer&) = delete;
    SceneRenderer& operator=(const SceneRenderer&) = delete;
    ~SceneRenderer();

    // Compiles the shaders; the reason when the context cannot run them.
    QString initialize();
    bool initialized() const { return initialized_; }
    // Uploads the scene's meshes and instances.
    void setScene(std::shared_ptr<const Scene3d> scene);
    const Scene3d* scene() const { return scene_.get(); }
    void setHighlight(Pick3d pick) { highlight_ = pick; }
    // `size` in device pixels.
    void render(const OrbitCamera& camera, QSize size);
    const FrameCounts& lastFrame() const { return counts_; }
    void destroy();

private:
    struct Mesh {
        unsigned vao = 0;
        unsigned vertices = 0;
        unsigned indices = 0;
        unsigned instances = 0;
        int indexCount = 0;
    };
    struct Lines {
        unsigned vao = 0;
        unsigned buffer = 0;
    };
    struct Cull {
        Vector3 centre;
        float radius;     // of the sphere around the instance
        float thickness;  // a tube's radius
    };

    void releaseScene();
    void release(Mesh& mesh);
    Mesh makeMesh(const ModelMesh& mesh, int instanceCapacity);
    void drawInstanced(Mesh& mesh, const std::vector<Instance3d>& instances);
    void drawFlat(Lines& lines, unsigned mode, int first, int count, float pointSize);
    void buildInstances();
    void buildStaticLines();

    bool initialized_ = false;
    unsigned meshProgram_ = 0;
    unsigned flatProgram_ = 0;
    int meshViewProjection_ = -1, meshToLight_ = -1;
    int flatViewProjection_ = -1, flatPointSize_ = -1;

    std::shared_ptr<const Scene3d> scene_;
    Pick3d highlight_;
    std::vector<Mesh> models_;         // one per scene model
    std::vector<Mesh> previewModels_;  // the same meshes, with the preview's instances
    Mesh cylinder_;
    Mesh block_;
    Lines staticLines_;  // the centre lines of track pieces and tubes
    Lines frameLines_;   // points, the grid and the highlight, filled per frame
    Lines axes_;

    // Built once per scene: every instance with its bounding sphere.
    std::vector<Instance3d> footerInstances_, previewInstances_, pieceInstances_, blockInstances_;
    std::vector<Cull> footerCull_, previewCull_, pieceCull_, blockCull_;
    std::vector<int> previewModelOf_, footerModelOf_;
    int trackLineVertices_ = 0;
    // Filled per frame within the capacity reserved per scene.
    std::vector<std::vector<Instance3d>> frameFooters_, framePreview_;
    std::vector<Instance3d> framePieces_, frameBlocks_;
    std::vector<float> frameFlat_;  // the grid, then points: x, y, z, r, g, b, a each
    FrameCounts counts_;
};

}  // namespace pw
