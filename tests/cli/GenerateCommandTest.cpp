#include "CliTestSupport.h"
#include "cli/FooterChoiceArgument.h"
#include "cli/GenerateCommand.h"
#include "testsupport/EndToEndChoices.h"
#include "testsupport/TestModels.h"
#include "tracklib/FileSync.h"
#include "tracklib/TrackOperations.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace pw {
namespace {

using Model = FooterChoice::Model;

// A real 3ds model of its own for each name.
QByteArray modelBytes(const char* name)
{
    const std::vector<std::uint8_t> bytes = testModel(name);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

TEST(FooterChoiceArgument, ParsesTheFourFormsAndRefusesAnythingElse)
{
    const struct {
        const char* text;
        TubeSizeClass sizeClass;
        FooterChoice expected;
    } rows[] = {{"own", TubeSizeClass::Small, {Model::Own}},
                {"none", TubeSizeClass::Small, {Model::None}},
                {"default", TubeSizeClass::Small, {Model::Default, 80}},
                {"default", TubeSizeClass::XXLarge, {Model::Default, 330}},
                {"default:10", TubeSizeClass::Medium, {Model::Default, 10}},
                {"default:1000", TubeSizeClass::Medium, {Model::Default, 1000}}};
    for (const auto& row : rows)
        EXPECT_EQ(parseFooterChoice(row.text, row.sizeClass), row.expected) << row.text;
    for (const char* text :
         {"", "Own", "default:", "default:9", "default:1001", "default:-50", "default:+50",
          "default: 50", "default:50x", "default:1e2", "default:99999999999", "small"})
        EXPECT_FALSE(parseFooterChoice(QString::fromLatin1(text), TubeSizeClass::Large)) << text;
}

TEST(FooterChoiceArgument, LeftOutClassFollowsTheModelDirectory)
{
    TempFiles files;
    writeFile(files.path("large.3ds"), {});
    const std::filesystem::path path = files.path("").toStdString();
    EXPECT_EQ(footerChoiceFromModelDirectory(path, TubeSizeClass::Large), FooterChoice{Model::Own});
    EXPECT_EQ(footerChoiceFromModelDirectory(path, TubeSizeClass::Small),
              FooterChoice{Model::None});
    EXPECT_EQ(footerChoiceFromModelDirectory(path / "missing", TubeSizeClass::Large),
              FooterChoice{Model::None});
}

// The rich track, a models directory with small, medium and default models (each a 3ds model of
// its own), and an empty simulator directory.
class GenerateRun : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(models));
        ASSERT_TRUE(QDir().mkpath(nolimits));
        for (const char* name : {"small", "medium", "default"})
            writeFile(models + '/' + name + ".3ds", modelBytes(name));
    }

    QStringList arguments(const QStringList& extra = {}) const
    {
        return QStringList{"generate",       track,    "-o",           output,
                           "--nolimits-dir", nolimits, "--models-dir", models} +
               extra;
    }

    TempFiles files;
    const QString track = files.track("rich.v2.nltrack");
    const QString output = files.path("out.nltrack");
    const QString models = files.path("models");
    const QString nolimits = files.path("NoLimits");
};

const float tolerance = 1e-5f;

