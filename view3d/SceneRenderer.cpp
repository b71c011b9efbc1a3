#include "SceneRenderer.h"

#include "SceneFrame.h"
#include "ShaderProgram.h"
#include "TubeJoints.h"

#include "footers/DrawingColours.h"
#include "tracklib/Catching.h"

#include <QMatrix4x4>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pw {

namespace {

#ifndef GL_PROGRAM_POINT_SIZE
constexpr unsigned GL_PROGRAM_POINT_SIZE = 0x8642;
#endif

constexpr int gridHalfLines = 40;
constexpr int gridVertices = 2 * 2 * (2 * gridHalfLines + 1);
// A segment of the track is drawn in a straight piece per this many pixels of its size on screen,
// up to one piece per sample.
constexpr float pixelsPerTrackPiece = 8.0f;
constexpr int axisMarkerPixels = 72;

using namespace scene3d;

std::array<float, 3> rgbOf(const std::array<float, 4>& colour)
{
    return {colour[0], colour[1], colour[2]};
}

std::string_view glText(QOpenGLExtraFunctions& gl, unsigned name)
{
    const auto* text = reinterpret_cast<const char*>(gl.glGetString(name));
    return text != nullptr ? std::string_view(text) : std::string_view();
}

// The path PLINTHWRIGHT_3D_PATH forces; a value that names none is said once and left aside.
std::optional<DrawingPath> forcedPath()
{
    const QByteArray value = qgetenv(drawingPathVariable);
    const std::optional<DrawingPath> path = forcedDrawingPath(value.toStdString());
    if (!path && !value.isEmpty())
        std::fprintf(stderr,
                     "plinthwright: %s=%s names no drawing path (software or hardware); the "
                     "renderer's own is taken\n",
                     drawingPathVariable, value.constData());
    return path;
}

// The ground grid: lines a metre apart from -gridHalfLines to gridHalfLines, both ways.
std::vector<float> unitGrid()
{
    std::vector<float> out;
    const std::array<float, 4> colour = rgba(gridRgb);
    const auto reach = static_cast<float>(gridHalfLines);
    for (int i = -gridHalfLines; i <= gridHalfLines; ++i) {
        const auto offset = static_cast<float>(i);
        pushFlat(out, {offset, 0.0f, -reach}, colour);
        pushFlat(out, {offset, 0.0f, reach}, colour);
        pushFlat(out, {-reach, 0.0f, offset}, colour);
        pushFlat(out, {reach, 0.0f, offset}, colour);
    }
    return out;
}

void upload(QOpenGLExtraFunctions& gl, unsigned buffer, const std::vector<float>& values,
            unsigned usage)
{
    gl.glBindBuffer(GL_ARRAY_BUFFER, buffer);
    gl.glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(values.size() * sizeof(float)),
                    values.data(), usage);
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
}

// Calls `sort(i, cull)` for each instance whose sphere the frustum sees, in order.
template <class Sort>
void forEachSeen(const Frustum& frustum, const std::vector<Cull>& culls, Sort sort)
{
    for (std::size_t i = 0; i < culls.size(); ++i)
        if (frustum.sees(culls[i].centre, culls[i].radius))
            sort(i, culls[i]);
}

}  // namespace

SceneRenderer::~SceneRenderer() = default;

Result<void> SceneRenderer::initialize(std::optional<DrawingPath> path)
{
    initializeOpenGLFunctions();
    const QOpenGLContext* context = QOpenGLContext::currentContext();
    if (context == nullptr)
        return CoreError(RendererError::NoCurrentContext);
    const QSurfaceFormat format = context->format();
    if (context->isOpenGLES() || format.version() < qMakePair(3, 3))
        return CoreError(
            RendererError::OpenGlTooOld, {}, {}, {}, 0,
            QStringLiteral("%1 %2.%3")
                .arg(context->isOpenGLES() ? QStringLiteral("OpenGL ES") : QStringLiteral("OpenGL"))
                .arg(format.majorVersion())
                .arg(format.minorVersion())
                .toStdString());
    if (Result<void> built = buildPrograms(); !built)
        return built;
    path_ = path ? *path
                 : chooseDrawingPath(glText(*this, GL_RENDERER), glText(*this, GL_VENDOR),
                                     forcedPath());
    makeFixedBuffers();
    initialized_ = true;
    if (scene_)
        return setScene(scene_);
    return {};
}

