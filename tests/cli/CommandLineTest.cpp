#include "CliTestSupport.h"
#include "cli/CommandLine.h"
#include "tests/support/TrackFixtures.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pw {
namespace {

const QString usageLine = QString::fromLatin1(cliUsageLine);

void expectUsageError(const QStringList& arguments, const QString& problem)
{
    const CliRun run = runCli(arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(run.err, "plinthwright-cli: " + problem + '\n' + usageLine + '\n')
        << arguments.join(' ').toStdString();
}

TEST(CommandLine, UsageErrorsExitWithTwoAndTheUsageLine)
{
    expectUsageError({}, "no command given");
    expectUsageError({"inspect", "a.nltrack"}, "unknown command 'inspect'");
    expectUsageError({"info"}, "info needs a TRACK");
    expectUsageError({"info", "a.nltrack", "b.nltrack"}, "unexpected argument 'b.nltrack'");
    expectUsageError({"info", "a.nltrack", "--frobnicate"}, "Unknown option 'frobnicate'.");
    expectUsageError({"dump", "a.nltrack", "-o", "x.json"}, "dump takes no --output");
    expectUsageError({"info", "a.nltrack", "--no-align"}, "info takes no --no-align");
    expectUsageError({"plan", "a.nltrack"}, "plan needs --output");
    expectUsageError({"plan", "a.nltrack", "-o", "p.svg", "--small", "own"},
                     "plan takes no --small");
    expectUsageError({"generate", "a.nltrack", "-o"}, "Missing value after '-o'.");
}

TEST(CommandLine, GenerateNeedsItsDirectoriesAndSoundChoices)
{
    const QStringList base{"generate", "a.nltrack", "-o", "b.nltrack"};
    expectUsageError(base + QStringList{"--models-dir", "m"}, "generate needs --nolimits-dir");
    expectUsageError(base + QStringList{"--nolimits-dir", "n"}, "generate needs --models-dir");
    expectUsageError({"generate", "a.nltrack", "--nolimits-dir", "n", "--models-dir", "m"},
                     "generate needs --output");
    const QStringList complete = base + QStringList{"--nolimits-dir", "n", "--models-dir", "m"};
    expectUsageError(complete + QStringList{"--medium", "big"},
                     "--medium: bad choice 'big' (own, default, default:PCT with PCT 10 to "
                     "1000, none)");
    expectUsageError(complete + QStringList{"--xxlarge", "default:5"},
                     "--xxlarge: bad choice 'default:5' (own, default, default:PCT with PCT 10 "
                     "to 1000, none)");
}

TEST(CommandLine, UsageErrorsComeBeforeAnyFileIsTouched)
{
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("out.nltrack"));
    const CliRun run = runCli({"generate", "missing.nltrack", "-o", output, "--nolimits-dir",
                               dir.path(), "--models-dir", dir.path(), "--small", "huge"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_FALSE(QFileInfo::exists(output));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("objects"))));
}

TEST(CommandLine, HelpAndVersion)
{
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(usageLine + '\n'));
    for (const char* option : {"--nolimits-dir", "--models-dir", "--object-dir", "--xxlarge",
                               "--keep-fundaments", "--no-align", "--output", "--version"})
        EXPECT_TRUE(help.out.contains(QLatin1String(option))) << option;
    EXPECT_TRUE(help.err.isEmpty());

    const CliRun version = runCli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("plinthwright-cli " PLINTHWRIGHT_VERSION "\n"));
}

TEST(CommandLine, AnUnreadableTrackIsAFailureNamingTheFile)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("gone.nltrack"));
    for (const char* command : {"info", "dump"}) {
        const CliRun run = runCli({command, missing});
        EXPECT_EQ(run.exitCode, 1) << command;
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("plinthwright-cli: "))) << command;
        EXPECT_EQ(run.err.count(missing), 1) << run.err.toStdString();
        EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1);
    }
}

TEST(CommandLine, DumpPrintsTheTrackAsJson)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rich.nltrack"));
    writeTrack(path, makeRichTrack());
    const CliRun run = runCli({"dump", path});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("{\n  \"headerValue\": 16909060,\n")));
    EXPECT_TRUE(run.out.contains(QString::fromUtf8("\"text\": \"Caf\u00e9 train\"")));
    EXPECT_TRUE(run.out.endsWith(QStringLiteral("}\n")));
}

}  // namespace
}  // namespace pw
