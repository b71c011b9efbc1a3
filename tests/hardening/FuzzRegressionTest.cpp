// The fuzzers' seeds and every input that once made them fail, run through the same checks.

#include "DamagedInput.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pw::hardening {
namespace {

TEST(FuzzRegressionTest, SeedsAndFormerCrashInputsReadGenerateSaveAndOpen)
{
    const struct {
        std::filesystem::path directory;
        std::size_t atLeast;
    } inputs[] = {{PLINTHWRIGHT_SEED_CORPUS_DIR, 6}, {PLINTHWRIGHT_CRASH_INPUT_DIR, 2}};
    SimulatorSandbox sandbox;
    for (const auto& [directory, atLeast] : inputs) {
        const std::vector<std::string> names = namesIn(directory);
        EXPECT_GE(names.size(), atLeast) << directory;
        for (const std::string& name : names) {
            const Bytes bytes = readBytes(directory / name);
            EXPECT_EQ(checkDamagedBytes(bytes, sandbox), "") << name;
            EXPECT_EQ(checkFileOpens(bytes, sandbox.root() / "input.nltrack"), "") << name;
        }
    }
}

}  // namespace
}  // namespace pw::hardening