Result<void> SceneRenderer::buildPrograms()
{
    const struct {
        unsigned* program;
        const char* vertex;
        const char* fragment;
    } programs[] = {
        {&meshProgram_, "mesh.vert", "shade.frag"},
        {&flatProgram_, "flat.vert", "shade.frag"},
        {&bandLayerProgram_, "layer.vert", "band-layer.frag"},
        {&lineLayerProgram_, "layer.vert", "line-layer.frag"},
        {&tubeProgram_, "tube.vert", "shade.frag"},
        {&pointProgram_, "point.vert", "shade.frag"},
    };
    for (const auto& [program, vertex, fragment] : programs) {
        const Result<unsigned> built = buildProgram(*this, vertex, fragment);
        if (!built)
            return built.error();
        *program = *built;
    }
    glUseProgram(bandLayerProgram_);
    glUniform1i(glGetUniformLocation(bandLayerProgram_, "layer"), 0);
    glUniform1i(glGetUniformLocation(bandLayerProgram_, "layerDepth"), 1);
    glUseProgram(lineLayerProgram_);
    glUniform1i(glGetUniformLocation(lineLayerProgram_, "layer"), 0);
    glUseProgram(0);
    meshViewProjection_ = glGetUniformLocation(meshProgram_, "viewProjection");
    meshToLight_ = glGetUniformLocation(meshProgram_, "toLight");
    flatViewProjection_ = glGetUniformLocation(flatProgram_, "viewProjection");
    flatPointSize_ = glGetUniformLocation(flatProgram_, "pointSize");
    card_.tubeViewProjection = glGetUniformLocation(tubeProgram_, "viewProjection");
    card_.tubeToLight = glGetUniformLocation(tubeProgram_, "toLight");
    card_.tubeMinimumRadius = glGetUniformLocation(tubeProgram_, "minimumRadiusPerDepth");
    card_.pointViewProjection = glGetUniformLocation(pointProgram_, "viewProjection");
    card_.pointEye = glGetUniformLocation(pointProgram_, "eye");
    card_.pointForward = glGetUniformLocation(pointProgram_, "forward");
    card_.pointPixelsAtUnitDepth = glGetUniformLocation(pointProgram_, "pixelsAtUnitDepth");
    glUseProgram(pointProgram_);
    glUniform1f(glGetUniformLocation(pointProgram_, "pointSize"), pointFooterPixels);
    glUseProgram(0);
    return {};
}

