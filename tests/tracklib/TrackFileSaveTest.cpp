#include "TracklibTestSupport.h"
#include "tracklib/AtomicFile.h"
#include "tracklib/FileSync.h"
#include "tracklib/PathText.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <thread>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace pw {
namespace {

namespace fs = std::filesystem;

TEST_F(TrackFileTest, ReadsWhatTheWriterWroteAndEveryCutOfIt)
{
    const Track rich = makeRichTrack();
    ASSERT_TRUE(writeTrackFile(directory_ / "rich.nltrack", rich).ok());
    Track read;
    EXPECT_EQ(readTrackFile(directory_ / "rich.nltrack", read).ok(), true);
    EXPECT_EQ(read, rich);

    const Bytes file = encodeTrack(rich);
    for (std::size_t cut = 0; cut <= file.size(); cut += 13) {
        Track track;
        ASSERT_EQ(readTrackFile(write("cut.nltrack", slice(file, 0, cut)), track).ok(), true)
            << cut;
        if (cut == 0) {
            EXPECT_EQ(track, Track{});  // an empty file changes nothing
        }
    }
}

TEST_F(TrackFileTest, AFileThatCannotBeOpenedLeavesTheTrackAlone)
{
    Track track = makeNewTrack();
    ReadDiagnostics diagnostics;
    const Result<void> read1 = readTrackFile(directory_ / "missing.nltrack", track, &diagnostics);
    ASSERT_FALSE(read1.ok());
    EXPECT_EQ(track, makeNewTrack());
    EXPECT_NE(errorText(read1.error()).find("missing.nltrack"), std::string::npos);
    const Result<void> read2 = readTrackFile(directory_, track, &diagnostics);
    ASSERT_FALSE(read2.ok());
    EXPECT_NE(errorText(read2.error()).find("directory"), std::string::npos);

    // Refused before anything is read into memory (the file is sparse where the system can).
    const fs::path huge = write("huge.nltrack", encodeTrack(makeRichTrack()));
    fs::resize_file(huge, largestTrackFileSize + 1);
    const Result<void> read3 = readTrackFile(huge, track, &diagnostics);
    ASSERT_FALSE(read3.ok());
    EXPECT_EQ(track, makeNewTrack());
    EXPECT_EQ(errorText(read3.error()),
              "Cannot open \"" + huge.string() +
                  "\": at 268435457 bytes it is too large for a track file");
    EXPECT_EQ(errorReason(read3.error()), "at 268435457 bytes it is too large for a track file");
}

#ifndef _WIN32
// A pipe has no size to read ahead of its data: it is read to its end, up to the same limit.
TEST_F(TrackFileTest, ReadsAPipeToItsEndUpToTheSizeLimit)
{
    const fs::path pipe = directory_ / "pipe.nltrack";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const Bytes rich = encodeTrack(makeRichTrack());
    const auto feed = [&](std::size_t size) {
        return std::thread([&pipe, &rich, size] {
            std::ofstream out(pipe, std::ios::binary);
            for (std::size_t sent = 0; sent < size && out; sent += rich.size())
                out.write(reinterpret_cast<const char*>(rich.data()),
                          static_cast<std::streamsize>(std::min(rich.size(), size - sent)));
        });
    };
    std::thread writer = feed(rich.size());
    Track track;
    ReadDiagnostics diagnostics;
    EXPECT_EQ(readTrackFile(pipe, track, &diagnostics).ok(), true);
    writer.join();
    EXPECT_EQ(track, makeRichTrack());
    EXPECT_EQ(diagnostics.bytesSkipped, 0u);

    // The reader stops at the limit; the writer's end then sees the pipe closed.
    std::signal(SIGPIPE, SIG_IGN);
    writer = feed(static_cast<std::size_t>(largestTrackFileSize) + 1);
    Track tooMuch;
    const Result<void> read4 = readTrackFile(pipe, tooMuch, &diagnostics);
    ASSERT_FALSE(read4.ok());
    writer.join();
    EXPECT_EQ(tooMuch, Track{});
    EXPECT_EQ(errorText(read4.error()), "Cannot open \"" + pipe.string() +
                                            "\": it holds more than 268435456 bytes, too large for "
                                            "a track file");
}
#endif

#ifdef __linux__
// A file whose reading fails part of the way (a bad sector, a share gone away) is an error, not
// a shorter track and not an abort: /proc/self/mem fails its first read with EIO.
TEST_F(TrackFileTest, ReadErrorIsAnErrorAndLeavesTheTrack)
{
    Track track = makeNewTrack();
    ReadDiagnostics diagnostics;
    const Result<void> read5 = readTrackFile("/proc/self/mem", track, &diagnostics);
    ASSERT_FALSE(read5.ok());
    EXPECT_EQ(track, makeNewTrack());
    EXPECT_EQ(errorText(read5.error()), "Cannot open \"/proc/self/mem\": Input/output error");
}
#endif

// A new track's file is in place before each save.
class TrackFileSaveTest : public TrackFileTest {
protected:
    void SetUp() override
    {
        TrackFileTest::SetUp();
        target_ = write("track.nltrack", previous_);
    }

