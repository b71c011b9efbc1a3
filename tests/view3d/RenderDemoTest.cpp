// The demo rendered off screen: what shows at each footer's projected centre.

#include "view3d/OffscreenRenderer.h"
#include "view3d/Picking3d.h"
#include "view3d/Scene3d.h"

#include "testsupport/HostileModels.h"
#include "footers/DrawingColours.h"
#include "footers/FooterGeneration.h"
#include "models/ModelFootprints.h"
#include "models/ModelReaderClient.h"
#include "plan/PlanHitTest.h"
#include "tracklib/TrackFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <limits>
#include <memory>

namespace pw {
namespace {

const std::filesystem::path examples = PLINTHWRIGHT_EXAMPLES_DIR;
const QSize size(1280, 800);

Track readExample(const char* name)
{
    Track track;
    EXPECT_TRUE(readTrackFile(examples / name, track).ok()) << name;
    return track;
}

// Lighting scales a colour by a factor of 0.4 to 1; what comes out of it, rounded to whole
// levels, is such a multiple of `base` and of no other colour.
bool isLit(QRgb pixel, QRgb base)
{
    const double p[3] = {double(qRed(pixel)), double(qGreen(pixel)), double(qBlue(pixel))};
    const double b[3] = {double(qRed(base)), double(qGreen(base)), double(qBlue(base))};
    const double factor = (p[0] * b[0] + p[1] * b[1] + p[2] * b[2]) /
                          std::max(b[0] * b[0] + b[1] * b[1] + b[2] * b[2], 1.0);
    if (factor < 0.39 || factor > 1.01)
        return false;
    for (int k = 0; k < 3; ++k)
        if (std::abs(p[k] - factor * b[k]) > 2.5)
            return false;
    return true;
}

Vector3 boxCentre(const Scene3d& scene, const Footer3d& footer)
{
    const Model3d& model = scene.models[static_cast<std::size_t>(footer.model)];
    const Vector3 c{(model.minimum.x + model.maximum.x) / 2,
                    (model.minimum.y + model.maximum.y) / 2,
                    (model.minimum.z + model.maximum.z) / 2};
    const auto& e = footer.matrix;
    return {e[0] * c.x + e[1] * c.y + e[2] * c.z + e[3],
            e[4] * c.x + e[5] * c.y + e[6] * c.z + e[7],
            e[8] * c.x + e[9] * c.y + e[10] * c.z + e[11]};
}

// Whether the track, which is no footer nor tube and so cannot be picked, hides `p` from the eye.
bool trackHides(const Scene3d& scene, const OrbitCamera& camera, Vector3 p)
{
    const Vector3 eye = camera.eye();
    Vector3 direction = p - eye;
    const float distance = length(direction);
    normalize(direction);
    for (const std::vector<Vector3>& samples : scene.curve)
        for (std::size_t k = 1; k < samples.size(); ++k)
            if (const auto hit =
                    rayHitsTube({eye, direction}, samples[k - 1], samples[k], trackTubeRadius);
                hit && *hit < distance)
                return true;
    return false;
}

// Each test on both drawing paths: the processor's bands and the card's cylinders show the same.
class RenderDemo : public testing::TestWithParam<DrawingPath> {
protected:
    void SetUp() override
    {
        // In CI a machine without OpenGL fails here rather than passing in silence.
        Result<std::unique_ptr<OffscreenRenderer>> started = OffscreenRenderer::start(GetParam());
        ASSERT_TRUE(started) << started.error();
        renderer = std::move(*started);
    }

    std::shared_ptr<const Scene3d> show(const Track& track,
                                        std::span<const SceneryObject> preview = {})
    {
        auto scene = std::make_shared<const Scene3d>(buildScene3d(track, {&models}, preview));
        camera.fit(scene->bounds.minimum, scene->bounds.maximum, size);
        EXPECT_TRUE(renderer->setScene(scene));
        return scene;
    }

    QPoint pixelOf(Vector3 p) const
    {
        const QPointF at = *camera.pixelOf(p, size);
        return {static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y()))};
    }