// What every scene shares: the line picture's textures, the cylinder, the block and the axes.
void SceneRenderer::makeFixedBuffers()
{
    glGenVertexArrays(1, &layerVao_);
    for (unsigned* texture : {&layerTexture_, &layerDepthTexture_}) {
        glGenTextures(1, texture);
        glBindTexture(GL_TEXTURE_2D, *texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    layerTextureSize_ = {};
    cylinder_ = makeGpuMesh(*this, cylinderMesh(), 0);
    block_ = makeGpuMesh(*this, blockMesh(), 0);
    highlightTube_ = makeGpuMesh(*this, cylinderMesh(), 1);
    frameFlatBuffer_ = makeFlatBuffer(*this);
    grid_ = makeFlatBuffer(*this);
    upload(*this, grid_.buffer, unitGrid(), GL_STATIC_DRAW);
    axes_ = makeFlatBuffer(*this);
    cardPoints_ = makePointBuffer(*this);
    std::vector<float> axisVertices;
    const Vector3 origin{0, 0, 0};
    for (const auto& [end, rgb] : {std::pair{Vector3{1, 0, 0}, QRgb(0xd62728)},
                                   {Vector3{0, 1, 0}, QRgb(0x2ca02c)},
                                   {Vector3{0, 0, 1}, QRgb(0x1f77b4)}}) {
        pushFlat(axisVertices, origin, rgba(rgb));
        pushFlat(axisVertices, end, rgba(rgb));
    }
    upload(*this, axes_.buffer, axisVertices, GL_STATIC_DRAW);
}

void SceneRenderer::releaseScene()
{
    for (std::vector<GpuMesh>& meshes : models_)
        for (GpuMesh& mesh : meshes)
            release(*this, mesh);
    models_.clear();
}

void SceneRenderer::destroy()
{
    if (!initialized_)
        return;
    releaseScene();
    release(*this, cylinder_);
    release(*this, block_);
    release(*this, highlightTube_);
    release(*this, frameFlatBuffer_);
    release(*this, grid_);
    release(*this, axes_);
    release(*this, cardPoints_);
    for (const unsigned program : {meshProgram_, flatProgram_, bandLayerProgram_, lineLayerProgram_,
                                   tubeProgram_, pointProgram_})
        glDeleteProgram(program);
    glDeleteTextures(1, &layerTexture_);
    glDeleteTextures(1, &layerDepthTexture_);
    glDeleteVertexArrays(1, &layerVao_);
    initialized_ = false;
}

Result<void> SceneRenderer::setScene(std::shared_ptr<const Scene3d> scene)
{
    scene_ = std::move(scene);
    highlight_ = {};
    if (!initialized_ || !scene_)
        return {};
    releaseScene();
    Result<void> uploaded = catchingAllocation([this] { uploadScene(); });
    if (!uploaded)
        dropScene();
    return uploaded;
}

// Models, track and all are the scene's: it goes whole, and the window keeps its track.
void SceneRenderer::dropScene()
{
    releaseScene();
    scene_.reset();
    for (auto* frame : {&frameFooters_, &framePreview_})
        frame->clear();
    instances_ = {};
    for (auto* instances : {&framePieces_, &frameBlocks_, &placedInstances_})
        instances->clear();
}

void SceneRenderer::uploadScene()
{
    instances_ = buildSceneInstances(*scene_, previewAlpha);
    const auto countPerModel = [&](const std::vector<Footer3d>& footers) {
        std::vector<int> counts(scene_->models.size(), 0);
        for (const Footer3d& footer : footers)
            if (footer.model >= 0)
                ++counts[static_cast<std::size_t>(footer.model)];
        return counts;
    };
    const std::vector<int> solid = countPerModel(scene_->footers);
    const std::vector<int> preview = countPerModel(scene_->preview);
    frameFooters_.assign(scene_->models.size(), {});
    framePreview_.assign(scene_->models.size(), {});
    std::size_t mostPlaced = 1;  // the highlight's
    for (std::size_t m = 0; m < scene_->models.size(); ++m) {
        // One mesh for the solid and the preview footers: the preview's draw refills its
        // instances after the solid one. On the card both stay, and the highlight's beside them.
        const int footers = path_ == DrawingPath::Hardware ? solid[m] + preview[m] + 1
                                                           : std::max({solid[m], preview[m], 1});
        std::vector<GpuMesh>& meshes = models_.emplace_back();
        for (const PlacedMesh& placed : scene_->models[m].meshes) {
            const std::size_t instances =
                static_cast<std::size_t>(footers) * placed.placements.size();
            mostPlaced = std::max(mostPlaced, instances);
            meshes.push_back(makeGpuMesh(*this, placed.mesh, static_cast<int>(instances)));
        }
        frameFooters_[m].reserve(static_cast<std::size_t>(solid[m]));
        framePreview_[m].reserve(static_cast<std::size_t>(preview[m]));
    }
    placedInstances_.reserve(mostPlaced);
    highlightFooter_.reserve(1);
    // One buffer each for all tubes and track pieces, and for all blocks.
    std::size_t trackPieces = 0;
    for (const std::vector<Vector3>& samples : scene_->curve)
        trackPieces += std::max<std::size_t>(samples.size(), 1) - 1;
    const std::size_t pieces = instances_.tubes.size() + trackPieces;
    glBindBuffer(GL_ARRAY_BUFFER, cylinder_.instances);
    glBufferData(GL_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(std::max<std::size_t>(pieces, 1) * sizeof(Instance3d)),
                 nullptr, GL_DYNAMIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, block_.instances);
    glBufferData(GL_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(std::max<std::size_t>(instances_.blocks.size(), 1) *
                                         sizeof(Instance3d)),
                 nullptr, GL_DYNAMIC_DRAW);
    framePieces_.reserve(pieces);
    frameLineEnds_.reserve(pieces);
    frameBands_.reserve(pieces);
    lineLayer_.reserve(pieces);
    frameBlocks_.reserve(instances_.blocks.size());
    // Every preview footer as a point, the highlight's point: solid points are dots of the line
    // picture.
    const std::size_t flatCapacity = (instances_.preview.instances.size() + 1) * FlatBuffer::floats;
    frameFlat_.reserve(flatCapacity);
    glBindBuffer(GL_ARRAY_BUFFER, frameFlatBuffer_.buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(flatCapacity * sizeof(float)), nullptr,
                 GL_DYNAMIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    if (path_ == DrawingPath::Hardware)
        uploadToCard();
}

void SceneRenderer::drawModel(std::size_t m, const std::vector<Instance3d>& footers)
{
    if (footers.empty())
        return;
    const std::vector<PlacedMesh>& placed = scene_->models[m].meshes;
    for (std::size_t p = 0; p < placed.size(); ++p) {
        const std::vector<Placement>& placements = placed[p].placements;
        if (placements.size() == 1 && placements.front() == identityPlacement) {
            drawInstanced(*this, models_[m][p], footers);
            continue;
        }
        placedInstances_.clear();
        for (const Instance3d& footer : footers)
            appendPlaced(placedInstances_, footer, placements);
        drawInstanced(*this, models_[m][p], placedInstances_);
    }
}

void SceneRenderer::drawFlat(const FlatBuffer& flat, unsigned mode, int first, int count,
                             float pointSize)
{
    if (count <= 0)
        return;
    glUniform1f(flatPointSize_, pointSize);
    glBindVertexArray(flat.vao);
    glDrawArrays(mode, first, count);
}

void SceneRenderer::drawLineLayer()
{
    if (lineLayer_.empty())
        return;
    const QSize size = lineLayer_.size();
    const bool banded = lineLayer_.banded();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (layerTextureSize_ != size) {
        glBindTexture(GL_TEXTURE_2D, layerTexture_);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size.width(), size.height(), 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, nullptr);
        glBindTexture(GL_TEXTURE_2D, layerDepthTexture_);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_R32F, size.width(), size.height(), 0, GL_RED, GL_FLOAT,
                     nullptr);
        layerTextureSize_ = size;
    }
    // Only the rectangle the lines and bands were drawn in is uploaded and laid under the frame.
    const QRect drawn = lineLayer_.drawn();
    const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(drawn.y()) * size.width() + drawn.x();
    glPixelStorei(GL_UNPACK_ROW_LENGTH, size.width());
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, layerTexture_);
    glTexSubImage2D(GL_TEXTURE_2D, 0, drawn.x(), drawn.y(), drawn.width(), drawn.height(), GL_RGBA,
                    GL_UNSIGNED_BYTE, lineLayer_.pixels() + first);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, layerDepthTexture_);
    if (banded)
        glTexSubImage2D(GL_TEXTURE_2D, 0, drawn.x(), drawn.y(), drawn.width(), drawn.height(),
                        GL_RED, GL_FLOAT, lineLayer_.depths() + first);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    // Lines alone lie under everything drawn later, which tests its depth against the grid's;
    // bands write their own depth.
    if (banded)
        glDepthFunc(GL_ALWAYS);
    else
        glDisable(GL_DEPTH_TEST);
    glEnable(GL_SCISSOR_TEST);
    glScissor(drawn.x(), drawn.y(), drawn.width(), drawn.height());
    glUseProgram(banded ? bandLayerProgram_ : lineLayerProgram_);
    glBindVertexArray(layerVao_);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glDisable(GL_SCISSOR_TEST);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

