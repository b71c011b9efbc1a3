#include "CliTestSupport.h"

#include "testsupport/HostileModels.h"
#include "models/ModelReaderClient.h"
#include "models/ReaderProcessSeam.h"
#include "testsupport/ScopedVariable.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <array>
#include <cstdlib>

namespace pw {
namespace {

const QString examples = QStringLiteral(PLINTHWRIGHT_EXAMPLES_DIR);

struct SvgContents {
    QString title;
    int shapes = 0;  // path, polyline and polygon elements
    bool wellFormed = false;
};

SvgContents parseSvg(const QByteArray& svg)
{
    SvgContents contents;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (!xml.readNext() || !xml.isStartElement())
            continue;
        const QString name = xml.name().toString();
        if (name == QLatin1String("title"))
            contents.title = xml.readElementText();
        else if (name == QLatin1String("path") || name == QLatin1String("polyline") ||
                 name == QLatin1String("polygon"))
            ++contents.shapes;
    }
    contents.wellFormed = !xml.hasError();
    return contents;
}

// Pixels left of `right` in a footer's colour: its outline, or its fill (150/255 opaque over
// white), give or take the antialiasing of small shapes.
int footerPixels(const QImage& image, int right, QRgb colour)
{
    const auto blend = [](int c) { return (c * 150 + 255 * 105) / 255; };
    const auto near = [](QRgb p, int r, int g, int b) {
        return std::abs(qRed(p) - r) + std::abs(qGreen(p) - g) + std::abs(qBlue(p) - b) <= 24;
    };
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < right; ++x) {
            const QRgb p = image.pixel(x, y);
            if (near(p, qRed(colour), qGreen(colour), qBlue(colour)) ||
                near(p, blend(qRed(colour)), blend(qGreen(colour)), blend(qBlue(colour))))
                ++count;
        }
    return count;
}

TEST(PlanCommand, WritesSvgAndPngOfTheDemoTrackWithItsModels)
{
    TempFiles files;
    const QString track = examples + "/demo-footers.nltrack";
    const QString svg = files.path("plan.svg");
    CliRun run = runCli({"plan", track, "-o", svg, "--models-dir", examples + "/models"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "Written: " + svg + '\n');
    const SvgContents contents = parseSvg(fileBytes(svg));
    EXPECT_TRUE(contents.wellFormed);
    EXPECT_EQ(contents.title, QStringLiteral("Plinthwright demo track"));
    EXPECT_GT(contents.shapes, 21);  // a footer each, the curve, the tubes

    const QString png = files.path("plan.PNG");
    run = runCli({"plan", track, "-o", png, "--models-dir", examples + "/models"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage image(png, "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 1260);  // margin, 1000 of track, margin, legend, margin
    // Every class has footers on the demo track, drawn left of the legend.
    for (const QRgb colour : {0x1f77b4u, 0x2ca02cu, 0xff7f0eu, 0xd62728u, 0x9467bdu})
        EXPECT_GT(footerPixels(image, 1030, colour), 12) << std::hex << colour;
}

TEST(PlanCommand, NamesTheModelsItCouldNotRead)
{
    TempFiles files;
    QDir().mkpath(files.path("models"));
    writeFile(files.path("models/small.3ds"), QByteArray());
    const CliRun run = runCli({"plan", examples + "/demo-footers.nltrack", "-o",
                               files.path("plan.png"), "--models-dir", files.path("models")});
    EXPECT_EQ(run.exitCode, 0);
    // Every class's model is missing or empty: one warning each, the plan written all the same.
    EXPECT_EQ(run.err.count(": warning: "), 5) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(files.path("models/small.3ds") + ": not a 3ds model; its footers "
                                                                  "are drawn as 1 m squares\n"))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(files.path("models/large.3ds") + ": not found;"));
    EXPECT_TRUE(QFileInfo::exists(files.path("plan.png")));
}

void writeModel(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    writeFile(path, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                               static_cast<qsizetype>(bytes.size())));
}

// Models within the file's bounds that once took minutes and gigabytes of the plan.
TEST(PlanCommand, ModelsThatExplodedReadersAreSquaresWithAWarning)
{
    TempFiles files;
    QDir().mkpath(files.path("models"));
    writeModel(files.path("models/small.3ds"), instancedModel(512, 20000));
    writeModel(files.path("models/medium.3ds"), tiltedGridModel(true));
    QElapsedTimer clock;
    clock.start();
    const CliRun run = runCli({"plan", examples + "/demo-footers.nltrack", "-o",
                               files.path("plan.png"), "--models-dir", files.path("models")});
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(files.path("models/small.3ds") +
                                 ": more than 131072 vertices with their instances; its footers "
                                 "are drawn as 1 m squares\n"))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(files.path("models/medium.3ds") +
                                 ": more than 100000000 vertex comparisons to smooth its normals;"))
        << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(files.path("plan.png")));
}

