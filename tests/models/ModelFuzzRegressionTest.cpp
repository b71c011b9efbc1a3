// The model fuzzer's check on its seeds, on crafted models that once went wrong or could, and on
// every input that made it fail.

#include "fuzz/ModelChecks.h"

#include "testsupport/HostileModels.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace pw {
namespace {

TEST(ModelFuzzRegression, SeedsAndFormerFailuresKeepTheFootprintsPromises)
{
    for (const char* directory : {PLINTHWRIGHT_MODEL_SEED_DIR, PLINTHWRIGHT_MODEL_REGRESSION_DIR}) {
        int inputs = 0;
        for (const auto& entry : std::filesystem::directory_iterator(directory)) {
            std::ifstream file(entry.path(), std::ios::binary);
            const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(file), {});
            EXPECT_EQ(hardening::checkModelFootprint(bytes), "") << entry.path();
            ++inputs;
        }
        EXPECT_GE(inputs, 1) << directory;
    }
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