int SceneRenderer::flatVertices() const { return static_cast<int>(frameFlat_.size() / FlatBuffer::floats); }

void SceneRenderer::render(const OrbitCamera& camera, QSize size)
{
    counts_ = {};
    const auto [br, bg, bb, ba] = rgba(backgroundRgb);
    glViewport(0, 0, size.width(), size.height());
    glClearColor(br, bg, bb, ba);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!initialized_ || !scene_ || size.isEmpty())
        return;
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glEnable(GL_PROGRAM_POINT_SIZE);

    const Bounds3d& bounds = scene_->bounds;
    const Vector3 centre = bounds.empty ? camera.pivot() : (bounds.minimum + bounds.maximum) * 0.5f;
    // Models reach beyond the positions the bounds hold; a generous sphere keeps them in.
    const float radius =
        (bounds.empty ? 1.0f : 0.5f * length(bounds.maximum - bounds.minimum)) + 10.0f;
    const QMatrix4x4 viewProjection = camera.projection(size, centre, radius) * camera.view();
    const FrameView view{viewProjection,   Frustum(viewProjection),           camera.eye(),
                         camera.forward(), camera.pixelsPerMetre(1.0f, size), size};
    if (path_ == DrawingPath::Software)
        renderOnProcessor(view, camera);
    else
        renderOnCard(view, camera);
    drawAxisMarker(camera, size);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glUseProgram(0);
}

