// The hardware path of SceneRenderer: the scene uploaded to the card once, and each frame drawn
// from it without a look at what is in view. The card leaves out what lies outside the view
// faster than the processor could sort it.

#include "SceneFrame.h"

#include "footers/DrawingColours.h"

namespace pw {

using namespace scene3d;

namespace {

// A point's vertex: where, its colour, its size across and the radius of a sphere about it.
void pushPoint(std::vector<float>& out, const Cull& cull, const std::array<float, 4>& colour,
               float across)
{
    pushFlat(out, cull.centre, colour);
    out.insert(out.end(), {across, cull.radius});
}

void pushFooterPoints(std::vector<float>& out, const FooterInstances& footers)
{
    for (std::size_t i = 0; i < footers.instances.size(); ++i)
        pushPoint(out, footers.cull[i], footers.instances[i].colour, 2.0f * footers.cull[i].radius);
}

// Each footer of `footers` that stands on model `m`, at every placement of `placements`.
void appendPlaced(std::vector<Instance3d>& out, const FooterInstances& footers, std::size_t m,
                  const std::vector<Placement>& placements)
{
    for (std::size_t i = 0; i < footers.instances.size(); ++i)
        if (static_cast<std::size_t>(footers.modelOf[i]) == m)
            appendPlaced(out, footers.instances[i], placements);
}

}  // namespace

void SceneRenderer::uploadToCard()
{
    const Scene3d& scene = *scene_;
    // Every tube, then every piece of the track from sample to sample.
    std::vector<Instance3d> pieces = instances_.tubes;
    const std::array<float, 4> trackColour = rgba(track3dRgb);
    for (std::size_t i = 0; i < scene.curve.size(); ++i) {
        const std::vector<Vector3>& samples = scene.curve[i];
        if (samples.size() < 2)
            continue;
        forEachPiece(
            samples, static_cast<int>(samples.size()) - 1, instances_.segmentEnds[i],
            trackTubeRadius, [&](const TubePiece& piece) {
                pieces.push_back(cylinderInstance(piece.a, piece.b, trackTubeRadius, trackColour));
            });
    }
    uploadInstances(*this, cylinder_, 0, pieces);
    cardPieces_ = static_cast<int>(pieces.size());
    uploadInstances(*this, block_, 0, instances_.blocks);

    cardDraws_.assign(models_.size(), {});
    std::vector<Instance3d> placed;
    for (std::size_t m = 0; m < models_.size(); ++m)
        for (std::size_t p = 0; p < models_[m].size(); ++p) {
            const std::vector<Placement>& placements = scene.models[m].meshes[p].placements;
            placed.clear();
            appendPlaced(placed, instances_.footers, m, placements);
            const auto solid = static_cast<int>(placed.size());
            appendPlaced(placed, instances_.preview, m, placements);
            uploadInstances(*this, models_[m][p], 0, placed);
            cardDraws_[m].push_back({solid, static_cast<int>(placed.size()) - solid});
        }

    std::vector<float> points;
    pushFooterPoints(points, instances_.footers);
    for (std::size_t i = 0; i < instances_.blocks.size(); ++i)
        pushPoint(points, instances_.blockCull[i], instances_.blocks[i].colour, fundamentBlockSize);
    cardSolidPoints_ = static_cast<int>(points.size()) / PointBuffer::floats;
    pushFooterPoints(points, instances_.preview);
    cardPreviewPoints_ = static_cast<int>(points.size()) / PointBuffer::floats - cardSolidPoints_;
    glBindBuffer(GL_ARRAY_BUFFER, cardPoints_.buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(points.size() * sizeof(float)),
                 points.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void SceneRenderer::renderOnCard(const FrameView& view, const OrbitCamera& camera)
{
    frameFlat_.clear();
    drawGrid(view, camera);
    const Vector3 toLight = lightDirection();
    glUseProgram(tubeProgram_);
    glUniformMatrix4fv(card_.tubeViewProjection, 1, GL_FALSE, view.viewProjection.constData());
    glUniform3f(card_.tubeToLight, toLight.x, toLight.y, toLight.z);
    // A pixel wide at the least: half a pixel each side of the axis.
    glUniform1f(card_.tubeMinimumRadius, 0.5f / view.pixelsAtUnitDepth);
    glEnable(GL_CULL_FACE);
    drawInstances(*this, cylinder_, 0, cardPieces_);
    useMeshProgram(view);
    drawInstances(*this, block_, 0, static_cast<int>(instances_.blocks.size()));
    glDisable(GL_CULL_FACE);
    drawCardModels(false);
    drawCardPoints(view, 0, cardSolidPoints_);
    if (const std::optional<Highlight> highlight = highlighted())
        drawCardHighlight(view, *highlight);

    // What generate would add: translucent over everything, hiding nothing behind it.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    useMeshProgram(view);
    drawCardModels(true);
    drawCardPoints(view, cardSolidPoints_, cardPreviewPoints_);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);

    const auto tubes = static_cast<int>(instances_.tubes.size());
    counts_.meshTubes = tubes;
    counts_.meshTrackPieces = cardPieces_ - tubes;
    counts_.meshFooters =
        static_cast<int>(instances_.footers.instances.size() + instances_.preview.instances.size());
}

void SceneRenderer::drawCardModels(bool preview)
{
    for (std::size_t m = 0; m < models_.size(); ++m)
        for (std::size_t p = 0; p < models_[m].size(); ++p) {
            const CardDraw& draw = cardDraws_[m][p];
            drawInstances(*this, models_[m][p], preview ? draw.solid : 0,
                          preview ? draw.preview : draw.solid);
        }
}

void SceneRenderer::drawCardPoints(const FrameView& view, int first, int count)
{
    if (count <= 0)
        return;
    glUseProgram(pointProgram_);
    glUniformMatrix4fv(card_.pointViewProjection, 1, GL_FALSE, view.viewProjection.constData());
    glUniform3f(card_.pointEye, view.eye.x, view.eye.y, view.eye.z);
    glUniform3f(card_.pointForward, view.forward.x, view.forward.y, view.forward.z);
    glUniform1f(card_.pointPixelsAtUnitDepth, view.pixelsAtUnitDepth);
    glBindVertexArray(cardPoints_.vao);
    glDrawArrays(GL_POINTS, first, count);
}

// The picked tube or footer over itself, and its point; only these few values are uploaded.
void SceneRenderer::drawCardHighlight(const FrameView& view, const Highlight& highlight)
{
    if (highlight_.kind == Pick3d::Kind::Tube) {
        highlightFooter_.assign(1, highlight.instance);
        uploadInstances(*this, highlightTube_, 0, highlightFooter_);
        glUseProgram(tubeProgram_);
        drawInstances(*this, highlightTube_, 0, 1);
    } else {
        useMeshProgram(view);
        const std::vector<PlacedMesh>& meshes = scene_->models[highlight.model].meshes;
        for (std::size_t p = 0; p < meshes.size(); ++p) {
            placedInstances_.clear();
            appendPlaced(placedInstances_, highlight.instance, meshes[p].placements);
            const CardDraw& draw = cardDraws_[highlight.model][p];
            uploadInstances(*this, models_[highlight.model][p], draw.solid + draw.preview,
                            placedInstances_);
            drawInstances(*this, models_[highlight.model][p], draw.solid + draw.preview,
                          static_cast<int>(placedInstances_.size()));
        }
    }
    glBindBuffer(GL_ARRAY_BUFFER, frameFlatBuffer_.buffer);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(frameFlat_.size() * sizeof(float)),
                    frameFlat_.data());
    glUseProgram(flatProgram_);
    glUniformMatrix4fv(flatViewProjection_, 1, GL_FALSE, view.viewProjection.constData());
    drawFlat(frameFlatBuffer_, GL_POINTS, 0,
             static_cast<int>(frameFlat_.size()) / FlatBuffer::floats, highlightPointPixels);
}

}  // namespace pw