    ModelReaderClient reader;
    ModelFootprints models{examples / "models", reader.fileReader()};
    std::unique_ptr<OffscreenRenderer> renderer;
    OrbitCamera camera;
};

TEST_P(RenderDemo, EachFooterShowsItsClassColourAtItsCentre)
{
    const auto scene = show(readExample("demo-footers.nltrack"));
    const QImage image = renderer->render(camera, size);
    ASSERT_EQ(scene->footers.size(), 21u);
    int seen = 0;
    for (const Footer3d& footer : scene->footers) {
        if (trackHides(*scene, camera, boxCentre(*scene, footer)))
            continue;
        ++seen;
        const QPoint pixel = pixelOf(boxCentre(*scene, footer));
        ASSERT_TRUE(image.rect().contains(pixel));
        EXPECT_TRUE(isLit(image.pixel(pixel), footerRgb(footer.facts.style)))
            << footer.facts.modelFile << " at " << pixel.x() << ',' << pixel.y() << ": " << std::hex
            << image.pixel(pixel);
    }
    EXPECT_GE(seen, 19);
    // Every footer was drawn as its mesh, none as a point.
    EXPECT_EQ(renderer->lastFrame().meshFooters, 21);
}

TEST_P(RenderDemo, PreviewIsTranslucentBeforeGenerateAndSolidAfter)
{
    GenerationOptions options;
    for (const TubeSizeClass sizeClass : allSizeClasses)
        options.choices[static_cast<std::size_t>(sizeClass)] =
            footerModelChoice(sizeClass, {FooterChoice::Model::Own});
    const Track demo = readExample("demo.nltrack");
    Track generated = demo;
    GenerationReport report;
    placeFooters(generated, options, report);
    const std::vector<SceneryObject> added(
        generated.sceneryObjects.begin() + static_cast<std::ptrdiff_t>(demo.sceneryObjects.size()),
        generated.sceneryObjects.end());
    ASSERT_EQ(added.size(), 21u);

    show(demo);
    const QImage bareImage = renderer->render(camera, size);
    const auto before = show(demo, added);
    const QImage previewImage = renderer->render(camera, size);
    const auto after = show(generated);
    const QImage generatedImage = renderer->render(camera, size);
    ASSERT_EQ(before->preview.size(), after->footers.size());
    int seen = 0;
    for (std::size_t i = 0; i < before->preview.size(); ++i) {
        const Vector3 centre = boxCentre(*before, before->preview[i]);
        if (trackHides(*before, camera, centre))
            continue;
        ++seen;
        const QRgb colour = footerRgb(before->preview[i].facts.style);
        const QPoint pixel = pixelOf(centre);
        const QRgb translucent = previewImage.pixel(pixel), solid = generatedImage.pixel(pixel);
        EXPECT_TRUE(isLit(solid, colour)) << i << std::hex << ' ' << solid;
        // Drawn, but mixed with what lies behind it: no longer a shade of its colour alone.
        EXPECT_NE(translucent, bareImage.pixel(pixel)) << i;
        EXPECT_FALSE(isLit(translucent, colour)) << i << std::hex << ' ' << translucent;
    }
    EXPECT_GE(seen, 19);
}

TEST_P(RenderDemo, PickAtAFootersCentreNamesAndHighlightsIt)
{
    const auto scene = show(readExample("demo-footers.nltrack"));
    for (std::size_t i = 0; i < scene->footers.size(); ++i) {
        const Footer3d& footer = scene->footers[i];
        const QPoint pixel = pixelOf(boxCentre(*scene, footer));
        const Pick3d pick = pick3d(*scene, camera, QPointF(pixel) + QPointF(0.5, 0.5), size);
        ASSERT_EQ(pick.kind, Pick3d::Kind::Footer) << i;
        EXPECT_EQ(pick.index, i);
        EXPECT_EQ(describePick(*scene, pick), describeFooter(footer.facts, false));
    }
    const std::size_t chosen = 7;
    renderer->setHighlight({Pick3d::Kind::Footer, chosen, 0.0f});
    const QImage image = renderer->render(camera, size);
    const QPoint pixel = pixelOf(boxCentre(*scene, scene->footers[chosen]));
    EXPECT_TRUE(isLit(image.pixel(pixel), 0xffd400)) << std::hex << image.pixel(pixel);
}