void SceneRenderer::renderOnProcessor(const FrameView& view, const OrbitCamera& camera)
{
    // What is in view, and how it is drawn: bands, lines and small solid footers into the line
    // picture, the rest into this frame's instances.
    frameFlat_.clear();
    framePieces_.clear();
    frameLineEnds_.clear();
    frameBands_.clear();
    lineLayer_.begin(view.viewProjection, view.size,
                     {view.pixelsAtUnitDepth, view.eye, lightDirection()});
    sortTubes(view);
    sortTrack(view);
    lineLayer_.drawBands(frameBands_);
    lineLayer_.drawLines(frameLineEnds_);
    sortBlocks(view);
    sortFooters(view, instances_.footers, frameFooters_, false);
    sortFooters(view, instances_.preview, framePreview_, true);
    const int highlightPoint = flatVertices();
    const std::optional<Highlight> highlight = highlighted();
    const int flatCount = flatVertices();
    glBindBuffer(GL_ARRAY_BUFFER, frameFlatBuffer_.buffer);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(frameFlat_.size() * sizeof(float)),
                    frameFlat_.data());

    drawSolids(view, camera);
    if (highlight)
        drawHighlight(*highlight, highlightPoint, flatCount - highlightPoint);
    drawPreview(0, highlightPoint);
}

// A grid on the ground about the pivot, its spacing a power of ten to suit the distance.
void SceneRenderer::drawGrid(const FrameView& view, const OrbitCamera& camera)
{
    const Vector3 pivot = camera.pivot();
    const float spacing =
        std::pow(10.0f, std::floor(std::log10(std::max(camera.distance(), 1.0f) * 0.1f)));
    QMatrix4x4 placed = view.viewProjection;
    placed.translate(std::round(pivot.x / spacing) * spacing, 0.0f,
                     std::round(pivot.z / spacing) * spacing);
    placed.scale(spacing, 1.0f, spacing);
    glUseProgram(flatProgram_);
    glUniformMatrix4fv(flatViewProjection_, 1, GL_FALSE, placed.constData());
    drawFlat(grid_, GL_LINES, 0, gridVertices, 1.0f);
    glUniformMatrix4fv(flatViewProjection_, 1, GL_FALSE, view.viewProjection.constData());
}

// A tube as wide on screen as it is at each depth, cut where that width crosses a limit: a
// cylinder where it is wider than a band may be, a band down to a line's width, a line beyond.
// Bands and lines are drawn after the sorting, bands first.
SceneRenderer::Drawn SceneRenderer::sortTube(const FrameView& view, Vector3 a, Vector3 b,
                                             float radius, const Ink& ink, const Instance3d* whole)
{
    if (!view.frustum.sees(a, b, radius))
        return Drawn::None;
    float nearDepth = dot(a - view.eye, view.forward), farDepth = dot(b - view.eye, view.forward);
    Vector3 nearEnd = a, farEnd = b;
    if (farDepth < nearDepth) {
        std::swap(nearEnd, farEnd);
        std::swap(nearDepth, farDepth);
    }
    const float widthScale = 2.0f * radius * view.pixelsAtUnitDepth;
    const float bandDepth = widthScale / bandTubePixels, lineDepth = widthScale / lineTubePixels;
    // The point at `depth`, which lies between the ends' depths.
    const auto at = [&](float depth) {
        return nearEnd + (farEnd - nearEnd) * ((depth - nearDepth) / (farDepth - nearDepth));
    };
    const Vector3 bandFrom = nearDepth >= bandDepth  ? nearEnd
                             : farDepth <= bandDepth ? farEnd
                                                     : at(bandDepth);
    const Vector3 lineFrom = nearDepth >= lineDepth  ? nearEnd
                             : farDepth <= lineDepth ? farEnd
                                                     : at(lineDepth);
    Drawn drawn = Drawn::Line;
    if (nearDepth < lineDepth && farDepth > bandDepth) {
        frameBands_.push_back({bandFrom, lineFrom, radius, rgbOf(ink.colour)});
        drawn = Drawn::Band;
    }
    if (nearDepth < bandDepth) {
        if (farDepth <= bandDepth && whole)
            framePieces_.push_back(*whole);
        else if (view.frustum.sees(nearEnd, bandFrom, radius))
            framePieces_.push_back(cylinderInstance(nearEnd, bandFrom, radius, ink.colour));
        drawn = Drawn::Cylinder;
    }
    if (farDepth > lineDepth)
        frameLineEnds_.push_back({lineFrom, farEnd, ink.line});
    return drawn;
}

