#include "SceneRenderer.h"

#include "footers/DrawingColours.h"

#include <QColor>
#include <QMatrix4x4>

#include <algorithm>
#include <cmath>
#include <new>
#include <numbers>

namespace pw {

namespace {

#ifndef GL_PROGRAM_POINT_SIZE
constexpr unsigned GL_PROGRAM_POINT_SIZE = 0x8642;
#endif

constexpr const char* meshVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec4 row0;
layout(location = 3) in vec4 row1;
layout(location = 4) in vec4 row2;
layout(location = 5) in vec4 colour;
uniform mat4 viewProjection;
uniform vec3 toLight;
out vec4 shade;
void main()
{
    vec4 p = vec4(position, 1.0);
    vec3 world = vec3(dot(row0, p), dot(row1, p), dot(row2, p));
    vec3 c0 = vec3(row0.x, row1.x, row2.x);
    vec3 c1 = vec3(row0.y, row1.y, row2.y);
    vec3 c2 = vec3(row0.z, row1.z, row2.z);
    // The cofactors turn a normal as the inverse transpose does, up to a positive factor.
    float handedness = dot(c0, cross(c1, c2)) < 0.0 ? -1.0 : 1.0;
    vec3 n = (cross(c1, c2) * normal.x + cross(c2, c0) * normal.y + cross(c0, c1) * normal.z)
             * handedness;
    float facing = dot(n, n) > 0.0 ? max(dot(normalize(n), toLight), 0.0) : 0.0;
    shade = vec4(colour.rgb * (0.4 + 0.6 * facing), colour.a);
    gl_Position = viewProjection * vec4(world, 1.0);
}
)";

constexpr const char* flatVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 colour;
uniform mat4 viewProjection;
uniform float pointSize;
out vec4 shade;
void main()
{
    shade = colour;
    gl_PointSize = pointSize;
    gl_Position = viewProjection * vec4(position, 1.0);
}
)";

constexpr const char* fragmentShader = R"(#version 330 core
in vec4 shade;
out vec4 fragColour;
void main()
{
    fragColour = shade;
}
)";

// One triangle over the whole view; each pixel takes its own texel of the line picture.
constexpr const char* layerVertexShader = R"(#version 330 core
void main()
{
    gl_Position = vec4(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? 3.0 : -1.0, 0.0, 1.0);
}
)";

// Bands and dots carry their depth, so that meshes drawn later hide them or are hidden by them;
// lines carry the far depth, or the depth of a band or dot behind them.
constexpr const char* bandLayerFragmentShader = R"(#version 330 core
uniform sampler2D layer;
uniform sampler2D layerDepth;
out vec4 fragColour;
void main()
{
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    vec4 colour = texelFetch(layer, pixel, 0);
    if (colour.a == 0.0)
        discard;
    fragColour = colour;
    gl_FragDepth = texelFetch(layerDepth, pixel, 0).r;
}
)";

// Without bands the picture lies under everything and writes no depth: a shader that writes
// none costs llvmpipe a sixth of the frame less.
constexpr const char* lineLayerFragmentShader = R"(#version 330 core
uniform sampler2D layer;
out vec4 fragColour;
void main()
{
    vec4 colour = texelFetch(layer, ivec2(gl_FragCoord.xy), 0);
    if (colour.a == 0.0)
        discard;
    fragColour = colour;
}
)";

constexpr int flatFloats = 7;  // x, y, z, r, g, b, a
constexpr int cylinderSides = 8;
constexpr int gridHalfLines = 40;
constexpr int gridVertices = 2 * 2 * (2 * gridHalfLines + 1);
// A segment of the track is drawn in a straight piece per this many pixels of its size on screen,
// up to one piece per sample.
constexpr float pixelsPerTrackPiece = 8.0f;
// The track and the grid are drawn in colours of their own: the plan's black track would show
// no light at all.
constexpr QRgb trackRgb3d = 0x505050;
constexpr QRgb gridRgb = 0xd8d8d8;
constexpr QRgb highlightRgb = 0xffd400;
constexpr QRgb backgroundRgb = 0xffffff;
constexpr float highlightPointPixels = 9.0f;
constexpr int axisMarkerPixels = 72;

std::array<float, 4> rgba(QRgb rgb, float alpha = 1.0f)
{
    return {static_cast<float>(qRed(rgb)) / 255.0f, static_cast<float>(qGreen(rgb)) / 255.0f,
            static_cast<float>(qBlue(rgb)) / 255.0f, alpha};
}

std::array<float, 3> rgbOf(const std::array<float, 4>& colour)
{
    return {colour[0], colour[1], colour[2]};
}

Vector3 lightDirection()
{
    Vector3 toLight{0.35f, 1.0f, 0.55f};
    normalize(toLight);
    return toLight;
}