// The reader is a stand-in that misbehaves as each model tells it (tests/models/ReaderStandIn.cpp)
// under limits made small for the test: the plan is written all the same, every model but the
// failing one read.
TEST(PlanCommand, AReaderThatFailsLeavesThatModelASquareAndTheRestIsRead)
{
    const struct {
        const char* model;
        const char* limits;  // processor seconds, address space in MiB, deadline in ms
        QString problem;
    } cases[] = {
        {"abort", "1,256,30000",
         "the reader stopped: it crashed (" + QString::fromStdString(crashText(6)) + ")"},
        {"spin", "1,256,30000", "took longer than 1 s to read"},
        {"sleep", "1,256,500", "the reader stopped: no answer within 0.5 s"},
        {"allocate", "1,256,30000", "needs more than 256 MiB"},
    };
    const test::ScopedVariable reader(modelReaderVariable, PLINTHWRIGHT_READER_STAND_IN);
    for (const auto& c : cases) {
        const test::ScopedVariable limits(readerLimitsVariable, c.limits);
        if (QLatin1String(c.model) == QLatin1String("allocate") && !addressSpaceLimitsApply())
            continue;  // this build cannot limit it
        TempFiles files;
        QDir().mkpath(files.path("models"));
        for (const char* model : {"medium", "large", "xlarge", "xxlarge"})
            writeFile(files.path("models/") + model + ".3ds", "model");
        writeFile(files.path("models/small.3ds"), c.model);
        const CliRun run = runCli({"plan", examples + "/demo-footers.nltrack", "-o",
                                   files.path("plan.png"), "--models-dir", files.path("models")});
        EXPECT_EQ(run.exitCode, 0) << c.model;
        EXPECT_TRUE(run.err.contains(files.path("models/small.3ds") + ": " + c.problem +
                                     "; its footers are drawn as 1 m squares\n"))
            << run.err.toStdString();
        EXPECT_EQ(run.err.count("drawn as 1 m squares"), 1) << run.err.toStdString();
        EXPECT_TRUE(QFileInfo::exists(files.path("plan.png"))) << c.model;
    }

    const test::ScopedVariable missing(modelReaderVariable, "/no/such/reader");
    TempFiles files;
    const CliRun run = runCli({"plan", examples + "/demo-footers.nltrack", "-o",
                               files.path("plan.png"), "--models-dir", examples + "/models"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err.count(": the reader could not be started: /no/such/reader: No such file or "
                            "directory; its footers are drawn as 1 m squares\n"),
              5)
        << run.err.toStdString();
}

// A model path stored in a downloaded track reaches the terminal escaped, never as the escape
// sequence or line break it holds.
TEST(PlanCommand, EscapesTheStoredModelPathInItsWarning)
{
    TempFiles files;
    Track track = readTrack(examples + "/demo-footers.nltrack");
    for (SceneryObject& object : track.sceneryObjects)
        object.textB = "demo/fundament-\x1b[2J\nx.3ds";
    writeTrack(files.path("t.nltrack"), track);
    QDir().mkpath(files.path("nl/objects"));
    const CliRun run = runCli({"plan", files.path("t.nltrack"), "-o", files.path("plan.png"),
                               "--nolimits-dir", files.path("nl")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err,
              "plinthwright-cli: warning: " + files.path("nl/objects") +
                  "/demo/fundament-\\x1b[2J\\nx.3ds: not found; its footers are drawn as 1 m "
                  "squares\n");
}

// What the window shows can be had without it: the front view, and footers drawn from the copies
// the simulator loads.
TEST(PlanCommand, DrawsFromTheFrontAndFromTheInstalledModels)
{
    TempFiles files;
    const QString track = examples + "/demo-footers.nltrack";
    const QString svg = files.path("front.svg");
    CliRun run = runCli({"plan", track, "-o", svg, "--front"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(fileBytes(svg).contains("from the front: x right, y up"));

    QDir().mkpath(files.path("nl/objects/demo"));
    for (const char* model : {"medium", "large", "xlarge"})
        ASSERT_TRUE(QFile::copy(examples + "/models/" + model + ".3ds",
                                files.path("nl/objects/demo/fundament-") + model + ".3ds"));
    writeFile(files.path("nl/objects/demo/fundament-small.3ds"), QByteArray("no model"));
    run = runCli({"plan", track, "-o", files.path("plan.png"), "--nolimits-dir", files.path("nl")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err,
              "plinthwright-cli: warning: " + files.path("nl/objects/demo/fundament-small.3ds") +
                  ": not a 3ds model; its footers are drawn as 1 m squares\n"
                  "plinthwright-cli: warning: " +
                  files.path("nl/objects/demo/fundament-xxlarge.3ds") +
                  ": not found; its footers are drawn as 1 m squares\n");

    // Where the installed copy fails, the models directory's model stands in, unmentioned.
    run = runCli({"plan", track, "-o", files.path("plan.png"), "--nolimits-dir", files.path("nl"),
                  "--models-dir", examples + "/models"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");

    for (const char* command : {"info", "generate"}) {
        run = runCli({command, track, "--front"});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(QStringLiteral("%1 takes no --front").arg(command)))
            << run.err.toStdString();
    }
}

TEST(PlanCommand, TitleWithMarkupAndControlCharactersStaysWellFormed)
{
    TempFiles files;
    Track damaged = makeRichTrack();
    damaged.infoText = "a<b&c\x01\xE9";
    damaged.fundaments[2].position.x = std::nanf("");
    const QString svg = files.path("plan.svg");
    const CliRun run = runCli({"plan", files.track("odd.nltrack", damaged), "-o", svg});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const SvgContents contents = parseSvg(fileBytes(svg));
    EXPECT_TRUE(contents.wellFormed);
    EXPECT_EQ(contents.title, QString::fromUtf8("a<b&c?\u00e9"));
}

TEST(PlanCommand, CommandWritesTheFileOrNothing)
{
    TempFiles files;
    const QString track = files.track("rich.nltrack");
    const QString unwritable = files.path("no-dir/plan.svg");
    CliRun run = runCli({"plan", track, "-o", unwritable});
    expectFailure(run, "Cannot save \"" + unwritable + "\": ");
    EXPECT_FALSE(QFileInfo::exists(unwritable));

    // An unknown picture format is a usage error, and writes nothing.
    const QString text = files.path("plan.txt");
    run = runCli({"plan", track, "-o", text});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("plan writes .svg or .png")) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(text));

    // A models directory belongs to plan and generate only.
    run = runCli({"info", track, "--models-dir", files.path("")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("info takes no --models-dir")) << run.err.toStdString();
}

TEST(PlanCommand, ProgramPaintsWithoutADisplay)
{
    TempFiles files;
    const QString png = files.path("plan.png");
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(PLINTHWRIGHT_CLI_PATH),
                  {"plan", examples + "/demo.nltrack", "-o", png});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_FALSE(QImage(png).isNull());
}

TEST(PlanCommand, ThreeDWithoutAnyOpenGLSaysWhyInOneLineAndWritesNothing)
{
    TempFiles files;
    const QString png = files.path("view.png");
    QTemporaryDir runtime;  // Qt would otherwise warn that it has none
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(PLINTHWRIGHT_CLI_PATH),
                  {"plan", examples + "/demo.nltrack", "-o", png, "--3d"});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()),
              "plinthwright-cli: no 3D view: no OpenGL context can be made on the \"offscreen\" "
              "platform without an X display (DISPLAY is not set)\n");
    EXPECT_FALSE(QFileInfo::exists(png));
}

}  // namespace
}  // namespace pw