TEST_P(RenderDemo, ThinTubesHideAndAreHiddenByDepth)
{
    // A tube a few pixels wide (0.8 m about 130 m away) across the line of sight to a footer's
    // centre, once between the eye and the footer, once beyond it.
    const auto demo = show(readExample("demo-footers.nltrack"));
    const Footer3d& footer = demo->footers.front();
    const Vector3 centre = boxCentre(*demo, footer), eye = camera.eye(), right = camera.right();
    const QPoint pixel = pixelOf(centre);
    struct Case {
        const char* name;
        float towardsEye;  // share of the way from the centre to the eye
        QRgb shows;
    };
    const Case cases[] = {
        {"in front", 0.2f, supportRgb},
        {"behind", -0.2f, footerRgb(footer.facts.style)},
    };
    for (const Case& c : cases) {
        Scene3d scene = *demo;
        const Vector3 at{centre.x + c.towardsEye * (eye.x - centre.x),
                         centre.y + c.towardsEye * (eye.y - centre.y),
                         centre.z + c.towardsEye * (eye.z - centre.z)};
        scene.tubes = {{{at.x - 3 * right.x, at.y - 3 * right.y, at.z - 3 * right.z},
                        {at.x + 3 * right.x, at.y + 3 * right.y, at.z + 3 * right.z},
                        static_cast<int>(TubeSizeClass::XXLarge)}};
        EXPECT_TRUE(renderer->setScene(std::make_shared<const Scene3d>(std::move(scene))));
        const QImage image = renderer->render(camera, size);
        const FrameCounts& counts = renderer->lastFrame();
        EXPECT_EQ(GetParam() == DrawingPath::Software ? counts.bandTubes : counts.meshTubes, 1)
            << c.name;
        EXPECT_TRUE(isLit(image.pixel(pixel), c.shows))
            << c.name << std::hex << ' ' << image.pixel(pixel);
    }
}

TEST_P(RenderDemo, FootersOfBrokenModelsDrawNothing)
{
    // The demo's footers, all on one model; the background shows where they stand.
    const auto demo = show(readExample("demo-footers.nltrack"));
    const QImage empty = [&] {
        Scene3d bare = *demo;
        bare.footers.clear();
        EXPECT_TRUE(renderer->setScene(std::make_shared<const Scene3d>(std::move(bare))));
        return renderer->render(camera, size);
    }();
    const ModelMesh good = demo->models.front().meshes.front().mesh;
    struct Case {
        const char* name;
        void (*spoil)(ModelMesh&);
    };
    const Case cases[] = {
        {"non-finite vertex",
         [](ModelMesh& m) { m.positions[1].y = std::numeric_limits<float>::quiet_NaN(); }},
        {"no triangles", [](ModelMesh& m) { m.indices.clear(); }},
    };
    for (const Case& c : cases) {
        ModelFootprint footprint;
        footprint.readable = true;
        footprint.meshes = {{good, {identityPlacement}}};
        c.spoil(footprint.meshes.front().mesh);
        Scene3d broken = *demo;
        broken.models = {drawableModel(footprint)};
        for (Footer3d& footer : broken.footers)
            footer.model = 0;
        const auto shown = std::make_shared<const Scene3d>(std::move(broken));
        EXPECT_TRUE(renderer->setScene(shown));
        const QImage image = renderer->render(camera, size);
        EXPECT_EQ(image, empty) << c.name;
        // Nothing to pick either.
        const QPoint pixel = pixelOf(shown->footers.front().facts.position);
        EXPECT_NE(pick3d(*shown, camera, pixel, size).kind, Pick3d::Kind::Footer) << c.name;
    }
}

