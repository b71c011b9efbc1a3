// The processor's path and the card's draw the same pictures of the demo, within a tolerance:
// they differ only along edges (a band's rounded width against a cylinder's eight sides, a line
// against a tube a pixel wide) and where a footer turns into a point.

#include "view3d/OffscreenRenderer.h"
#include "view3d/Scene3d.h"

#include "footers/FooterGeneration.h"
#include "models/ModelFootprints.h"
#include "models/ModelReaderClient.h"
#include "tracklib/TrackFile.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cstdlib>

namespace pw {
namespace {

const std::filesystem::path examples = PLINTHWRIGHT_EXAMPLES_DIR;
const QSize size(1280, 800);

struct Difference {
    double differingShare = 0.0;  // of all pixels, by more than `levels` in a channel
    double meanLevels = 0.0;      // per channel, over all pixels
};

Difference difference(const QImage& a, const QImage& b, int levels)
{
    long differing = 0;
    double sum = 0.0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d[3] = {std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))};
            sum += d[0] + d[1] + d[2];
            differing += std::max({d[0], d[1], d[2]}) > levels ? 1 : 0;
        }
    const double pixels = static_cast<double>(a.width()) * a.height();
    return {static_cast<double>(differing) / pixels, sum / (3.0 * pixels)};
}

TEST(DrawingPaths, DrawTheDemoAlike)
{
    Result<std::unique_ptr<OffscreenRenderer>> software =
        OffscreenRenderer::start(DrawingPath::Software);
    Result<std::unique_ptr<OffscreenRenderer>> hardware =
        OffscreenRenderer::start(DrawingPath::Hardware);
    ASSERT_TRUE(software) << software.error();
    ASSERT_TRUE(hardware) << hardware.error();
    EXPECT_EQ((*software)->path(), DrawingPath::Software);
    EXPECT_EQ((*hardware)->path(), DrawingPath::Hardware);

    ModelReaderClient reader;
    ModelFootprints models{examples / "models", reader.fileReader()};
    Track track;
    ASSERT_TRUE(readTrackFile(examples / "demo-footers.nltrack", track).ok());
    const auto scene = std::make_shared<const Scene3d>(buildScene3d(track, {&models}));
    for (auto* renderer : {&**software, &**hardware})
        ASSERT_TRUE(renderer->setScene(scene));

    OrbitCamera whole;
    whole.fit(scene->bounds.minimum, scene->bounds.maximum, size);
    struct Case {
        const char* name;
        float zoom;
        Vector3 towards;
        float yaw;
    };
    const Vector3 footer = scene->footers.front().facts.position;
    const Vector3 onTrack = scene->curve[scene->curve.size() / 3].front();
    const Case cases[] = {
        {"whole", 1.0f, footer, 0.0f},
        {"a footer, zoomed 8 times", 8.0f, footer, 40.0f},
        {"the track, zoomed 8 times", 8.0f, onTrack, -70.0f},
        {"the track, zoomed 40 times", 40.0f, onTrack, 120.0f},
    };
    for (const Case& c : cases) {
        OrbitCamera camera = whole;
        camera.zoomTowards(c.zoom, c.towards);
        camera.orbit(c.yaw, 0.0f);
        const QImage a = (*software)->render(camera, size);
        const QImage b = (*hardware)->render(camera, size);
        const Difference d = difference(a, b, 48);
        EXPECT_LT(d.differingShare, 0.004) << c.name;
        EXPECT_LT(d.meanLevels, 1.0) << c.name;
        std::printf(
            "%s: %.4f %% of the pixels differ by more than 48 levels; %.3f levels on "
            "average\n",
            c.name, 100.0 * d.differingShare, d.meanLevels);
    }
}

}  // namespace
}  // namespace pw