// Classes left out: small and medium find their own models.
TEST_F(GenerateRun, PlacesFootersReplacesFundamentsAndCopiesModels)
{
    const CliRun run = runCli(
        arguments({"--large", "default:150", "--xlarge", "default", "--xxlarge", "default:200"}));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty());
    EXPECT_EQ(run.out,
              "Footer objects: 5 (small 1, medium 1, large 1, x-large 1, xx-large 1)\n"
              "Free nodes added: 5\n"
              "Fundaments removed: 2\n"
              "Files copied: 3\n"
              "Copied to: " +
                  QDir::toNativeSeparators(nolimits + "/objects/rich") +
                  "\n"
                  "  fundament-small.3ds\n"
                  "  fundament-medium.3ds\n"
                  "  fundament-default.3ds\n"
                  "Written: " +
                  output + '\n');

    // The object directory is the track's name up to its first dot.
    const QString modelDir = nolimits + "/objects/rich/";
    for (const char* name : {"small", "medium", "default"})
        EXPECT_EQ(fileBytes(modelDir + "fundament-" + name + ".3ds"), modelBytes(name));
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
        SCOPED_TRACE(i);
        const SceneryObject& object = result.sceneryObjects[2 + i];
        EXPECT_EQ(object.textA, expected[i].textA);
        EXPECT_EQ(object.textB, expected[i].textB);
        EXPECT_EQ((Float3{object.matrix[3], object.matrix[7], object.matrix[11]}), expected[i].at);
        // A rotation keeps the length of each column of the upper 3x3: the uniform scale.
        EXPECT_NEAR(std::hypot(object.matrix[0], object.matrix[4], object.matrix[8]),
                    expected[i].scale, tolerance);
        EXPECT_EQ(result.freeNodes[3 + i].position, expected[i].at);
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
    const CliRun run =
        runCli(arguments({"--small", "none", "--medium", "none", "--large", "default:150",
                          "--object-dir", "park", "--keep-fundaments", "--no-align"}));
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
    QStringList inPlace = arguments();
    inPlace[3] = track;
    const CliRun run = runCli(inPlace);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const Track result = readTrack(track);
    // Small and medium find their own models; their fundaments carry other tubes too and stay.
    EXPECT_EQ(result.sceneryObjects.size(), 4u);
    EXPECT_EQ(result.freeNodes.size(), 5u);
    EXPECT_EQ(result.fundaments.size(), 4u);
}

TEST_F(GenerateRun, DamagedTrackIsWrittenWithAWarning)
{
    writeFile(track, fileBytes(track) + "JUNKJUNKJUNKJUNK");
    const CliRun run = runCli(arguments());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, "plinthwright-cli: warning: " + track +
                           " is damaged (16 bytes skipped; chunks cut short: 0); " + output +
                           " holds only what could be read\n");
    EXPECT_EQ(readTrack(output).sceneryObjects.size(), 4u);
}

TEST_F(GenerateRun, TextCutAtAZeroByteIsWarnedAbout)
{
    Track rich = makeRichTrack();
    setInfoText("before#after", rich);
    writeTrack(track, rich);
    QByteArray bytes = fileBytes(track);
    bytes[bytes.indexOf("before#after") + 6] = '\0';
    writeFile(track, bytes);

    const CliRun run = runCli(arguments());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, "plinthwright-cli: warning: " + track +
                           " is damaged (0 bytes skipped; chunks cut short: 0; texts cut at a "
                           "zero byte: 1); " +
                           output + " holds only what could be read\n");
    const Track written = readTrack(output);
    EXPECT_EQ(written.infoText, "before");
    EXPECT_EQ(written.infoLength, 4 + 6);
}

TEST_F(GenerateRun, EveryFailureLeavesAnExistingOutputAsItWas)
{
    writeFile(output, "previous contents");
    // A usage error comes before any file is touched.
    EXPECT_EQ(runCli(arguments({"--small", "huge"})).exitCode, 2);
    EXPECT_FALSE(QFileInfo::exists(nolimits + "/objects"));
    const QString notes = files.path("notes.txt");
    writeFile(notes, "these are not the bytes of a track");
    const QString missing = files.path("missing.nltrack");
    // Arguments 1, 3, 5 and 7 are the track, OUT, the simulator and the models directory.
    const auto replaced = [&](int at, const QString& value) {
        QStringList list = arguments();
        list[at] = value;
        return list;
    };
    const struct {
        QStringList arguments;
        QString subject;
    } rows[] = {
        {replaced(1, missing), missing},
        {replaced(1, notes), notes + "\": it holds no track data"},
        // Its objects directory cannot be made.
        {replaced(5, files.path("nowhere/NoLimits")), "nowhere"},
        {replaced(7, files.path("no-models")), "no-models"},
        {arguments({"--xxlarge", "own"}), "xxlarge.3ds"},
        {replaced(3, files.path("no-such-dir/out.nltrack")), "no-such-dir"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.subject.toStdString());
        expectFailure(runCli(row.arguments), row.subject);
        EXPECT_EQ(fileBytes(output), "previous contents");
    }
    EXPECT_FALSE(QFileInfo::exists(files.path("no-such-dir")));
}