std::array<float, 4> styleColour(int style, float alpha = 1.0f)
{
    return rgba(footerRgb(style), alpha);
}

Vector3 placed(const std::array<float, 16>& e, Vector3 p)
{
    return {e[0] * p.x + e[1] * p.y + e[2] * p.z + e[3],
            e[4] * p.x + e[5] * p.y + e[6] * p.z + e[7],
            e[8] * p.x + e[9] * p.y + e[10] * p.z + e[11]};
}

Instance3d instanceOf(const std::array<float, 16>& m, std::array<float, 4> colour)
{
    Instance3d instance;
    std::copy_n(m.begin(), 12, instance.rows.begin());
    instance.colour = colour;
    return instance;
}

// The unit cylinder (radius 1, y from 0 to 1) stretched from `a` to `b` with `radius`.
Instance3d cylinderInstance(Vector3 a, Vector3 b, float radius, std::array<float, 4> colour)
{
    const Vector3 axis = b - a;
    const Vector3 helper =
        std::abs(axis.y) > 0.9f * length(axis) ? Vector3{1, 0, 0} : Vector3{0, 1, 0};
    Vector3 p = cross(axis, helper);
    normalize(p);
    Vector3 q = cross(p, axis);
    normalize(q);
    p = p * radius;
    q = q * radius;
    return {{p.x, axis.x, q.x, a.x, p.y, axis.y, q.y, a.y, p.z, axis.z, q.z, a.z}, colour};
}

ModelMesh cylinderMesh()
{
    ModelMesh mesh;
    for (int side = 0; side < cylinderSides; ++side) {
        const float angle = 2.0f * std::numbers::pi_v<float> * side / cylinderSides;
        const float c = std::cos(angle), s = std::sin(angle);
        for (const float y : {0.0f, 1.0f}) {
            mesh.positions.push_back({c, y, s});
            mesh.normals.push_back({c, 0.0f, s});
        }
        const auto i = static_cast<std::uint32_t>(2 * side);
        const auto next = static_cast<std::uint32_t>(2 * ((side + 1) % cylinderSides));
        mesh.indices.insert(mesh.indices.end(), {i, i + 1, next, next, i + 1, next + 1});
    }
    return mesh;
}

ModelMesh blockMesh()
{
    ModelMesh mesh;
    // Six faces of four corners each, so that every face has its own normal.
    const Vector3 normals[6] = {{1, 0, 0},  {-1, 0, 0}, {0, 1, 0},
                                {0, -1, 0}, {0, 0, 1},  {0, 0, -1}};
    for (const Vector3 n : normals) {
        const Vector3 u = std::abs(n.y) > 0.5f ? Vector3{1, 0, 0} : Vector3{0, 1, 0};
        const Vector3 v = cross(n, u);
        const auto first = static_cast<std::uint32_t>(mesh.positions.size());
        for (const auto& [su, sv] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
            mesh.positions.push_back(n * 0.5f + (u * (0.5f * su) + v * (0.5f * sv)));
            mesh.normals.push_back(n);
        }
        mesh.indices.insert(mesh.indices.end(),
                            {first, first + 1, first + 2, first, first + 2, first + 3});
    }
    return mesh;
}

void pushFlat(std::vector<float>& out, Vector3 p, const std::array<float, 4>& colour)
{
    out.insert(out.end(), {p.x, p.y, p.z, colour[0], colour[1], colour[2], colour[3]});
}

struct Frustum {
    std::array<std::array<float, 4>, 6> planes;

    explicit Frustum(const QMatrix4x4& m)
    {
        // Rows of the matrix combined as Gribb and Hartmann describe.
        const auto row = [&](int r) {
            return std::array<float, 4>{m(r, 0), m(r, 1), m(r, 2), m(r, 3)};
        };
        const auto w = row(3);
        for (int axis = 0; axis < 3; ++axis) {
            const auto r = row(axis);
            for (int k = 0; k < 4; ++k) {
                planes[2 * axis][k] = w[k] + r[k];
                planes[2 * axis + 1][k] = w[k] - r[k];
            }
        }
        for (auto& plane : planes) {
            const float length =
                std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
            if (length > 0.0f)
                for (float& v : plane)
                    v /= length;
        }
    }

    bool sees(Vector3 c, float radius) const
    {
        for (const auto& plane : planes)
            if (distance(plane, c) < -radius)
                return false;
        return true;
    }

    // Whether any of a tube of `radius` from `a` to `b` may lie in view: no plane has it all
    // outside.
    bool sees(Vector3 a, Vector3 b, float radius) const
    {
        for (const auto& plane : planes)
            if (distance(plane, a) < -radius && distance(plane, b) < -radius)
                return false;
        return true;
    }

