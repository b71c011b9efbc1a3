// The plan fuzzer's check on its seeds and on every input that once made it fail.

#include "fuzz/PlanStrips.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace pw {
namespace {

TEST(PlanFuzzRegression, SeedsAndFormerFailuresPaintOnlyTheirStrip)
{
    for (const char* directory : {PLINTHWRIGHT_SEED_CORPUS_DIR, PLINTHWRIGHT_PLAN_CRASH_DIR}) {
        int inputs = 0;
        for (const auto& entry : std::filesystem::directory_iterator(directory)) {
            std::ifstream file(entry.path(), std::ios::binary);
            const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(file), {});
            EXPECT_EQ(hardening::checkPlanStrips(bytes), "") << entry.path();
            ++inputs;
        }
        EXPECT_GE(inputs, 2) << directory;
    }
}

}  // namespace
}  // namespace pw
