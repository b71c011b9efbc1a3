#pragma once
// Running the command line in-process or as the real program, on files in a temporary directory.

#include "cli/CommandLine.h"
#include "qtbridge/QtPaths.h"
#include "testsupport/TrackFixtures.h"
#include "tracklib/TrackFile.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace pw {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// The program name is put in front of `arguments`.
inline CliRun runCli(const QStringList& arguments)
{
    CliRun run;
    QTextStream out(&run.out), err(&run.err);
    run.exitCode = runCommandLine(QStringList{"plinthwright-cli"} + arguments, out, err);
    out.flush();
    err.flush();
    return run;
}

// The built executable, given `input` on its standard input if there is one; its output is read
// as UTF-8.
inline CliRun runProgram(const QStringList& arguments,
                         const std::optional<QByteArray>& input = std::nullopt)
{
    QProcess process;
    process.start(QStringLiteral(PLINTHWRIGHT_CLI_PATH), arguments);
    if (input) {
        EXPECT_TRUE(process.waitForStarted());
        process.write(*input);
        process.closeWriteChannel();
    }
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Exit code 1, nothing on stdout, and one line on stderr that names `subject`.
inline void expectFailure(const CliRun& run, const QString& subject)
{
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_TRUE(run.err.startsWith("plinthwright-cli: ")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(subject)) << run.err.toStdString();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
}

inline void writeTrack(const QString& path, const Track& track)
{
    const Result<void> result = writeTrackFile(toFileSystemPath(path), track);
    EXPECT_TRUE(result.ok()) << result.error();
}

inline Track readTrack(const QString& path)
{
    Track track;
    EXPECT_EQ(readTrackFile(toFileSystemPath(path), track).ok(), true) << path.toStdString();
    return track;
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class TempFiles {
public:
    QString path(const QString& name) const { return dir_.filePath(name); }
    // Writes `track` as the file `name` and gives its path.
    QString track(const QString& name, const Track& track = makeRichTrack()) const
    {
        writeTrack(path(name), track);
        return path(name);
    }

private:
    QTemporaryDir dir_;
};

}  // namespace pw

// Readable failure messages for QString values.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
