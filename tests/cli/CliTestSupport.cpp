#include "CliTestSupport.h"

#include "cli/CommandLine.h"
#include "footers/QtPaths.h"
#include "tracklib/TrackFile.h"

#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

namespace pw {

CliRun runCli(const QStringList& arguments)
{
    CliRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.exitCode = runCommandLine(QStringList{QStringLiteral("plinthwright-cli")} + arguments,
                                  out, err);
    out.flush();
    err.flush();
    return run;
}

void writeTrack(const QString& path, const Track& track)
{
    const WriteResult result = writeTrackFile(toFileSystemPath(path), track);
    EXPECT_TRUE(result.ok) << result.error;
}

Track readTrack(const QString& path)
{
    Track track;
    EXPECT_EQ(readTrackFile(toFileSystemPath(path), track), 1) << path.toStdString();
    return track;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

}  // namespace pw
