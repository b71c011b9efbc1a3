// The fuzzers' seeds and every input that once made them fail, run through the same checks.

#include "DamagedInput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace pw::hardening {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> filesIn(const fs::path& directory) {
    std::vector<fs::path> files;
    if (fs::is_directory(directory)) {
        for (const auto& entry : fs::directory_iterator(directory)) {
            if (entry.is_regular_file()) {
                files.push_back(entry.path());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(FuzzRegressionTest, SeedCorpusReadsGeneratesAndSavesSafely) {
    const std::vector<fs::path> seeds = filesIn(PLINTHWRIGHT_SEED_CORPUS_DIR);
    ASSERT_GE(seeds.size(), 5u);
    SimulatorSandbox sandbox;
    for (const fs::path& seed : seeds) {
        EXPECT_EQ(checkDamagedBytes(readBytes(seed), sandbox), "") << seed;
    }
}

TEST(FuzzRegressionTest, FormerCrashInputsReadGenerateAndSaveSafely) {
    SimulatorSandbox sandbox;
    for (const fs::path& input : filesIn(PLINTHWRIGHT_CRASH_INPUT_DIR)) {
        EXPECT_EQ(checkDamagedBytes(readBytes(input), sandbox), "") << input;
        EXPECT_EQ(checkFileOpens(readBytes(input), sandbox.root() / "input.nltrack"), "") << input;
    }
}

}  // namespace
}  // namespace pw::hardening