    const Bytes previous_ = encodeTrack(makeNewTrack());
    fs::path target_;
    const std::vector<fs::path> onlyTarget{"track.nltrack"};
};

TEST_F(TrackFileSaveTest, ReplacesTheFileWithTheEncodedTrack)
{
    const Track rich = makeRichTrack();
    const Result<void> result = writeTrackFile(target_, rich);
    ASSERT_TRUE(result.ok()) << result.error();
    EXPECT_EQ(readAll(target_), encodeTrack(rich));
    EXPECT_EQ(entries(), onlyTarget);

    ASSERT_TRUE(writeTrackFile(target_, rich).ok());
    EXPECT_EQ(readAll(target_), encodeTrack(rich));  // saving twice gives the same file
}

TEST_F(TrackFileSaveTest, AMissingDirectoryIsReportedByName)
{
    const fs::path elsewhere = directory_ / "no-such-dir" / "out.nltrack";
    const Result<void> result = writeTrackFile(elsewhere, makeRichTrack());
    EXPECT_FALSE(result.ok());
    EXPECT_NE(errorText(result.error()).find(elsewhere.string()), std::string::npos)
        << result.error();
    EXPECT_EQ(errorText(result.error()),
              "Cannot save \"" + elsewhere.string() + "\": " + errorReason(result.error()));
    EXPECT_FALSE(errorReason(result.error()).empty());
    EXPECT_EQ(errorReason(result.error()).find("out.nltrack"), std::string::npos) << result.error();
    EXPECT_EQ(readAll(target_), previous_);
    EXPECT_EQ(entries(), onlyTarget);
}

TEST_F(TrackFileSaveTest, ATargetThatIsADirectoryFailsAndLeavesNoTemporaryFile)
{
    fs::create_directory(directory_ / "taken.nltrack");
    const Result<void> result = writeTrackFile(directory_ / "taken.nltrack", makeRichTrack());
    EXPECT_FALSE(result.ok());
    EXPECT_NE(errorText(result.error()).find("taken.nltrack"), std::string::npos) << result.error();
    EXPECT_EQ(entries().size(), 2u);
    EXPECT_TRUE(fs::is_directory(directory_ / "taken.nltrack"));
}

// Windows allows a name to hold half of a surrogate pair; its messages must not throw on it.
TEST(PathText, UnpairedSurrogatesBecomeReplacementCharacters)
{
    EXPECT_EQ(utf8FromUtf16(u"a\xD800"
                            u"b\xDC00"),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
    EXPECT_EQ(utf8FromUtf16(u"\xD83D\xDE00 \u00dc\u20ac"), "\xF0\x9F\x98\x80 \xC3\x9C\xE2\x82\xAC");
#ifdef _WIN32
    EXPECT_EQ(pathText(fs::path(L"C:\\x\xD800.nltrack")), "C:\\x\xEF\xBF\xBD.nltrack");
#endif
}

// Windows names files in UTF-16: a name outside the ANSI code page (the "ł") must survive
// creating, replacing and reading, and messages give it in UTF-8.
TEST_F(TrackFileSaveTest, ANonAsciiNameIsCreatedReplacedAndReadBack)
{
    const fs::path folder = directory_ / fs::path(u8"\u00dcbung");
    fs::create_directory(folder);
    const fs::path target = folder / fs::path(u8"Achterbahn-\u00dc-\u0142.nltrack");
    const Track rich = makeRichTrack();
    const Result<void> created = writeTrackFile(target, makeNewTrack());
    ASSERT_TRUE(created.ok()) << created.error();
    const Result<void> replaced = writeTrackFile(target, rich);
    ASSERT_TRUE(replaced.ok()) << replaced.error();

    Track read;
    EXPECT_EQ(readTrackFile(target, read).ok(), true);
    EXPECT_EQ(read, rich);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    EXPECT_TRUE(fs::exists(target));

    const fs::path missing = folder / fs::path(u8"Stra\u00dfe") / "x.nltrack";
    const Result<void> failed = writeTrackFile(missing, rich);
    EXPECT_FALSE(failed.ok());
    EXPECT_NE(errorText(failed.error())
                  .find("\xC3\x9C"
                        "bung"),
              std::string::npos)
        << failed.error();
    EXPECT_NE(errorText(failed.error())
                  .find("Stra\xC3\x9F"
                        "e"),
              std::string::npos)
        << failed.error();
}

TEST_F(TrackFileSaveTest, ANewFileIsNeverOneThatExists)
{
    const Result<FileHandle> opened = openNewFile(target_);
    ASSERT_FALSE(opened);
    EXPECT_EQ(opened.error().system, std::errc::file_exists);
    EXPECT_EQ(readAll(target_), previous_);
}

TEST_F(TrackFileSaveTest, AReadOnlyFileIsRefusedAndKept)
{
    const auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(target_, writable, fs::perm_options::remove);
    if (checkExistingFileWritable(target_)) {
        fs::permissions(target_, fs::perms::owner_write, fs::perm_options::add);
        GTEST_SKIP() << "this user may write read-only files (root); SaveFailureTest drops root";
    }
    const Result<void> result = writeTrackFile(target_, makeRichTrack());
    fs::permissions(target_, fs::perms::owner_write, fs::perm_options::add);

    EXPECT_FALSE(result.ok());
    EXPECT_EQ(errorText(result.error()),
              "Cannot save \"" + pathText(target_) + "\": Permission denied");
    EXPECT_EQ(readAll(target_), previous_);
    EXPECT_EQ(entries(), onlyTarget);
}

TEST_F(TrackFileSaveTest, AWriteCutShortKeepsTheOldFile)
{
#ifdef _WIN32
    GTEST_SKIP() << "needs fork and a limit on file sizes";
#else
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // The child may write only 100 bytes to any file; the write fails instead of killing it.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        const Result<void> result = writeTrackFile(target_, makeRichTrack());
        _exit(!result.ok() && !errorText(result.error()).empty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write was not reported";
    EXPECT_EQ(readAll(target_), previous_);
    EXPECT_EQ(entries(), onlyTarget);
#endif
}

TEST_F(TrackFileSaveTest, SavingThroughASymbolicLinkReplacesTheFileItNames)
{
#ifdef _WIN32
    std::error_code ec;
    fs::create_symlink("track.nltrack", directory_ / "probe.nltrack", ec);
    if (ec) {
        GTEST_SKIP() << "making symbolic links needs a privilege here: " << ec.message();
    }
    fs::remove(directory_ / "probe.nltrack");
#endif
    fs::create_symlink("track.nltrack", directory_ / "link.nltrack");
    // A link whose file does not exist yet: saving creates that file.
    fs::create_symlink("made.nltrack", directory_ / "ahead.nltrack");
    const Track rich = makeRichTrack();
    ASSERT_TRUE(writeTrackFile(directory_ / "link.nltrack", rich).ok());
    ASSERT_TRUE(writeTrackFile(directory_ / "ahead.nltrack", rich).ok());

    EXPECT_TRUE(fs::is_symlink(directory_ / "link.nltrack"));
    EXPECT_TRUE(fs::is_symlink(directory_ / "ahead.nltrack"));
    EXPECT_EQ(readAll(target_), encodeTrack(rich));
    EXPECT_EQ(readAll(directory_ / "made.nltrack"), encodeTrack(rich));
    std::vector<fs::path> names = entries();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<fs::path>{"ahead.nltrack", "link.nltrack", "made.nltrack",
                                            "track.nltrack"}));
}

#ifdef __linux__
TEST_F(TrackFileSaveTest, NothingNamedExistsWhileTheNewContentIsWritten)
{
    // What a process killed at this moment would leave: on Linux the new file has no name yet.
    std::vector<fs::path> whileWriting;
    const Result<void> outcome =
        replaceFileAtomically(target_, LinkAtDestination::Follow, [&](std::FILE* file) {
            whileWriting = entries();
            return std::fputs("new", file) >= 0;
        });
    ASSERT_TRUE(outcome.ok()) << outcome.error();
    EXPECT_EQ(whileWriting, onlyTarget);
    EXPECT_EQ(readAll(target_), (Bytes{'n', 'e', 'w'}));
    EXPECT_EQ(entries(), onlyTarget);
}
#endif

TEST_F(TrackFileSaveTest, AReplacedFileKeepsItsPermissions)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps no permission bits, only the read-only attribute";
#endif
    const auto permissions = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target_, permissions);
    ASSERT_TRUE(writeTrackFile(target_, makeRichTrack()).ok());
    EXPECT_EQ(fs::status(target_).permissions(), permissions);
}

}  // namespace
}  // namespace pw
