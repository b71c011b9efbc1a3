// The walk over kept inputs that the fuzz regression tests lean on: a directory that went
// missing or lost its files, or a failing input, must show, never pass in silence.

#include "testsupport/InputFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <stdexcept>

namespace pw {
namespace {

namespace fs = std::filesystem;

class CheckEveryFile : public ::testing::Test {
protected:
    CheckEveryFile()
        : directory_(fs::temp_directory_path() /
                     ("plinthwright-inputs-" + std::to_string(std::random_device{}())))
    {
        fs::create_directory(directory_);
    }
    ~CheckEveryFile() override
    {
        std::error_code ignored;
        fs::remove_all(directory_, ignored);
    }

    const fs::path directory_;
};

// Passes the bytes "good" alone, and records what it was given.
std::string goodOnly(std::span<const std::uint8_t> bytes, std::vector<std::string>& seen)
{
    seen.emplace_back(bytes.begin(), bytes.end());
    return seen.back() == "good" ? "" : "not good";
}

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

TEST_F(CheckEveryFile, NamesEachFailingFileAndTooFewFiles)
{
    writeBytes(directory_ / "c", bytesOf("bad"));
    writeBytes(directory_ / "a", bytesOf("good"));
    writeBytes(directory_ / "b", bytesOf(""));
    std::vector<std::string> seen;
    const auto check = [&seen](std::span<const std::uint8_t> bytes) {
        return goodOnly(bytes, seen);
    };

    EXPECT_EQ(checkEveryFile(directory_, 3, check), "b: not good\nc: not good\n");
    EXPECT_EQ(seen, (std::vector<std::string>{"good", "", "bad"}));  // by name, whole
    EXPECT_EQ(checkEveryFile(directory_, 4, check),
              directory_.string() + " holds 3 files, fewer than 4\nb: not good\nc: not good\n");

    fs::remove(directory_ / "b");
    fs::remove(directory_ / "c");
    EXPECT_EQ(checkEveryFile(directory_, 1, check), "");
    EXPECT_EQ(checkEveryFile(directory_ / "gone", 1, check),
              (directory_ / "gone").string() + " holds 0 files, fewer than 1\n");
}

TEST_F(CheckEveryFile, AFileThatCannotBeReadOrWrittenThrows)
{
    EXPECT_THROW(readBytes(directory_ / "missing"), std::runtime_error);
    EXPECT_THROW(writeBytes(directory_ / "no" / "such", bytesOf("x")), std::runtime_error);
    EXPECT_EQ(namesIn(directory_ / "missing"), std::vector<std::string>{});
}

}  // namespace
}  // namespace pw
