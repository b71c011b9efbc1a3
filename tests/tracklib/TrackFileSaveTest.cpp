#include "tests/support/TrackFixtures.h"
#include "tracklib/TrackFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace pw {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<fs::path> entries(const fs::path& directory)
{
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.push_back(entry.path().filename());
    }
    return names;
}

class TrackFileSaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        directory_ = fs::temp_directory_path() /
                     ("pw-save-" +
                      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(directory_);
        fs::create_directories(directory_);
        target_ = directory_ / "track.nltrack";
        previous_ = encodeTrack(makeNewTrack());
        std::ofstream(target_, std::ios::binary)
            .write(reinterpret_cast<const char*>(previous_.data()),
                   static_cast<std::streamsize>(previous_.size()));
    }
    void TearDown() override { fs::remove_all(directory_); }

    fs::path directory_;
    fs::path target_;
    Bytes previous_;
};

TEST_F(TrackFileSaveTest, ReplacesTheFileWithTheEncodedTrack)
{
    const Track rich = makeRichTrack();
    const WriteResult result = writeTrackFile(target_, rich);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(readAll(target_), encodeTrack(rich));
    EXPECT_EQ(entries(directory_), std::vector<fs::path>{"track.nltrack"});

    ASSERT_TRUE(writeTrackFile(target_, rich).ok);
    EXPECT_EQ(readAll(target_), encodeTrack(rich));  // saving twice gives the same file
}

TEST_F(TrackFileSaveTest, AMissingDirectoryIsReportedByName)
{
    const fs::path elsewhere = directory_ / "no-such-dir" / "out.nltrack";
    const WriteResult result = writeTrackFile(elsewhere, makeRichTrack());
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find(elsewhere.string()), std::string::npos) << result.error;
    EXPECT_EQ(readAll(target_), previous_);
    EXPECT_EQ(entries(directory_), std::vector<fs::path>{"track.nltrack"});
}

TEST_F(TrackFileSaveTest, ATargetThatIsADirectoryFailsAndLeavesNoTemporaryFile)
{
    fs::create_directory(directory_ / "taken.nltrack");
    const WriteResult result = writeTrackFile(directory_ / "taken.nltrack", makeRichTrack());
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("taken.nltrack"), std::string::npos) << result.error;
    EXPECT_EQ(entries(directory_).size(), 2u);
    EXPECT_TRUE(fs::is_directory(directory_ / "taken.nltrack"));
}

#ifndef _WIN32
TEST_F(TrackFileSaveTest, AWriteCutShortKeepsTheOldFile)
{
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // The child may write only 100 bytes to any file; the write fails instead of killing it.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        const WriteResult result = writeTrackFile(target_, makeRichTrack());
        _exit(!result.ok && !result.error.empty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write was not reported";
    EXPECT_EQ(readAll(target_), previous_);
    EXPECT_EQ(entries(directory_), std::vector<fs::path>{"track.nltrack"});
}

TEST_F(TrackFileSaveTest, AReplacedFileKeepsItsPermissions)
{
    fs::permissions(target_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(writeTrackFile(target_, makeRichTrack()).ok);
    EXPECT_EQ(fs::status(target_).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}
#endif

}  // namespace
}  // namespace pw
