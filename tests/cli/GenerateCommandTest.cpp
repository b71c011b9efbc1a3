#include "CliTestSupport.h"
#include "cli/GenerateCommand.h"
#include "tests/support/TrackFixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace pw {
namespace {

// A track file, a models directory with small, medium and default models, and an empty
// simulator directory, all in one temporary directory.
class GenerateRun : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        track = root.filePath(QStringLiteral("rich.v2.nltrack"));
        output = root.filePath(QStringLiteral("out.nltrack"));
        models = root.filePath(QStringLiteral("models"));
        nolimits = root.filePath(QStringLiteral("NoLimits"));
        ASSERT_TRUE(QDir().mkpath(models));
        ASSERT_TRUE(QDir().mkpath(nolimits));
        writeFile(models + QStringLiteral("/small.3ds"), "small model");
        writeFile(models + QStringLiteral("/medium.3ds"), "medium model");
        writeFile(models + QStringLiteral("/default.3ds"), "default model");
        writeTrack(track, makeRichTrack());
    }

    QStringList arguments(const QStringList& extra) const
    {
        return QStringList{QStringLiteral("generate"), track, QStringLiteral("-o"), output,
                           QStringLiteral("--nolimits-dir"), nolimits,
                           QStringLiteral("--models-dir"), models} +
               extra;
    }

    QTemporaryDir root;
    QString track, output, models, nolimits;
};

const float tolerance = 1e-5f;

// Classes left out: small and medium find their own models.
TEST_F(GenerateRun, PlacesFootersReplacesFundamentsAndCopiesModels)
{
    const CliRun run = runCli(arguments({"--large", "default:150", "--xlarge", "default",
                                         "--xxlarge", "default:200"}));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty());
    EXPECT_EQ(run.out, QStringLiteral("Footer objects: 5 (small 1, medium 1, large 1, x-large 1, "
                                      "xx-large 1)\n"
                                      "Free nodes added: 5\n"
                                      "Fundaments removed: 2\n"
                                      "Files copied: 3\n"
                                      "Written: ") +
                           output + QLatin1Char('\n'));

    // The object directory is the track's name up to its first dot.
    const QString modelDir = nolimits + QStringLiteral("/objects/rich/");
    EXPECT_EQ(fileBytes(modelDir + "fundament-small.3ds"), "small model");
    EXPECT_EQ(fileBytes(modelDir + "fundament-medium.3ds"), "medium model");
    EXPECT_EQ(fileBytes(modelDir + "fundament-default.3ds"), "default model");
    EXPECT_FALSE(QFileInfo::exists(modelDir + "fundament-large.3ds"));

    const Track result = readTrack(output);
    ASSERT_EQ(result.sceneryObjects.size(), 7u);
    ASSERT_EQ(result.freeNodes.size(), 8u);
    // Tubes 0, 1, 2, 5 and 6 stand on fundaments 0, 1, 3, 0 and 1.
    const struct {
        const char* textA;
        const char* textB;
        Float3 at;
        float scale;
    } expected[] = {{"fundament3", "rich/fundament-medium.3ds", {0, 0, -30}, 1.0f},
                    {"fundament4", "rich/fundament-default.3ds", {15, 0, -60}, 1.5f},
                    {"fundament5", "rich/fundament-small.3ds", {60, 0, -50}, 1.0f},
                    {"fundament6", "rich/fundament-default.3ds", {0, 0, -30}, 2.8f},
                    {"fundament7", "rich/fundament-default.3ds", {15, 0, -60}, 2.0f}};
    for (int i = 0; i < 5; ++i) {
        const SceneryObject& object = result.sceneryObjects[2 + i];
        EXPECT_EQ(object.textA, expected[i].textA);
        EXPECT_EQ(object.textB, expected[i].textB);
        EXPECT_EQ(object.matrix[3], expected[i].at.x);
        EXPECT_EQ(object.matrix[7], expected[i].at.y);
        EXPECT_EQ(object.matrix[11], expected[i].at.z);
        // A rotation keeps the length of each column of the upper 3x3: the uniform scale.
        EXPECT_NEAR(std::hypot(object.matrix[0], object.matrix[4], object.matrix[8]),
                    expected[i].scale, tolerance);
        EXPECT_EQ(result.freeNodes[3 + i].position, expected[i].at) << i;
    }
    // Fundament 3 also carries tube 4, which has no size class, so it stays with fundament 2.
    ASSERT_EQ(result.fundaments.size(), 2u);
    EXPECT_EQ(result.fundaments[0].position, (Float3{40.0f, -2.5f, -70.0f}));
    EXPECT_EQ(result.fundaments[1].position, (Float3{60.0f, 0.0f, -50.0f}));
    EXPECT_EQ(result.tubes[0].endA, (TubeEnd{TubeEndFreeNode, 0, 3}));
    EXPECT_EQ(result.tubes[2].endB, (TubeEnd{TubeEndFreeNode, 0, 5}));
    EXPECT_EQ(result.tubes[4].endB, (TubeEnd{TubeEndFundament, 0, 1}));
    EXPECT_EQ(result.terrain, makeRichTrack().terrain);
}