    static float distance(const std::array<float, 4>& plane, Vector3 p)
    {
        return plane[0] * p.x + plane[1] * p.y + plane[2] * p.z + plane[3];
    }
};

}  // namespace

SceneRenderer::~SceneRenderer() = default;

namespace {

QString compileProgram(QOpenGLExtraFunctions& gl, const char* vertexSource, unsigned& program,
                       const char* fragmentSource = fragmentShader)
{
    const auto compile = [&](unsigned kind, const char* source, unsigned& shader) -> QString {
        shader = gl.glCreateShader(kind);
        gl.glShaderSource(shader, 1, &source, nullptr);
        gl.glCompileShader(shader);
        int ok = 0;
        gl.glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
        if (ok)
            return {};
        char log[512] = {};
        gl.glGetShaderInfoLog(shader, sizeof log - 1, nullptr, log);
        return QStringLiteral("a shader does not compile: %1")
            .arg(QString::fromLatin1(log).trimmed());
    };
    unsigned vertex = 0, fragment = 0;
    QString problem = compile(GL_VERTEX_SHADER, vertexSource, vertex);
    if (problem.isEmpty())
        problem = compile(GL_FRAGMENT_SHADER, fragmentSource, fragment);
    if (problem.isEmpty()) {
        program = gl.glCreateProgram();
        gl.glAttachShader(program, vertex);
        gl.glAttachShader(program, fragment);
        gl.glLinkProgram(program);
        int ok = 0;
        gl.glGetProgramiv(program, GL_LINK_STATUS, &ok);
        if (!ok)
            problem = QStringLiteral("the shaders do not link");
    }
    gl.glDeleteShader(vertex);
    gl.glDeleteShader(fragment);
    return problem;
}

}  // namespace

Result<void> SceneRenderer::initialize()
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
    QString problem = compileProgram(*this, meshVertexShader, meshProgram_);
    if (problem.isEmpty())
        problem = compileProgram(*this, flatVertexShader, flatProgram_);
    if (problem.isEmpty())
        problem =
            compileProgram(*this, layerVertexShader, bandLayerProgram_, bandLayerFragmentShader);
    if (problem.isEmpty())
        problem =
            compileProgram(*this, layerVertexShader, lineLayerProgram_, lineLayerFragmentShader);
    if (!problem.isEmpty())
        return CoreError(RendererError::ShadersFailed, {}, {}, {}, 0, problem.toStdString());
    glGenVertexArrays(1, &layerVao_);
    for (unsigned* texture : {&layerTexture_, &layerDepthTexture_}) {
        glGenTextures(1, texture);
        glBindTexture(GL_TEXTURE_2D, *texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    layerTextureSize_ = {};
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

    cylinder_ = makeMesh(cylinderMesh(), 0);
    block_ = makeMesh(blockMesh(), 0);
    const auto makeLines = [this] {
        Lines lines;
        glGenVertexArrays(1, &lines.vao);
        glGenBuffers(1, &lines.buffer);
        glBindVertexArray(lines.vao);
        glBindBuffer(GL_ARRAY_BUFFER, lines.buffer);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, flatFloats * sizeof(float), nullptr);
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, flatFloats * sizeof(float),
                              reinterpret_cast<const void*>(3 * sizeof(float)));
        glBindVertexArray(0);
        return lines;
    };
    frameLines_ = makeLines();
    axes_ = makeLines();
    std::vector<float> axisVertices;
    const Vector3 origin{0, 0, 0};
    for (const auto& [end, rgb] : {std::pair{Vector3{1, 0, 0}, QRgb(0xd62728)},
                                   {Vector3{0, 1, 0}, QRgb(0x2ca02c)},
                                   {Vector3{0, 0, 1}, QRgb(0x1f77b4)}}) {
        pushFlat(axisVertices, origin, rgba(rgb));
        pushFlat(axisVertices, end, rgba(rgb));
    }
    glBindBuffer(GL_ARRAY_BUFFER, axes_.buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(axisVertices.size() * sizeof(float)),
                 axisVertices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    initialized_ = true;
    if (scene_)
        setScene(scene_);
    return {};
}

