// Pieces of the track meet without cracks: at every joint of the demo's track, seen close from
// several sides on both drawing paths, the pixels about the joint's centre are the tube's, never
// the background's or the grid's showing through.

#include "view3d/OffscreenRenderer.h"
#include "view3d/Scene3d.h"
#include "view3d/TubeJoints.h"

#include "tracklib/TrackFile.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>

namespace pw {
namespace {

const QSize size(640, 400);

// How many pixels within `share` of the tube's radius on screen about `joint` show no tube.
int uncovered(const QImage& image, const OrbitCamera& camera, Vector3 joint, float share)
{
    const std::optional<QPointF> centre = camera.pixelOf(joint, size);
    if (!centre)
        return 0;
    const float depth = dot(joint - camera.eye(), camera.forward());
    const float radius = share * trackTubeRadius * camera.pixelsPerMetre(depth, size);
    int count = 0;
    const int reach = static_cast<int>(std::ceil(radius));
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            const int x = static_cast<int>(std::floor(centre->x())) + dx;
            const int y = static_cast<int>(std::floor(centre->y())) + dy;
            const double ox = x + 0.5 - centre->x(), oy = y + 0.5 - centre->y();
            if (ox * ox + oy * oy > double(radius) * radius || !image.rect().contains(x, y))
                continue;
            // The track is a dark grey at most; the background and the grid are light.
            count += qGray(image.pixel(x, y)) > 128 ? 1 : 0;
        }
    return count;
}

// Whether `eye` lies within two radii of the track: looking out from inside a tube, its far
// end's cap fills the view and says nothing of its joints.
bool nearTheTrack(const Scene3d& scene, Vector3 eye)
{
    for (const std::vector<Vector3>& samples : scene.curve)
        for (std::size_t k = 1; k < samples.size(); ++k) {
            const Vector3 a = samples[k - 1], along = samples[k] - a;
            const float span = dot(along, along);
            const float t = span > 0.0f ? std::clamp(dot(eye - a, along) / span, 0.0f, 1.0f) : 0.0f;
            if (length(eye - (a + along * t)) < 2.0f * trackTubeRadius)
                return true;
        }
    return false;
}

class TubeSeams : public testing::TestWithParam<DrawingPath> {};

TEST_P(TubeSeams, NoCrackShowsAtAJointAtAnyZoom)
{
    Result<std::unique_ptr<OffscreenRenderer>> renderer = OffscreenRenderer::start(GetParam());
    ASSERT_TRUE(renderer) << renderer.error();
    Track track;
    ASSERT_TRUE(
        readTrackFile(std::filesystem::path(PLINTHWRIGHT_EXAMPLES_DIR) / "demo.nltrack", track)
            .ok());
    // The track alone: nothing else may stand in front of a joint.
    Scene3d scene = buildScene3d(track, {});
    scene.tubes.clear();
    scene.fundaments.clear();
    scene.footers.clear();
    scene.preview.clear();
    const auto shown = std::make_shared<const Scene3d>(scene);
    ASSERT_TRUE((*renderer)->setScene(shown));
    OrbitCamera whole;
    whole.fit(scene.bounds.minimum, scene.bounds.maximum, size);

    int joints = 0;
    const std::vector<PolylineEnds> ends = polylineEnds(scene.curve);
    for (std::size_t i = 0; i < scene.curve.size(); ++i) {
        const std::vector<Vector3>& samples = scene.curve[i];
        // Where one segment meets the one before (the track's own ends are no joints), and
        // within a segment where its pieces meet.
        std::vector<Vector3> seams = {samples[samples.size() / 2]};
        if (length(ends[i].before) > 0.0f)
            seams.push_back(samples.front());
        for (const Vector3 joint : seams)
            // About nine wheel notches in, as far again, and close up.
            for (const float zoom : {7.5f, 30.0f, 150.0f})
                for (const float yaw : {0.0f, 70.0f, 150.0f, 230.0f}) {
                    OrbitCamera camera = whole;
                    camera.zoomTowards(zoom, joint);
                    camera.orbit(yaw, 0.0f);
                    if (nearTheTrack(scene, camera.eye()))
                        continue;
                    const QImage image = (*renderer)->render(camera, size);
                    EXPECT_EQ(uncovered(image, camera, joint, 0.7f), 0)
                        << "joint at " << joint.x << ' ' << joint.y << ' ' << joint.z << ", zoomed "
                        << zoom << " times, turned " << yaw << " degrees";
                    ++joints;
                }
    }
    EXPECT_GE(joints, 150);
}

INSTANTIATE_TEST_SUITE_P(Paths, TubeSeams,
                         testing::Values(DrawingPath::Software, DrawingPath::Hardware),
                         [](const testing::TestParamInfo<DrawingPath>& info) {
                             return std::string(drawingPathName(info.param));
                         });

}  // namespace
}  // namespace pw