TEST_F(GenerateRun, KeepsFundamentsAndTurnsWithoutTilting)
{
    const CliRun run = runCli(arguments({"--small", "none", "--medium", "none", "--large",
                                         "default:150", "--object-dir", "park",
                                         "--keep-fundaments", "--no-align"}));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    const Track result = readTrack(output);
    EXPECT_EQ(result.fundaments, makeRichTrack().fundaments);
    EXPECT_EQ(result.freeNodes.size(), 3u);
    EXPECT_EQ(result.tubes, makeRichTrack().tubes);
    ASSERT_EQ(result.sceneryObjects.size(), 3u);
    const SceneryObject& footer = result.sceneryObjects[2];
    EXPECT_EQ(footer.textB, "park/fundament-default.3ds");
    // Fundament 1 is turned by 0.5 rad, which overrides the turn towards the tube's other end.
    EXPECT_NEAR(footer.matrix[0], 1.5f * std::cos(0.5f), tolerance);
    EXPECT_NEAR(std::abs(footer.matrix[2]), 1.5f * std::sin(0.5f), tolerance);
    EXPECT_NEAR(footer.matrix[5], 1.5f, tolerance);
    EXPECT_EQ(footer.matrix[3], 15.0f);
    EXPECT_EQ(footer.matrix[11], -60.0f);
    EXPECT_TRUE(QFileInfo::exists(nolimits + "/objects/park/fundament-default.3ds"));
}

TEST_F(GenerateRun, OutputMayBeTheTrackItself)
{
    const CliRun run = runCli(QStringList{"generate", track, "-o", track, "--nolimits-dir",
                                          nolimits, "--models-dir", models});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const Track result = readTrack(track);
    // Small and medium find their own models; their fundaments carry other tubes too and stay.
    EXPECT_EQ(result.sceneryObjects.size(), 4u);
    EXPECT_EQ(result.freeNodes.size(), 5u);
    EXPECT_EQ(result.fundaments.size(), 4u);
}

TEST_F(GenerateRun, AMissingChosenModelLeavesAnExistingOutputAsItWas)
{
    writeFile(output, "previous contents");
    const CliRun run = runCli(arguments({"--xxlarge", "own"}));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("plinthwright-cli: ")));
    EXPECT_TRUE(run.err.contains(QStringLiteral("xxlarge.3ds"))) << run.err.toStdString();
    EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1);
    EXPECT_EQ(fileBytes(output), "previous contents");
}