void SceneRenderer::tally(Drawn drawn, int& cylinders, int& bands, int& lines)
{
    if (drawn != Drawn::None)
        ++(drawn == Drawn::Cylinder ? cylinders : drawn == Drawn::Band ? bands : lines);
}

void SceneRenderer::sortTubes(const FrameView& view)
{
    const Ink ink(supportRgb);
    forEachSeen(view.frustum, instances_.tubeCull, [&](std::size_t i, const Cull& cull) {
        const Tube3d& tube = scene_->tubes[i];
        const Drawn drawn =
            sortTube(view, tube.a, tube.b, cull.thickness, ink, &instances_.tubes[i]);
        tally(drawn, counts_.meshTubes, counts_.bandTubes, counts_.lineTubes);
    });
}

// Each segment in as many pieces as it spans pixels apart, as the plan draws it.
void SceneRenderer::sortTrack(const FrameView& view)
{
    const Ink ink(track3dRgb);
    forEachSeen(view.frustum, instances_.segmentCull, [&](std::size_t i, const Cull& cull) {
        const std::vector<Vector3>& samples = scene_->curve[i];
        if (samples.size() < 2)
            return;
        const int steps = std::clamp(
            static_cast<int>(view.pixels(cull, 2.0f * cull.radius) / pixelsPerTrackPiece), 1,
            static_cast<int>(samples.size()) - 1);
        // Lines a pixel wide need no overlap at their joints.
        const bool lines = view.pixels(cull, 2.0f * trackTubeRadius) < lineTubePixels;
        forEachPiece(samples, steps, instances_.segmentEnds[i], lines ? 0.0f : trackTubeRadius,
                     [&](const TubePiece& piece) {
                         tally(sortTube(view, piece.a, piece.b, trackTubeRadius, ink, nullptr),
                               counts_.meshTrackPieces, counts_.bandTrackPieces,
                               counts_.lineTrackPieces);
                     });
    });
}

void SceneRenderer::sortBlocks(const FrameView& view)
{
    frameBlocks_.clear();
    forEachSeen(view.frustum, instances_.blockCull, [&](std::size_t i, const Cull& cull) {
        if (view.pixels(cull, fundamentBlockSize) >= pointFooterPixels)
            frameBlocks_.push_back(instances_.blocks[i]);
        else
            lineLayer_.drawDot(cull.centre, LineLayer::pack(instances_.blocks[i].colour),
                               static_cast<int>(pointFooterPixels));
    });
}

// Solid footers too small for their mesh are dots of the line picture; translucent ones are
// points drawn over everything later.
void SceneRenderer::sortFooters(const FrameView& view, const FooterInstances& footers,
                                std::vector<std::vector<Instance3d>>& perModel, bool translucent)
{
    for (std::vector<Instance3d>& list : perModel)
        list.clear();
    forEachSeen(view.frustum, footers.cull, [&](std::size_t i, const Cull& cull) {
        const Instance3d& instance = footers.instances[i];
        if (view.pixels(cull, 2.0f * cull.radius) >= pointFooterPixels) {
            perModel[static_cast<std::size_t>(footers.modelOf[i])].push_back(instance);
            ++counts_.meshFooters;
        } else {
            if (translucent)
                pushFlat(frameFlat_, cull.centre, instance.colour);
            else
                lineLayer_.drawDot(cull.centre, LineLayer::pack(instance.colour),
                                   static_cast<int>(pointFooterPixels));
            ++counts_.pointFooters;
        }
    });
}

