// Saves that fail part of the way leave the previous file as it was and say so.

#include "ChildProcess.h"
#include "DamagedInput.h"
#include "testsupport/TrackFixtures.h"
#include "tracklib/TrackFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace pw::hardening {
namespace {

namespace fs = std::filesystem;

// What a save reports; from a child process, its exit code.
enum SaveOutcome {
    ReportedFailure = 0,
    ReportedSuccess = 1,
    ReportedFailureWithoutName = 2,
    CouldNotSetUp = 3,
};

class SaveFailureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directory(directory_);
        writeBytes(target_, previous_);
    }

    void expectPreviousFileIntact() const
    {
        EXPECT_EQ(readBytes(target_), previous_);
        EXPECT_EQ(namesIn(directory_), std::vector<std::string>{"mytrack.nltrack"});
    }

    // A save made by an unprivileged child was refused and changed nothing; skipped where the
    // child could not stop being root, who ignores `rootIgnores`.
    void expectUnprivilegedSaveRefused(int outcome, const char* rootIgnores) const
    {
        if (outcome == CouldNotSetUp) {
            GTEST_SKIP() << "cannot drop root privileges, and root ignores " << rootIgnores;
        }
        EXPECT_EQ(outcome, ReportedFailure);
        expectPreviousFileIntact();
    }

    SimulatorSandbox sandbox_;
    const fs::path directory_ = sandbox_.root() / "tracks";
    const fs::path target_ = directory_ / "mytrack.nltrack";
    const Bytes previous_ = encodeTrack(makeNewTrack());
};

SaveOutcome outcomeOf(const Result<void>& result)
{
    if (result.ok()) {
        return ReportedSuccess;
    }
    return errorText(result.error()).find("mytrack") != std::string::npos
               ? ReportedFailure
               : ReportedFailureWithoutName;
}

TEST_F(SaveFailureTest, SuccessfulSaveReplacesTheFileAndLeavesNothingBesideIt)
{
    const Track rich = makeRichTrack();
    const Result<void> result = writeTrackFile(target_, rich);
    ASSERT_TRUE(result.ok()) << result.error();
    EXPECT_EQ(readBytes(target_), encodeTrack(rich));
    EXPECT_EQ(namesIn(directory_), std::vector<std::string>{"mytrack.nltrack"});
}

TEST_F(SaveFailureTest, MissingDirectoryReportsFailureAndCreatesNothing)
{
    const fs::path missing = sandbox_.root() / "missing" / "mytrack.nltrack";
    EXPECT_EQ(outcomeOf(writeTrackFile(missing, makeRichTrack())), ReportedFailure);
    EXPECT_FALSE(fs::exists(missing.parent_path()));
}

TEST_F(SaveFailureTest, TargetThatIsADirectoryLeavesItAndNoTemporaryFile)
{
    const fs::path folder = directory_ / "folder.nltrack";
    fs::create_directory(folder);
    writeBytes(folder / "inside", previous_);

    const Result<void> result = writeTrackFile(folder, makeRichTrack());
    EXPECT_FALSE(result.ok());
    EXPECT_NE(errorText(result.error()).find("folder.nltrack"), std::string::npos)
        << result.error();
    EXPECT_EQ(namesIn(directory_), (std::vector<std::string>{"folder.nltrack", "mytrack.nltrack"}));
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"inside"});
}

#ifndef _WIN32

// A full 300 x 300 terrain makes the file about 360 KB.
Track largeTrack()
{
    Track track = makeRichTrack();
    track.terrain.terrainColumns = terrainGridSize;
    track.terrain.terrainRows = terrainGridSize;
    for (std::size_t i = 0; i < track.terrain.terrainGrid.size(); ++i) {
        track.terrain.terrainGrid[i] = static_cast<float>(i);
    }
    return track;
}

TEST_F(SaveFailureTest, FileSizeLimitReachedMidwayKeepsThePreviousFile)
{
    const Track large = largeTrack();
    constexpr rlim_t sizeLimit = 64 * 1024;
    ASSERT_GT(encodeTrack(large).size(), 4 * sizeLimit);
    ASSERT_LT(previous_.size(), sizeLimit);

    const int outcome = exitCodeOfChild([&] {
        // Past the limit, write() then fails with EFBIG instead of the process being killed.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{sizeLimit, sizeLimit};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return int{CouldNotSetUp};
        }
        return int{outcomeOf(writeTrackFile(target_, large))};
    });
    EXPECT_EQ(outcome, ReportedFailure);
    expectPreviousFileIntact();
}

TEST_F(SaveFailureTest, ReadOnlyDirectoryKeepsThePreviousFile)
{
    fs::permissions(directory_,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const int outcome = exitCodeOfUnprivilegedChild(
        [&] { return int{outcomeOf(writeTrackFile(target_, makeRichTrack()))}; }, CouldNotSetUp);
    fs::permissions(directory_, fs::perms::owner_all, fs::perm_options::add);
    expectUnprivilegedSaveRefused(outcome, "directory permissions");
}

TEST_F(SaveFailureTest, ReadOnlyFileKeepsThePreviousFile)
{
    // Anyone may create files beside it; only the track itself is protected.
    fs::permissions(directory_, fs::perms::all, fs::perm_options::add);
    fs::permissions(target_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::replace);
    const int outcome = exitCodeOfUnprivilegedChild(
        [&] {
            const Result<void> result = writeTrackFile(target_, makeRichTrack());
            const bool saysWhy = errorText(result.error()) ==
                                 "Cannot save \"" + target_.string() + "\": Permission denied";
            return saysWhy ? int{outcomeOf(result)} : int{ReportedFailureWithoutName};
        },
        CouldNotSetUp);
    fs::permissions(target_, fs::perms::owner_write, fs::perm_options::add);
    expectUnprivilegedSaveRefused(outcome, "file permissions");
}

TEST_F(SaveFailureTest, NamedPipeIsRefusedUnopenedAndLeftInPlace)
{
    const fs::path pipe = directory_ / "pipe.nltrack";
    const fs::path link = directory_ / "link.nltrack";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    fs::create_symlink("pipe.nltrack", link);
    // Opening the pipe for writing would block without a reader; the refusal must not open it.
    for (const fs::path& target : {pipe, link}) {
        SCOPED_TRACE(target.filename().string());
        const Result<void> result = writeTrackFile(target, makeRichTrack());
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(errorText(result.error()), "Cannot save \"" + target.string() +
                                                 "\": it is a named pipe, not a regular file");
    }
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(namesIn(directory_),
              (std::vector<std::string>{"link.nltrack", "mytrack.nltrack", "pipe.nltrack"}));
}

#endif  // _WIN32

}  // namespace
}  // namespace pw::hardening