// "../../x" would copy the models beside the simulator directory and store "../../x/..." paths.
TEST_F(GenerateRun, ObjectDirectoryOutsideObjectsIsRefusedBeforeAnythingIsCopied)
{
    writeFile(output, "previous contents");
    for (const char* name : {"../../x", "..", "a/b"}) {
        SCOPED_TRACE(name);
        expectFailure(runCli(arguments({"--object-dir", name})),
                      QStringLiteral("Cannot use the object directory name \"%1\"").arg(name));
        EXPECT_EQ(fileBytes(output), "previous contents");
    }
    EXPECT_FALSE(QFileInfo::exists(nolimits + "/objects"));
    EXPECT_FALSE(QFileInfo::exists(files.path("x")));
}

// What the window refuses, generate refuses: with exit 1, one line naming why, OUT as it was
// and nothing installed, not even a directory.
TEST_F(GenerateRun, RefusesWhatTheWindowRefusesBeforeAnythingIsMade)
{
    writeFile(output, "previous contents");
    const QString noTubes = files.track("bare.nltrack", makeNewTrack());
    const QString unnamed = files.track(".nltrack");
    QStringList onBareTrack = arguments();
    onBareTrack[1] = noTubes;
    QStringList onUnnamedTrack = arguments();
    onUnnamedTrack[1] = unnamed;
    const QString textModels = files.path("text-models");
    ASSERT_TRUE(QDir().mkpath(textModels));
    writeFile(textModels + "/small.3ds", "a text file named small.3ds\n");
    QStringList withTextModel = arguments({"--object-dir", "demo"});
    withTextModel[7] = textModels;
    const QStringList allNone{"--small", "none", "--medium", "none", "--large", "none",
                              "--xlarge", "none", "--xxlarge", "none"};
    const struct {
        QStringList arguments;
        QString error;
    } rows[] = {
        {arguments(allNone), "nothing to place: no size class has a footer model from \"" +
                                 models + "\" chosen"},
        {onBareTrack, "nothing to place: no support tube of a size class with a footer model "
                      "stands on a fundament"},
        {arguments({"--large", "own"}),
         "the chosen footer model \"" + models + "/large.3ds\" is not there"},
        {withTextModel,
         "Cannot use the footer model \"" + textModels + "/small.3ds\": it is not a 3ds model"},
        {arguments({"--object-dir", ""}),
         "no object directory name is given: the footer models go into a directory of their own "
         "inside the simulator's objects directory"},
        {onUnnamedTrack,
         "no object directory name is given: the footer models go into a directory of their own "
         "inside the simulator's objects directory"},
        {arguments({"--object-dir", QString(300, 'n')}),
         "Cannot use the object directory name \"" + QString(300, 'n') +
             "\": Windows cannot hold it, so the simulator would not find the models there (no < "
             "> : \" | ? * or control characters, no dot or space at the end, at most 255 "
             "characters, and not a device name such as CON, NUL, COM1 or LPT1)"},
#ifndef _WIN32
        // 200 Latin-1 characters, which Windows takes; here 400 bytes of UTF-8.
        {arguments({"--object-dir", QString(200, QChar(0xE9))}),
         "Cannot use the object directory name \"" + QString(200, QChar(0xE9)) +
             "\": it is longer than the " +
             QString::number(longestNameIn(toFileSystemPath(nolimits))) +
             " bytes this file system takes in a name"},
#endif
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.error.toStdString());
        const CliRun run = runCli(row.arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "plinthwright-cli: " + row.error + '\n');
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(fileBytes(output), "previous contents");
        EXPECT_FALSE(QFileInfo::exists(nolimits + "/objects"));
    }
}

// Our own reading stops at 16 MiB, the simulator's need not: such a model is installed,
// with a warning.
TEST_F(GenerateRun, ModelBeyondOurReadingIsInstalledWithAWarning)
{
    const std::vector<std::uint8_t> padded = paddedTestModel((std::size_t{16} << 20) + 10, 0);
    writeFile(models + "/medium.3ds",
              QByteArray(reinterpret_cast<const char*>(padded.data()),
                         static_cast<qsizetype>(padded.size())));
    const CliRun run = runCli(arguments({"--object-dir", "demo"}));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, "plinthwright-cli: warning: the footer model \"" + models +
                           "/medium.3ds\" goes beyond what Plinthwright reads (larger than 16 MiB): "
                           "it is installed all the same, and the plans draw its footers as 1 m "
                           "squares\n");
    EXPECT_EQ(QFileInfo(nolimits + "/objects/demo/fundament-medium.3ds").size(),
              static_cast<qint64>(padded.size()));
}