SceneRenderer::Mesh SceneRenderer::makeMesh(const ModelMesh& source, int instanceCapacity)
{
    Mesh mesh;
    glGenVertexArrays(1, &mesh.vao);
    glGenBuffers(1, &mesh.vertices);
    glGenBuffers(1, &mesh.indices);
    glGenBuffers(1, &mesh.instances);
    glBindVertexArray(mesh.vao);

    std::vector<float> interleaved;
    interleaved.reserve(source.positions.size() * 6);
    for (std::size_t i = 0; i < source.positions.size(); ++i) {
        const Vector3 p = source.positions[i], n = source.normals[i];
        interleaved.insert(interleaved.end(), {p.x, p.y, p.z, n.x, n.y, n.z});
    }
    glBindBuffer(GL_ARRAY_BUFFER, mesh.vertices);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(interleaved.size() * sizeof(float)),
                 interleaved.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 6 * sizeof(float), nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, 6 * sizeof(float),
                          reinterpret_cast<const void*>(3 * sizeof(float)));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indices);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(source.indices.size() * sizeof(std::uint32_t)),
                 source.indices.data(), GL_STATIC_DRAW);
    mesh.indexCount = static_cast<int>(source.indices.size());

    glBindBuffer(GL_ARRAY_BUFFER, mesh.instances);
    glBufferData(GL_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(std::max(instanceCapacity, 1) * sizeof(Instance3d)),
                 nullptr, GL_DYNAMIC_DRAW);
    for (int k = 0; k < 4; ++k) {
        glEnableVertexAttribArray(2 + k);
        glVertexAttribPointer(2 + k, 4, GL_FLOAT, GL_FALSE, sizeof(Instance3d),
                              reinterpret_cast<const void*>(k * 4 * sizeof(float)));
        glVertexAttribDivisor(2 + k, 1);
    }
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return mesh;
}

void SceneRenderer::releaseScene()
{
    for (std::vector<Mesh>& meshes : models_)
        for (Mesh& mesh : meshes)
            release(mesh);
    models_.clear();
}

void SceneRenderer::release(Mesh& mesh)
{
    glDeleteVertexArrays(1, &mesh.vao);
    const unsigned buffers[3] = {mesh.vertices, mesh.indices, mesh.instances};
    glDeleteBuffers(3, buffers);
    mesh = {};
}

void SceneRenderer::destroy()
{
    if (!initialized_)
        return;
    releaseScene();
    release(cylinder_);
    release(block_);
    for (Lines* lines : {&frameLines_, &axes_}) {
        glDeleteVertexArrays(1, &lines->vao);
        glDeleteBuffers(1, &lines->buffer);
    }
    glDeleteProgram(meshProgram_);
    glDeleteProgram(flatProgram_);
    glDeleteProgram(bandLayerProgram_);
    glDeleteProgram(lineLayerProgram_);
    glDeleteTextures(1, &layerTexture_);
    glDeleteTextures(1, &layerDepthTexture_);
    glDeleteVertexArrays(1, &layerVao_);
    initialized_ = false;
}

bool SceneRenderer::setScene(std::shared_ptr<const Scene3d> scene)
{
    scene_ = std::move(scene);
    highlight_ = {};
    if (!initialized_ || !scene_)
        return true;
    releaseScene();
    try {
        uploadScene();
        return true;
    } catch (const std::bad_alloc&) {
        // Models, track and all are the scene's: it goes whole, and the window keeps its track.
        releaseScene();
        scene_.reset();
        for (auto* frame : {&frameFooters_, &framePreview_})
            frame->clear();
        for (auto* instances : {&footerInstances_, &previewInstances_, &tubeInstances_,
                                &blockInstances_, &framePieces_, &frameBlocks_, &placedInstances_})
            instances->clear();
        return false;
    }
}

