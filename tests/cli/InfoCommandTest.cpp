#include "CliTestSupport.h"
#include "cli/InfoCommand.h"
#include "tests/support/TrackFixtures.h"
#include "tracklib/TrackFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pw {
namespace {

TEST(InfoCommand, SummarisesEveryPartOfTheRichTrack)
{
    EXPECT_EQ(trackSummary(makeRichTrack(), ReadDiagnostics{}).toStdString(),
              "Info text: Rich test track\n"
              "Vertices: 6\n"
              "Segments: 5\n"
              "Fundaments: 4\n"
              "Rail connectors: 5 (in 5 groups)\n"
              "Free nodes: 3\n"
              "Tubes: 8 (small 1, medium 1, large 1, x-large 1, xx-large 1, no class 3; "
              "6 on a fundament)\n"
              "Catwalks: 3\n"
              "Scenery items: 2\n"
              "Scenery objects: 2\n"
              "Terrain: 4 columns x 3 rows\n");
}

TEST(InfoCommand, SaysWhatTheReaderPassedOverOnlyWhenItDid)
{
    const QString clean = trackSummary(makeNewTrack(), ReadDiagnostics{});
    EXPECT_TRUE(clean.endsWith(QStringLiteral("Terrain: none\n")));
    EXPECT_FALSE(clean.contains(QStringLiteral("Passed over")));

    ReadDiagnostics damaged;
    damaged.bytesSkipped = 12;
    damaged.chunksCutShort = 1;
    EXPECT_TRUE(trackSummary(makeNewTrack(), damaged)
                    .endsWith(QStringLiteral("Terrain: none\n"
                                             "Passed over: 12 bytes skipped; chunks cut short: 1\n")));
}

TEST(InfoCommand, ShowsTheInfoTextAsLatin1)
{
    Track track = makeNewTrack();
    track.infoText = "Gr\xFC\xDF" "e";
    EXPECT_TRUE(trackSummary(track, ReadDiagnostics{})
                    .startsWith(QString::fromUtf8("Info text: Gr\u00fc\u00dfe\n")));
}

TEST(InfoCommand, ReadsTheTrackFromItsFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rich.nltrack"));
    writeTrack(path, makeRichTrack());
    const CliRun run = runCli({QStringLiteral("info"), path});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("Info text: Rich test track\nVertices: 6\n")));
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

}  // namespace
}  // namespace pw
