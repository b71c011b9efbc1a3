#include "footers/InstallTarget.h"
#include "footers/ModelInstallation.h"

#include "FooterTestSupport.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

using testing::ScratchDirectory;
namespace fs = std::filesystem;

class InstallTargetTest : public ::testing::Test {
protected:
    Result<ModelInstallation> installSmall(const fs::path& nolimits) const
    {
        FooterModelChoices choices{};
        choices[0] = footerModelChoice(TubeSizeClass::Small, {FooterChoice::Model::Own});
        Result<std::vector<ModelToInstall>> models = openModelsToInstall(choices, scratch.models());
        if (!models)
            return models.error();
        return installFooterModels(std::move(*models), nolimits, "demo");
    }

    ScratchDirectory scratch;
    const fs::path nolimits = scratch.simulator();
};

// Windows needs a privilege to make links. Links inside the tree are refused through generate
// (tests/cli).
#ifndef _WIN32

// Where the user keeps the simulator is the user's choice, a link included.
TEST_F(InstallTargetTest, NolimitsDirectoryItselfMayBeALink)
{
    const fs::path linked = scratch.path() / "linked";
    fs::create_directory_symlink(nolimits, linked);
    const Result<ModelInstallation> installed = installSmall(linked);
    ASSERT_TRUE(installed.ok()) << installed.error();
    EXPECT_TRUE(fs::is_regular_file(nolimits / "objects" / "demo" / "fundament-small.3ds"));

    // Where a directory really is decides: objects lies right inside the linked NoLimits
    // directory, objects/demo does not.
    EXPECT_TRUE(checkDirectoryInside(linked / "objects", linked, linked).ok());
    EXPECT_EQ(checkDirectoryInside(nolimits / "objects" / "demo", nolimits, nolimits).error().code,
              FooterError::DirectoryOutsideNolimits);
}

#endif  // _WIN32

}  // namespace
}  // namespace pw