TEST_F(GenerateRun, FailuresCreateNoOutput)
{
    const QString missing = root.filePath(QStringLiteral("missing.nltrack"));
    CliRun run = runCli(QStringList{"generate", missing, "-o", output, "--nolimits-dir", nolimits,
                                    "--models-dir", models});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(missing)) << run.err.toStdString();

    // A simulator directory that does not exist: its objects directory cannot be made.
    run = runCli(QStringList{"generate", track, "-o", output, "--nolimits-dir",
                             root.filePath(QStringLiteral("nowhere/NoLimits")), "--models-dir",
                             models});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("nowhere"))) << run.err.toStdString();

    run = runCli(QStringList{"generate", track, "-o", output, "--nolimits-dir", nolimits,
                             "--models-dir", root.filePath(QStringLiteral("no-models"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("no-models"))) << run.err.toStdString();

    const QString unrelated = root.filePath(QStringLiteral("notes.txt"));
    writeFile(unrelated, "these are not the bytes of a track");
    run = runCli(QStringList{"generate", unrelated, "-o", output, "--nolimits-dir", nolimits,
                             "--models-dir", models});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "plinthwright-cli: " + unrelated + ": holds no track data\n");

    EXPECT_FALSE(QFileInfo::exists(output));
}

TEST_F(GenerateRun, AnUnwritableOutputIsReportedAndNotCreated)
{
    const QString unwritable = root.filePath(QStringLiteral("no-such-dir/out.nltrack"));
    const CliRun run = runCli(QStringList{"generate", track, "-o", unwritable, "--nolimits-dir",
                                          nolimits, "--models-dir", models});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("no-such-dir"))) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(root.filePath(QStringLiteral("no-such-dir"))));
}

// The window's own end-to-end scenario: every model present, medium on the default model at
// 150 percent, turned rather than tilted. The saved track is what the core makes of it.
TEST_F(GenerateRun, SavesWhatTheWindowSavesForTheSameChoices)
{
    for (const char* model : {"large.3ds", "xlarge.3ds", "xxlarge.3ds"})
        writeFile(models + '/' + QLatin1String(model), model);
    const QString mytrack = root.filePath(QStringLiteral("mytrack.nltrack"));
    writeTrack(mytrack, makeRichTrack());
    const CliRun run = runCli({"generate", mytrack, "-o", output, "--nolimits-dir", nolimits,
                               "--models-dir", models, "--medium", "default:150", "--no-align"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    Track expected = readTrack(mytrack);
    GenerationOptions options;
    for (const TubeSizeClass sizeClass : allSizeClasses)
        options.choices[static_cast<std::size_t>(sizeClass)] = makeFooterModelChoice(
            sizeClass, sizeClass != TubeSizeClass::Medium, sizeClass == TubeSizeClass::Medium, 150);
    options.objectDirectoryText = "mytrack";
    options.objectDirectoryName = "mytrack";
    options.modelSourceDirectory = models.toStdString();
    options.nolimitsDirectory = nolimits.toStdString();
    options.alignToTangent = false;
    ASSERT_TRUE(generateFooters(expected, options).ok);

    const Track result = readTrack(output);
    EXPECT_EQ(result.sceneryObjects.size(), 7u);
    EXPECT_TRUE(result == expected);
}

TEST(GenerateOptions, FollowTheWindowsStartStates)
{
    GenerateArguments arguments;
    arguments.trackPath = QStringLiteral("/tracks/my.coaster.nltrack");
    arguments.modelsDirectory = QStringLiteral("/nonexistent-models");
    arguments.choices[static_cast<int>(TubeSizeClass::Medium)] =
        ClassChoice{ClassChoice::Model::Default, 110};
    const GenerationOptions options = generationOptions(arguments);
    EXPECT_EQ(options.objectDirectoryText, "my");
    EXPECT_EQ(options.objectDirectoryName, std::filesystem::path("my"));
    EXPECT_TRUE(options.replaceFundaments);
    EXPECT_TRUE(options.alignToTangent);
    EXPECT_FALSE(options.choices[static_cast<int>(TubeSizeClass::Small)].enabled);
    const FooterModelChoice& medium = options.choices[static_cast<int>(TubeSizeClass::Medium)];
    EXPECT_EQ(medium.modelFile, "default.3ds");
    EXPECT_EQ(medium.scale, 1.1f);
}

}  // namespace
}  // namespace pw