void SceneRenderer::uploadScene()
{
    buildInstances();
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
        // instances after the solid one.
        const int footers = std::max({solid[m], preview[m], 1});
        std::vector<Mesh>& meshes = models_.emplace_back();
        for (const PlacedMesh& placed : scene_->models[m].meshes) {
            const std::size_t instances =
                static_cast<std::size_t>(footers) * placed.placements.size();
            mostPlaced = std::max(mostPlaced, instances);
            meshes.push_back(makeMesh(placed.mesh, static_cast<int>(instances)));
        }
        frameFooters_[m].reserve(static_cast<std::size_t>(solid[m]));
        framePreview_[m].reserve(static_cast<std::size_t>(preview[m]));
    }
    placedInstances_.reserve(mostPlaced);
    highlightFooter_.reserve(1);
    // One buffer each for all tubes and track pieces, and for all blocks.
    std::size_t trackPieces = 0;
    for (const std::vector<Vector3>& samples : scene_->curve)
        trackPieces += samples.size() - 1;
    const std::size_t pieces = tubeInstances_.size() + trackPieces;
    glBindBuffer(GL_ARRAY_BUFFER, cylinder_.instances);
    glBufferData(GL_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(std::max<std::size_t>(pieces, 1) * sizeof(Instance3d)),
                 nullptr, GL_DYNAMIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, block_.instances);
    glBufferData(GL_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(std::max<std::size_t>(blockInstances_.size(), 1) *
                                         sizeof(Instance3d)),
                 nullptr, GL_DYNAMIC_DRAW);
    framePieces_.reserve(pieces);
    frameLineEnds_.reserve(pieces);
    frameBands_.reserve(pieces);
    lineLayer_.reserve(pieces);
    frameBlocks_.reserve(blockInstances_.size());
    // The grid, every preview footer as a point, the highlight's point: solid points are dots
    // of the line picture.
    const std::size_t flatCapacity = (gridVertices + previewInstances_.size() + 1) * flatFloats;
    frameFlat_.reserve(flatCapacity);
    glBindBuffer(GL_ARRAY_BUFFER, frameLines_.buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(flatCapacity * sizeof(float)), nullptr,
                 GL_DYNAMIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void SceneRenderer::buildInstances()
{
    const Scene3d& scene = *scene_;
    const auto footers = [&](const std::vector<Footer3d>& list, float alpha,
                             std::vector<Instance3d>& instances, std::vector<Cull>& cull,
                             std::vector<int>& modelOf) {
        instances.clear();
        cull.clear();
        modelOf.clear();
        for (const Footer3d& footer : list) {
            // A model without triangles draws nothing, not even a point.
            const Model3d* drawn = drawnModel(scene, footer);
            if (drawn == nullptr)
                continue;
            const Model3d& model = *drawn;
            const auto& e = footer.matrix;
            const Vector3 centre = placed(e, (model.minimum + model.maximum) * 0.5f);
            const float stretch = std::max({length({e[0], e[4], e[8]}), length({e[1], e[5], e[9]}),
                                            length({e[2], e[6], e[10]})});
            const float radius = 0.5f * stretch * length(model.maximum - model.minimum);
            instances.push_back(instanceOf(e, styleColour(footer.facts.style, alpha)));
            cull.push_back({centre, radius, 0.0f});
            modelOf.push_back(footer.model);
        }
    };
    footers(scene.footers, 1.0f, footerInstances_, footerCull_, footerModelOf_);
    footers(scene.preview, previewAlpha, previewInstances_, previewCull_, previewModelOf_);

    tubeInstances_.clear();
    tubeCull_.clear();
    for (const Tube3d& tube : scene.tubes) {
        const float radius = tubeRadius(tube.style);
        tubeInstances_.push_back(cylinderInstance(tube.a, tube.b, radius, rgba(supportRgb)));
        tubeCull_.push_back(
            {(tube.a + tube.b) * 0.5f, 0.5f * length(tube.b - tube.a) + radius, radius});
    }
    segmentCull_.clear();
    for (const std::vector<Vector3>& samples : scene.curve) {
        Bounds3d bounds;
        for (const Vector3 p : samples)
            bounds.extend(p);
        segmentCull_.push_back({(bounds.minimum + bounds.maximum) * 0.5f,
                                0.5f * length(bounds.maximum - bounds.minimum) + trackTubeRadius,
                                trackTubeRadius});
    }

    blockInstances_.clear();
    blockCull_.clear();
    for (const Vector3 p : scene.fundaments) {
        const float s = fundamentBlockSize;
        blockInstances_.push_back(
            {{s, 0, 0, p.x, 0, 0.5f * s, 0, p.y, 0, 0, s, p.z}, rgba(fundamentRgb)});
        blockCull_.push_back({p, s, 0.0f});
    }
}

namespace {

// The footer's placement times the mesh's: both affine, so only the first three rows count.
Instance3d placedInstance(const Instance3d& footer, const Placement& placement)
{
    Instance3d out{{}, footer.colour};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            float sum = c == 3 ? footer.rows[static_cast<std::size_t>(4 * r + 3)] : 0.0f;
            for (int k = 0; k < 3; ++k)
                sum += footer.rows[static_cast<std::size_t>(4 * r + k)] *
                       placement[static_cast<std::size_t>(4 * k + c)];
            out.rows[static_cast<std::size_t>(4 * r + c)] = sum;
        }
    return out;
}

}  // namespace

void SceneRenderer::drawModel(std::size_t m, const std::vector<Instance3d>& footers)
{
    if (footers.empty())
        return;
    const std::vector<PlacedMesh>& placed = scene_->models[m].meshes;
    for (std::size_t p = 0; p < placed.size(); ++p) {
        const std::vector<Placement>& placements = placed[p].placements;
        if (placements.size() == 1 && placements.front() == identityPlacement) {
            drawInstanced(models_[m][p], footers);
            continue;
        }
        placedInstances_.clear();
        for (const Instance3d& footer : footers)
            for (const Placement& placement : placements)
                placedInstances_.push_back(placedInstance(footer, placement));
        drawInstanced(models_[m][p], placedInstances_);
    }
}