// Names come from file names, which may hold anything: a terminal is never sent a control
// character from one, in an error or in what generate tells.
TEST_F(GenerateRun, ControlCharactersOfNamesNeverReachTheTerminal)
{
#ifdef _WIN32
    // Windows names hold no C0 controls; the name comes as given instead.
    const CliRun refused = runCli(arguments({"--object-dir", QString::fromUtf8("x\x1b]0;PWNED\x07y")}));
#else
    const QString titled = files.track(QString::fromUtf8("x\x1b]0;PWNED\x07y.nltrack"));
    QStringList fromTitled = arguments();
    fromTitled[1] = titled;
    const CliRun refused = runCli(fromTitled);
#endif
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "plinthwright-cli: Cannot use the object directory name "
                           "\"x\\x1b]0;PWNED\\x07y\": Windows cannot hold it, so the simulator "
                           "would not find the models there (no < > : \" | ? * or control "
                           "characters, no dot or space at the end, at most 255 characters, and "
                           "not a device name such as CON, NUL, COM1 or LPT1)\n");

    // A C1 control introduces an escape sequence on many terminals, as ESC [ does.
    const QString csi = files.path(QString::fromUtf8("No\u009b2JLimits"));
    ASSERT_TRUE(QDir().mkpath(csi));
    QStringList intoCsi = arguments({"--object-dir", QString::fromUtf8("demo\u009b")});
    intoCsi[5] = csi;
    const CliRun copied = runCli(intoCsi);
    ASSERT_EQ(copied.exitCode, 0) << copied.err.toStdString();
    const QString shownCsi = files.path("No\\x9b2JLimits");
    EXPECT_TRUE(copied.out.contains("Copied to: " + shownCsi + "/objects/demo\\x9b\n"))
        << copied.out.toStdString();
    for (const CliRun* run : {&refused, &copied})
        for (const QChar c : run->out + run->err)
            EXPECT_FALSE(c.category() == QChar::Other_Control && c != '\n')
                << "U+" << std::hex << static_cast<int>(c.unicode());
}

#ifndef _WIN32
// A link inside the NoLimits directory would take the models elsewhere.
TEST_F(GenerateRun, LinkInTheNolimitsTreeIsRefused)
{
    const QString outside = files.path("outside");
    ASSERT_TRUE(QDir().mkpath(outside));
    for (const auto& [link, to] : {std::pair{nolimits + "/objects", QString("../outside")},
                                   std::pair{nolimits + "/objects/demo", QString("../../outside")}}) {
        SCOPED_TRACE(link.toStdString());
        ASSERT_TRUE(QDir().mkpath(nolimits + "/objects"));
        QDir(link).removeRecursively();
        ASSERT_TRUE(QFile::link(to, link));
        const CliRun run = runCli(arguments({"--object-dir", "demo"}));
        expectFailure(run, "Cannot install the footer models into \"" + link +
                               "\": it is a symbolic link, and the models stay inside the "
                               "NoLimits directory \"" + nolimits + '"');
        EXPECT_TRUE(QDir(outside).isEmpty());
        EXPECT_FALSE(QFileInfo::exists(output));
        QFile::remove(link);
    }
}
#endif

