// The model fuzzer's check on its seeds, on crafted models that once went wrong or could, and on
// every input that made it fail.

#include "fuzz/ModelChecks.h"
#include "testsupport/HostileModels.h"
#include "testsupport/InputFiles.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

TEST(ModelFuzzRegression, SeedsAndFormerFailuresKeepTheFootprintsPromises)
{
    for (const char* directory : {PLINTHWRIGHT_MODEL_SEED_DIR, PLINTHWRIGHT_MODEL_REGRESSION_DIR})
        EXPECT_EQ(checkEveryFile(directory, 1, hardening::checkModelFootprint), "");
}

// Assimp made 512 copies of the first one's mesh, past the positions the bounds allow.
TEST(ModelFuzzRegression, ModelsThatExplodedReadersKeepThePromisesToo)
{
    EXPECT_EQ(hardening::checkModelFootprint(instancedModel(512, 20000)), "");
    EXPECT_EQ(hardening::checkModelFootprint(instancedModel(4, 32766)), "");
    EXPECT_EQ(hardening::checkModelFootprint(tiltedGridModel(true)), "");
}

}  // namespace
}  // namespace pw