void SceneRenderer::drawInstanced(Mesh& mesh, const std::vector<Instance3d>& instances)
{
    if (instances.empty() || mesh.indexCount == 0)
        return;
    glBindBuffer(GL_ARRAY_BUFFER, mesh.instances);
    glBufferSubData(GL_ARRAY_BUFFER, 0,
                    static_cast<GLsizeiptr>(instances.size() * sizeof(Instance3d)),
                    instances.data());
    glBindVertexArray(mesh.vao);
    glDrawElementsInstanced(GL_TRIANGLES, mesh.indexCount, GL_UNSIGNED_INT, nullptr,
                            static_cast<GLsizei>(instances.size()));
}

void SceneRenderer::drawFlat(Lines& lines, unsigned mode, int first, int count, float pointSize)
{
    if (count <= 0)
        return;
    glUniform1f(flatPointSize_, pointSize);
    glBindVertexArray(lines.vao);
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

void SceneRenderer::render(const OrbitCamera& camera, QSize size)
{
    counts_ = {};
    const auto [br, bg, bb, ba] = rgba(backgroundRgb);
    glViewport(0, 0, size.width(), size.height());
    glClearColor(br, bg, bb, ba);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!initialized_ || !scene_ || size.isEmpty())
        return;
    const Scene3d& scene = *scene_;
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glEnable(GL_PROGRAM_POINT_SIZE);

    const Bounds3d& bounds = scene.bounds;
    const Vector3 centre = bounds.empty ? camera.pivot() : (bounds.minimum + bounds.maximum) * 0.5f;
    // Models reach beyond the positions the bounds hold; a generous sphere keeps them in.
    const float radius =
        (bounds.empty ? 1.0f : 0.5f * length(bounds.maximum - bounds.minimum)) + 10.0f;
    const QMatrix4x4 viewProjection = camera.projection(size, centre, radius) * camera.view();
    const Frustum frustum(viewProjection);
    const Vector3 eye = camera.eye(), forward = camera.forward();
    const float pixelsAtUnitDepth = camera.pixelsPerMetre(1.0f, size);
    // On-screen size in pixels of `metres` at the nearest depth of a sphere.
    const auto pixels = [&](const Cull& cull, float metres) {
        const float depth = dot(cull.centre - eye, forward) - cull.radius;
        return depth <= 1e-3f ? 1e9f : metres * pixelsAtUnitDepth / depth;
    };

    // What is in view, and how it is drawn.
    frameFlat_.clear();
    const Vector3 pivot = camera.pivot();
    const float spacing =
        std::pow(10.0f, std::floor(std::log10(std::max(camera.distance(), 1.0f) * 0.1f)));
    const float originX = std::round(pivot.x / spacing) * spacing;
    const float originZ = std::round(pivot.z / spacing) * spacing;
    const float reach = gridHalfLines * spacing;
    for (int i = -gridHalfLines; i <= gridHalfLines; ++i) {
        const float offset = static_cast<float>(i) * spacing;
        pushFlat(frameFlat_, {originX + offset, 0.0f, originZ - reach}, rgba(gridRgb));
        pushFlat(frameFlat_, {originX + offset, 0.0f, originZ + reach}, rgba(gridRgb));
        pushFlat(frameFlat_, {originX - reach, 0.0f, originZ + offset}, rgba(gridRgb));
        pushFlat(frameFlat_, {originX + reach, 0.0f, originZ + offset}, rgba(gridRgb));
    }

    framePieces_.clear();
    frameLineEnds_.clear();
    frameBands_.clear();
    const Vector3 toLight = lightDirection();
    lineLayer_.begin(viewProjection, size, {pixelsAtUnitDepth, eye, toLight});
    const std::array<float, 4> trackColour = rgba(trackRgb3d);
    const std::array<float, 4> supportColour = rgba(supportRgb);
    const std::uint32_t supportLine = LineLayer::pack(supportColour);
    const std::uint32_t trackLine = LineLayer::pack(trackColour);
    // A tube as wide on screen as it is at each depth, cut where that width crosses a limit:
    // a cylinder where it is wider than a band may be, a band down to a line's width, a line
    // beyond. Bands and lines are drawn after the loop, bands first. Says how the widest part is
    // drawn.
    enum class Drawn { None, Line, Band, Cylinder };
    const auto drawTube = [&](Vector3 a, Vector3 b, float radius,
                              const std::array<float, 4>& colour, std::uint32_t line,
                              const Instance3d* whole) {
        if (!frustum.sees(a, b, radius))
            return Drawn::None;
        float nearDepth = dot(a - eye, forward), farDepth = dot(b - eye, forward);
        Vector3 nearEnd = a, farEnd = b;
        if (farDepth < nearDepth) {
            std::swap(nearEnd, farEnd);
            std::swap(nearDepth, farDepth);
        }
        const float widthScale = 2.0f * radius * pixelsAtUnitDepth;
        const float bandDepth = widthScale / bandTubePixels,
                    lineDepth = widthScale / lineTubePixels;
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
            frameBands_.push_back({bandFrom, lineFrom, radius, rgbOf(colour)});
            drawn = Drawn::Band;
        }
        if (nearDepth < bandDepth) {
            if (farDepth <= bandDepth && whole)
                framePieces_.push_back(*whole);
            else if (frustum.sees(nearEnd, bandFrom, radius))
                framePieces_.push_back(cylinderInstance(nearEnd, bandFrom, radius, colour));
            drawn = Drawn::Cylinder;
        }
        if (farDepth > lineDepth)
            frameLineEnds_.push_back({lineFrom, farEnd, line});
        return drawn;
    };
    for (std::size_t i = 0; i < tubeInstances_.size(); ++i) {
        const Cull& cull = tubeCull_[i];
        if (!frustum.sees(cull.centre, cull.radius))
            continue;
        const Tube3d& tube = scene.tubes[i];
        const Drawn drawn = drawTube(tube.a, tube.b, cull.thickness, supportColour, supportLine,
                                     &tubeInstances_[i]);
        if (drawn != Drawn::None)
            ++(drawn == Drawn::Cylinder ? counts_.meshTubes
               : drawn == Drawn::Band   ? counts_.bandTubes
                                        : counts_.lineTubes);
    }
    // Each segment in as many pieces as it spans pixels apart, as the plan draws it.
    for (std::size_t i = 0; i < segmentCull_.size(); ++i) {
        const Cull& cull = segmentCull_[i];
        if (!frustum.sees(cull.centre, cull.radius))
            continue;
        const std::vector<Vector3>& samples = scene.curve[i];
        const int last = static_cast<int>(samples.size()) - 1;
        const int steps = std::clamp(
            static_cast<int>(pixels(cull, 2.0f * cull.radius) / pixelsPerTrackPiece), 1, last);
        int from = 0;
        for (int k = 1; k <= steps; ++k) {
            const int to = k * last / steps;
            const Vector3 a = samples[static_cast<std::size_t>(from)];
            const Vector3 b = samples[static_cast<std::size_t>(to)];
            const Drawn drawn = drawTube(a, b, trackTubeRadius, trackColour, trackLine, nullptr);
            if (drawn != Drawn::None)
                ++(drawn == Drawn::Cylinder ? counts_.meshTrackPieces
                   : drawn == Drawn::Band   ? counts_.bandTrackPieces
                                            : counts_.lineTrackPieces);
            from = to;
        }
    }
    lineLayer_.drawBands(frameBands_);
    lineLayer_.drawLines(frameLineEnds_);
    frameBlocks_.clear();
    for (std::size_t i = 0; i < blockInstances_.size(); ++i) {
        const Cull& cull = blockCull_[i];
        if (!frustum.sees(cull.centre, cull.radius))
            continue;
        if (pixels(cull, fundamentBlockSize) >= pointFooterPixels)
            frameBlocks_.push_back(blockInstances_[i]);
        else
            lineLayer_.drawDot(cull.centre, LineLayer::pack(blockInstances_[i].colour),
                               static_cast<int>(pointFooterPixels));
    }
    // Solid footers too small for their mesh are dots of the line picture; translucent ones
    // are points drawn over everything later.
    const auto sortFooters = [&](const std::vector<Instance3d>& instances,
                                 const std::vector<Cull>& cull, const std::vector<int>& modelOf,
                                 std::vector<std::vector<Instance3d>>& perModel, bool translucent) {
        for (std::vector<Instance3d>& list : perModel)
            list.clear();
        for (std::size_t i = 0; i < instances.size(); ++i) {
            if (!frustum.sees(cull[i].centre, cull[i].radius))
                continue;
            if (pixels(cull[i], 2.0f * cull[i].radius) >= pointFooterPixels) {
                perModel[static_cast<std::size_t>(modelOf[i])].push_back(instances[i]);
                ++counts_.meshFooters;
            } else {
                if (translucent)
                    pushFlat(frameFlat_, cull[i].centre, instances[i].colour);
                else
                    lineLayer_.drawDot(cull[i].centre, LineLayer::pack(instances[i].colour),
                                       static_cast<int>(pointFooterPixels));
                ++counts_.pointFooters;
            }
        }
    };
    sortFooters(footerInstances_, footerCull_, footerModelOf_, frameFooters_, false);
    const int previewPointsFirst = static_cast<int>(frameFlat_.size() / flatFloats);
    sortFooters(previewInstances_, previewCull_, previewModelOf_, framePreview_, true);
    const int highlightPoint = static_cast<int>(frameFlat_.size() / flatFloats);

    // The picked footer or tube drawn again over itself, and as a point that shows it when small.
    std::optional<Instance3d> highlight;
    const std::array<float, 4> highlightColour = rgba(highlightRgb);
    std::size_t highlightModel = 0;
    if (highlight_.kind == Pick3d::Kind::Tube && highlight_.index < scene.tubes.size()) {
        highlight = tubeInstances_[highlight_.index];
        const Tube3d& tube = scene.tubes[highlight_.index];
        pushFlat(frameFlat_, (tube.a + tube.b) * 0.5f, highlightColour);
    } else if (highlight_.kind != Pick3d::Kind::None) {
        const bool preview = highlight_.kind == Pick3d::Kind::PreviewFooter;
        const std::vector<Footer3d>& list = preview ? scene.preview : scene.footers;
        if (highlight_.index < list.size() && list[highlight_.index].model >= 0) {
            const Footer3d& footer = list[highlight_.index];
            highlightModel = static_cast<std::size_t>(footer.model);
            highlight = instanceOf(footer.matrix, highlightColour);
            const Model3d& model = scene.models[highlightModel];
            pushFlat(frameFlat_, placed(footer.matrix, (model.minimum + model.maximum) * 0.5f),
                     highlightColour);
        }
    }
    if (highlight)
        highlight->colour = highlightColour;
    const int flatCount = static_cast<int>(frameFlat_.size() / flatFloats);
    glBindBuffer(GL_ARRAY_BUFFER, frameLines_.buffer);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(frameFlat_.size() * sizeof(float)),
                    frameFlat_.data());

    glUseProgram(flatProgram_);
    glUniformMatrix4fv(flatViewProjection_, 1, GL_FALSE, viewProjection.constData());
    drawFlat(frameLines_, GL_LINES, 0, gridVertices, 1.0f);
    drawLineLayer();

    glUseProgram(meshProgram_);
    glUniformMatrix4fv(meshViewProjection_, 1, GL_FALSE, viewProjection.constData());
    glUniform3f(meshToLight_, toLight.x, toLight.y, toLight.z);
    // Cylinders and blocks are closed enough, and wound outwards: their far sides are not drawn.
    glEnable(GL_CULL_FACE);
    drawInstanced(cylinder_, framePieces_);
    drawInstanced(block_, frameBlocks_);
    glDisable(GL_CULL_FACE);
    for (std::size_t m = 0; m < models_.size(); ++m)
        drawModel(m, frameFooters_[m]);

    if (highlight) {
        // Reuses the instance buffers of draws that are finished.
        if (highlight_.kind == Pick3d::Kind::Tube) {
            glBindBuffer(GL_ARRAY_BUFFER, cylinder_.instances);
            glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(Instance3d), &*highlight);
            glBindVertexArray(cylinder_.vao);
            glDrawElementsInstanced(GL_TRIANGLES, cylinder_.indexCount, GL_UNSIGNED_INT, nullptr,
                                    1);
        } else {
            highlightFooter_.assign(1, *highlight);
            drawModel(highlightModel, highlightFooter_);
        }
        glUseProgram(flatProgram_);
        drawFlat(frameLines_, GL_POINTS, highlightPoint, flatCount - highlightPoint,
                 highlightPointPixels);
        glUseProgram(meshProgram_);
    }

    // What generate would add: translucent over everything, hiding nothing behind it.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    for (std::size_t m = 0; m < models_.size(); ++m)
        drawModel(m, framePreview_[m]);
    glUseProgram(flatProgram_);
    drawFlat(frameLines_, GL_POINTS, previewPointsFirst, highlightPoint - previewPointsFirst,
             pointFooterPixels);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);

    // The axis marker in the lower left corner: the camera's turn alone.
    const int marker = std::min({axisMarkerPixels, size.width(), size.height()});
    glViewport(0, 0, marker, marker);
    glDisable(GL_DEPTH_TEST);
    QMatrix4x4 turn = camera.view();
    turn.setColumn(3, {0, 0, 0, 1});
    QMatrix4x4 markerMatrix;
    markerMatrix.ortho(-1.2f, 1.2f, -1.2f, 1.2f, -2.0f, 2.0f);
    markerMatrix *= turn;
    glUniformMatrix4fv(flatViewProjection_, 1, GL_FALSE, markerMatrix.constData());
    drawFlat(axes_, GL_LINES, 0, 6, 1.0f);
    glViewport(0, 0, size.width(), size.height());
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glUseProgram(0);
}

}  // namespace pw