#ifndef _WIN32
TEST_F(GenerateRun, OutputThatIsNoRegularFileIsRefusedBeforeAnythingIsInstalled)
{
    const QString pipe = files.path("pipe.nltrack");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString folder = files.path("folder.nltrack");
    ASSERT_TRUE(QDir().mkpath(folder));
    const struct {
        QString path;
        QString reason;
    } rows[] = {{pipe, "it is a named pipe, not a regular file"}, {folder, "it is a directory"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        QStringList list = arguments();
        list[3] = row.path;
        const CliRun run = runCli(list);
        expectFailure(run, row.path + ": " + row.reason);
        EXPECT_FALSE(QFileInfo::exists(nolimits + "/objects"));
        const CliRun plan = runCli({"plan", track, "-o", row.path});
        expectFailure(plan, row.path + ": " + row.reason);
    }
    EXPECT_TRUE(std::filesystem::is_fifo(toFileSystemPath(pipe)));
    EXPECT_TRUE(QDir(folder).isEmpty());
}
#endif

// Tracks named alike up to the first dot share an objects directory: a copy that replaces another
// model is named, one that replaces the same bytes is not.
TEST_F(GenerateRun, NamesEachCopyThatReplacedADifferentFile)
{
    ASSERT_EQ(runCli(arguments()).exitCode, 0);
    CliRun run = runCli(arguments());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(run.out.contains("Replaced")) << run.out.toStdString();

    writeFile(models + "/small.3ds", modelBytes("another"));
    const QString other = files.track("rich.v3.nltrack");
    run = runCli(
        {"generate", other, "-o", output, "--nolimits-dir", nolimits, "--models-dir", models});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("  fundament-medium.3ds\nReplaced " +
                                 QDir::toNativeSeparators("objects/rich/fundament-small.3ds") +
                                 ", which differed\nWritten: "))
        << run.out.toStdString();
}

// The window's own end-to-end scenario: every model present, medium on the default model at
// 150 percent, turned rather than tilted. The saved track is what the core makes of it.
TEST_F(GenerateRun, SavesWhatTheWindowSavesForTheSameChoices)
{
    for (const char* model : {"large.3ds", "xlarge.3ds", "xxlarge.3ds"})
        writeFile(models + '/' + QLatin1String(model), modelBytes(model));
    const CliRun run = runCli(arguments({"--medium", "default:150", "--no-align"}));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    Track expected = readTrack(track);
    const GenerationOptions choices =
        endToEndChoices("rich", models.toStdString(), nolimits.toStdString());
    ASSERT_TRUE(generateFooters(expected, choices).ok());

    const Track result = readTrack(output);
    EXPECT_EQ(result.sceneryObjects.size(), 7u);
    EXPECT_TRUE(result == expected);
}

// The models directory holds small and medium: footers on fundaments 0 (medium) and 3 (small).
class GenerateAgainRun : public GenerateRun {
protected:
    CliRun generateAgain(const QStringList& extra) const
    {
        return runCli(QStringList{"generate", output, "-o", again, "--nolimits-dir", nolimits,
                                  "--models-dir", models, "--object-dir", "rich"} +
                      extra);
    }

    const QString again = files.path("again.nltrack");
};

TEST_F(GenerateAgainRun, AddsWithAWarningUnlessToldWhatToDoWithEarlierFooters)
{
    const CliRun first = runCli(arguments({"--keep-fundaments"}));
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.err.isEmpty());

    const CliRun added = generateAgain({"--keep-fundaments"});
    ASSERT_EQ(added.exitCode, 0) << added.err.toStdString();
    EXPECT_EQ(added.err, "plinthwright-cli: warning: " + output +
                             " held 2 footers placed before, and the new ones were added beside "
                             "them; --replace-footers replaces them, --add-footers adds without "
                             "this warning\n");
    EXPECT_EQ(readTrack(again).sceneryObjects.size(), 6u);

    const CliRun addedOnPurpose = generateAgain({"--keep-fundaments", "--add-footers"});
    ASSERT_EQ(addedOnPurpose.exitCode, 0);
    EXPECT_TRUE(addedOnPurpose.err.isEmpty());
    EXPECT_EQ(readTrack(again).sceneryObjects.size(), 6u);

    const CliRun replaced = generateAgain({"--keep-fundaments", "--replace-footers"});
    ASSERT_EQ(replaced.exitCode, 0);
    EXPECT_TRUE(replaced.err.isEmpty());
    EXPECT_TRUE(
        replaced.out.startsWith("Footer objects: 2 (small 1, medium 1, large 0, x-large 0, "
                                "xx-large 0)\nEarlier footers removed: 2\nFree nodes "
                                "added: 0\n"))
        << replaced.out.toStdString();
    EXPECT_TRUE(readTrack(again) == readTrack(output));

    const CliRun both = generateAgain({"--replace-footers", "--add-footers"});
    EXPECT_EQ(both.exitCode, 2);
    EXPECT_TRUE(both.err.startsWith(
        "plinthwright-cli: --replace-footers and --add-footers exclude each other\n"));
}

