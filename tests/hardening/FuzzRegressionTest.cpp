// The fuzzers' seeds and every input that once made them fail, run through the same checks.

#include "DamagedInput.h"

#include <gtest/gtest.h>

#include <span>

namespace pw::hardening {
namespace {

TEST(FuzzRegressionTest, SeedsAndFormerCrashInputsReadGenerateSaveAndOpen)
{
    SimulatorSandbox sandbox;
    const auto readGenerateSaveAndOpen = [&sandbox](std::span<const std::uint8_t> bytes) {
        const Bytes copy(bytes.begin(), bytes.end());
        return checkDamagedBytes(copy, sandbox) +
               checkFileOpens(copy, sandbox.root() / "input.nltrack");
    };
    EXPECT_EQ(checkEveryFile(PLINTHWRIGHT_SEED_CORPUS_DIR, 6, readGenerateSaveAndOpen), "");
    EXPECT_EQ(checkEveryFile(PLINTHWRIGHT_CRASH_INPUT_DIR, 2, readGenerateSaveAndOpen), "");
}

}  // namespace
}  // namespace pw::hardening
