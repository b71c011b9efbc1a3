// The real program: exit codes and which stream its text goes to.

#include "CliTestSupport.h"
#include "tests/support/TrackFixtures.h"

#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pw {
namespace {

struct ProcessRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ProcessRun runProgram(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(PLINTHWRIGHT_CLI_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

TEST(Executable, UsageErrorGoesToStderrWithExitCodeTwo)
{
    const ProcessRun run = runProgram({"generate", "a.nltrack", "--bogus"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.startsWith("plinthwright-cli: Unknown option 'bogus'.\nUsage: "));
}

TEST(Executable, VersionAndHelpGoToStdout)
{
    ProcessRun run = runProgram({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "plinthwright-cli " PLINTHWRIGHT_VERSION "\n");
    EXPECT_TRUE(run.err.isEmpty());
    run = runProgram({"-h"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith("Usage: plinthwright-cli "));
}

TEST(Executable, DumpWritesUtf8JsonToStdout)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rich.nltrack"));
    writeTrack(path, makeRichTrack());
    const ProcessRun run = runProgram({"dump", path});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.isEmpty());
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_EQ(document["environmentTextB"].toString(), QString::fromUtf8("Nacht \u00c4"));
    EXPECT_TRUE(run.out.contains("\"environmentTextB\": \"Nacht \xC3\x84\""));
}

TEST(Executable, MissingTrackExitsWithOne)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("gone.nltrack"));
    const ProcessRun run = runProgram({"info", missing});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.startsWith("plinthwright-cli: "));
    EXPECT_TRUE(run.err.contains(missing.toUtf8()));
}

}  // namespace
}  // namespace pw