// Its tube ends at a free node now; the fundament stays only for a tube of a class without a model.
TEST_F(GenerateAgainRun, ReplacingFootersWhoseFundamentsWereReplacedIsRefused)
{
    ASSERT_EQ(runCli(arguments({"--small", "none"})).exitCode, 0);
    const CliRun run = generateAgain({"--small", "none", "--replace-footers"});
    expectFailure(run,
                  "nothing to place: the footer placed before stands where its fundament "
                  "was replaced by a free node, so no footer can be placed there again");
    EXPECT_FALSE(QFileInfo::exists(again));
}

TEST_F(GenerateRun, ChoicesFileLeavesOutAndChangesSingleSupports)
{
    const QString choices = files.path("choices.txt");
    writeFile(choices, "# by fundament index\n\n  0  none   # stands in the lake\n3\tmedium\r\n");
    const CliRun run = runCli(arguments({"--choices", choices}));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(
        run.out.startsWith("Footer objects: 1 (small 0, medium 1, large 0, x-large 0, "
                           "xx-large 0)\nSupports chosen for: 1 with another class's "
                           "model, 1 left out\nFree nodes added: 1\n"))
        << run.out.toStdString();
    const Track result = readTrack(output);
    ASSERT_EQ(result.sceneryObjects.size(), 3u);
    const SceneryObject& footer = result.sceneryObjects[2];
    EXPECT_EQ(footer.textB, "rich/fundament-medium.3ds");
    EXPECT_EQ((Float3{footer.matrix[3], footer.matrix[7], footer.matrix[11]}),
              (Float3{60, 0, -50}));
}

TEST_F(GenerateRun, ChoicesItCannotReadAreAUsageErrorNamingTheLine)
{
    const QString choices = files.path("choices.txt");
    const QString expected = QStringLiteral(
        "expected a fundament index and none, small, medium, "
        "large, xlarge or xxlarge, not ");
    const struct {
        const char* text;
        int line;
        QString problem;
    } rows[] = {{"0 none\n7 huge\n", 2, expected + "'7 huge'"},
                {"-1 none", 1, expected + "'-1 none'"},
                {"+1 none", 1, expected + "'+1 none'"},
                {"1 none small", 1, expected + "'1 none small'"},
                {"\n\n1", 3, expected + "'1'"},
                {"1 Small", 1, expected + "'1 Small'"},
                {"2147483648 none", 1, expected + "'2147483648 none'"},
                {"1 none\x1b[2J", 1, expected + "'1 none\\x1b[2J'"},
                {"0 none\n\n0 small # again\n", 3, "support 0 is chosen for on line 1 already"}};
    for (const auto& row : rows) {
        writeFile(choices, row.text);
        const CliRun run = runCli(arguments({"--choices", choices}));
        EXPECT_EQ(run.exitCode, 2) << row.text;
        EXPECT_TRUE(
            run.err.startsWith(QStringLiteral("plinthwright-cli: --choices %1, line %2: %3\n")
                                   .arg(choices)
                                   .arg(row.line)
                                   .arg(row.problem)))
            << run.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(output));
    }
}

TEST_F(GenerateRun, ChoicesTheTrackCannotHonourAreRefusedNamingTheLine)
{
    const QString choices = files.path("choices.txt");
    writeFile(choices, "0 none\n12 small\n");
    expectFailure(runCli(arguments({"--choices", choices})),
                  choices +
                      ", line 2: there is no support 12: the track has 4 fundaments, "
                      "numbered 0 to 3");
    writeFile(choices, "3 large\n");
    expectFailure(runCli(arguments({"--choices", choices})),
                  choices +
                      ", line 1: support 3 is to get the large footer model, and no large "
                      "footer model is chosen");
    expectFailure(runCli(arguments({"--choices", files.path("missing.txt")})),
                  files.path("missing.txt"));
    EXPECT_FALSE(QFileInfo::exists(output));
    EXPECT_FALSE(QFileInfo::exists(nolimits + "/objects"));
}

}  // namespace
}  // namespace pw