// The picked footer or tube, and a point that shows it when small.
std::optional<SceneRenderer::Highlight> SceneRenderer::highlighted()
{
    const Scene3d& scene = *scene_;
    const std::array<float, 4> colour = rgba(highlightRgb);
    if (highlight_.kind == Pick3d::Kind::Tube && highlight_.index < scene.tubes.size()) {
        const Tube3d& tube = scene.tubes[highlight_.index];
        pushFlat(frameFlat_, (tube.a + tube.b) * 0.5f, colour);
        Instance3d instance = instances_.tubes[highlight_.index];
        instance.colour = colour;
        return Highlight{instance};
    }
    if (highlight_.kind == Pick3d::Kind::None)
        return std::nullopt;
    const bool preview = highlight_.kind == Pick3d::Kind::PreviewFooter;
    const std::vector<Footer3d>& list = preview ? scene.preview : scene.footers;
    if (highlight_.index >= list.size() || list[highlight_.index].model < 0)
        return std::nullopt;
    const Footer3d& footer = list[highlight_.index];
    const auto model = static_cast<std::size_t>(footer.model);
    const Model3d& shape = scene.models[model];
    pushFlat(frameFlat_, placed(footer.matrix, (shape.minimum + shape.maximum) * 0.5f), colour);
    return Highlight{instanceOf(footer.matrix, colour), model};
}

void SceneRenderer::useMeshProgram(const FrameView& view)
{
    glUseProgram(meshProgram_);
    glUniformMatrix4fv(meshViewProjection_, 1, GL_FALSE, view.viewProjection.constData());
    const Vector3 toLight = lightDirection();
    glUniform3f(meshToLight_, toLight.x, toLight.y, toLight.z);
}

// The grid and the line picture under everything, then the cylinders, blocks and footers.
void SceneRenderer::drawSolids(const FrameView& view, const OrbitCamera& camera)
{
    drawGrid(view, camera);
    drawLineLayer();
    useMeshProgram(view);
    // Cylinders and blocks are closed, and wound outwards: their far sides are not drawn.
    glEnable(GL_CULL_FACE);
    drawInstanced(*this, cylinder_, framePieces_);
    drawInstanced(*this, block_, frameBlocks_);
    glDisable(GL_CULL_FACE);
    for (std::size_t m = 0; m < models_.size(); ++m)
        drawModel(m, frameFooters_[m]);
}

void SceneRenderer::drawHighlight(const Highlight& highlight, int firstPoint, int points)
{
    // Reuses the instance buffers of draws that are finished.
    highlightFooter_.assign(1, highlight.instance);
    if (highlight_.kind == Pick3d::Kind::Tube)
        drawInstanced(*this, cylinder_, highlightFooter_);
    else
        drawModel(highlight.model, highlightFooter_);
    glUseProgram(flatProgram_);
    drawFlat(frameFlatBuffer_, GL_POINTS, firstPoint, points, highlightPointPixels);
    glUseProgram(meshProgram_);
}

// What generate would add: translucent over everything, hiding nothing behind it.
void SceneRenderer::drawPreview(int firstPoint, int points)
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    for (std::size_t m = 0; m < models_.size(); ++m)
        drawModel(m, framePreview_[m]);
    glUseProgram(flatProgram_);
    drawFlat(frameFlatBuffer_, GL_POINTS, firstPoint, points, pointFooterPixels);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

// The axis marker in the lower left corner: the camera's turn alone.
void SceneRenderer::drawAxisMarker(const OrbitCamera& camera, QSize size)
{
    const int marker = std::min({axisMarkerPixels, size.width(), size.height()});
    glViewport(0, 0, marker, marker);
    glDisable(GL_DEPTH_TEST);
    glUseProgram(flatProgram_);
    QMatrix4x4 turn = camera.view();
    turn.setColumn(3, {0, 0, 0, 1});
    QMatrix4x4 markerMatrix;
    markerMatrix.ortho(-1.2f, 1.2f, -1.2f, 1.2f, -2.0f, 2.0f);
    markerMatrix *= turn;
    glUniformMatrix4fv(flatViewProjection_, 1, GL_FALSE, markerMatrix.constData());
    drawFlat(axes_, GL_LINES, 0, 6, 1.0f);
    glViewport(0, 0, size.width(), size.height());
}

}  // namespace pw
