// The plan fuzzer's check on its seeds and on every input that once made it fail.

#include "fuzz/PlanStrips.h"
#include "testsupport/InputFiles.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

TEST(PlanFuzzRegression, SeedsAndFormerFailuresPaintOnlyTheirStrip)
{
    for (const char* directory : {PLINTHWRIGHT_SEED_CORPUS_DIR, PLINTHWRIGHT_PLAN_CRASH_DIR})
        EXPECT_EQ(checkEveryFile(directory, 2, hardening::checkPlanStrips), "");
}

}  // namespace
}  // namespace pw