// A mesh its model places twice is drawn at both places, the footer's placement on top of each.
TEST_P(RenderDemo, AMeshPlacedTwiceIsDrawnAtBothPlaces)
{
    const auto demo = show(readExample("demo-footers.nltrack"));
    ModelFootprint twice;
    twice.readable = true;
    Placement left = identityPlacement, right = identityPlacement;
    left[3] = -2.0f;
    right[3] = 2.0f;
    twice.meshes = {{demo->models.front().meshes.front().mesh, {left, right}}};
    Scene3d scene;
    scene.models = {drawableModel(twice)};
    const Model3d& model = scene.models.front();
    ASSERT_LT(model.maximum.x - model.minimum.x, 6.0f);  // a gap between the two
    Footer3d footer;
    footer.facts.style = 0;
    footer.matrix = {1, 0, 0, 10, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    footer.model = 0;
    scene.footers = {footer};
    scene.bounds.extend({6, -1, -3});
    scene.bounds.extend({14, 2, 3});
    camera.fit(scene.bounds.minimum, scene.bounds.maximum, size);
    EXPECT_TRUE(renderer->setScene(std::make_shared<const Scene3d>(scene)));
    const QImage image = renderer->render(camera, size);
    const float middle = (model.minimum.y + model.maximum.y) / 2;
    const QRgb small = footerRgb(0);
    EXPECT_TRUE(isLit(image.pixel(pixelOf({8, middle, 0})), small));
    EXPECT_TRUE(isLit(image.pixel(pixelOf({12, middle, 0})), small));
    EXPECT_FALSE(isLit(image.pixel(pixelOf({10, middle, 0})), small));
}

INSTANTIATE_TEST_SUITE_P(Paths, RenderDemo,
                         testing::Values(DrawingPath::Software, DrawingPath::Hardware),
                         [](const testing::TestParamInfo<DrawingPath>& info) {
                             return std::string(drawingPathName(info.param));
                         });

// Models within the file's bounds that once took minutes and gigabytes: squares, in time.
TEST(PlanCommand3d, ModelsThatExplodedReadersAreSquaresInTime)
{
    QTemporaryDir directory;
    const QString models = directory.filePath(QStringLiteral("models"));
    QDir().mkpath(models);
    for (const auto& [name, bytes] : {std::pair{"small.3ds", instancedModel(512, 20000)},
                                      std::pair{"medium.3ds", tiltedGridModel(true)}}) {
        QFile file(models + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    }
    QElapsedTimer clock;
    clock.start();
    QProcess cli;
    cli.start(QStringLiteral(PLINTHWRIGHT_CLI_PATH),
              {"plan", QStringLiteral(PLINTHWRIGHT_EXAMPLES_DIR "/demo-footers.nltrack"), "-o",
               directory.filePath(QStringLiteral("view.png")), "--3d", "--models-dir", models});
    ASSERT_TRUE(cli.waitForFinished(10000));
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(cli.exitCode(), 0);
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    EXPECT_TRUE(
        err.contains(QStringLiteral("small.3ds: more than 131072 vertices with their "
                                    "instances; its footers are drawn as 1 m squares")))
        << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("medium.3ds: more than 100000000 vertex comparisons")))
        << err.toStdString();
}

TEST(PlanCommand3d, WritesTheDemoSeenFromTheDefaultCamera)
{
    QTemporaryDir directory;
    const QString png = directory.filePath(QStringLiteral("view.png"));
    QProcess cli;
    cli.start(QStringLiteral(PLINTHWRIGHT_CLI_PATH),
              {"plan", QStringLiteral(PLINTHWRIGHT_EXAMPLES_DIR "/demo-footers.nltrack"), "-o", png,
               "--3d", "--models-dir", QStringLiteral(PLINTHWRIGHT_EXAMPLES_DIR "/models")});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const QImage written(png);
    EXPECT_EQ(written.size(), QSize(1280, 800));

    // The same picture as the renderer makes of the same scene.
    ModelReaderClient reader;
    ModelFootprints models{examples / "models", reader.fileReader()};
    const auto scene = std::make_shared<const Scene3d>(
        buildScene3d(readExample("demo-footers.nltrack"), {&models}));
    const Result<QImage> rendered = renderScene3d(scene, QSize(1280, 800));
    ASSERT_TRUE(rendered) << rendered.error();
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), *rendered);
}

}  // namespace
}  // namespace pw
