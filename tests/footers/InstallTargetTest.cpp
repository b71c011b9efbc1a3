#include "footers/InstallTarget.h"
#include "footers/ModelInstallation.h"
#include "footers/ObjectDirectory.h"
#include "tracklib/FileSync.h"

#include "FooterTestSupport.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

using testing::ScratchDirectory;
namespace fs = std::filesystem;

class InstallTargetTest : public ::testing::Test {
protected:
    Result<ModelInstallation> installSmall(const fs::path& nolimits,
                                           const fs::path& name = "demo") const
    {
        FooterModelChoices choices{};
        choices[0] = makeFooterModelChoice(TubeSizeClass::Small, true, false, 100);
        Result<std::vector<ModelToInstall>> models = openModelsToInstall(choices, scratch.models());
        if (!models)
            return models.error();
        return installFooterModels(std::move(*models), nolimits, name);
    }

    ScratchDirectory scratch;
    const fs::path nolimits = scratch.simulator();
    const fs::path outside = scratch.path() / "outside";
};

// Windows needs a privilege to make links; the checks there look for junctions as well.
#ifndef _WIN32

TEST_F(InstallTargetTest, LinkInsideTheNolimitsTreeIsRefusedBeforeAnythingIsCopied)
{
    fs::create_directory(outside);
    const struct {
        fs::path link;
        fs::path to;
    } rows[] = {
        {nolimits / "objects", "../outside"},
        {nolimits / "objects" / "demo", "../../outside"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.link.string());
        fs::create_directories(row.link.parent_path());
        fs::create_directory_symlink(row.to, row.link);

        const Result<ModelInstallation> refused = installSmall(nolimits);
        ASSERT_FALSE(refused.ok());
        EXPECT_EQ(errorText(refused.error()),
                  "Cannot install the footer models into \"" + row.link.string() +
                      "\": it is a symbolic link, and the models stay inside the NoLimits "
                      "directory \"" + nolimits.string() + "\"");
        EXPECT_TRUE(fs::is_empty(outside));
        fs::remove(row.link);
    }
}

// Where the user keeps the simulator is the user's choice, a link included.
TEST_F(InstallTargetTest, NolimitsDirectoryItselfMayBeALink)
{
    const fs::path linked = scratch.path() / "linked";
    fs::create_directory_symlink(nolimits, linked);
    const Result<ModelInstallation> installed = installSmall(linked);
    ASSERT_TRUE(installed.ok()) << installed.error();
    EXPECT_TRUE(fs::is_regular_file(nolimits / "objects" / "demo" / "fundament-small.3ds"));

    // A link further down that still lands in the right place resolves there: only the link is
    // refused, not where it leads.
    EXPECT_TRUE(checkDirectoryInside(linked / "objects", linked, linked).ok());
    EXPECT_EQ(checkDirectoryInside(nolimits / "objects" / "demo", nolimits, nolimits).error().code,
              ErrorCode::DirectoryOutsideNolimits);
}

// A name of 200 accented letters is 200 Latin-1 bytes in the track, which Windows takes, but
// 400 bytes of UTF-8 here: more than the file system holds in one name.
TEST_F(InstallTargetTest, NameLongerThanTheFileSystemTakesIsRefusedBeforeAnythingIsMade)
{
    const ObjectDirectory name{std::string(200, '\xE9')};
    ASSERT_TRUE(checkObjectDirectoryName(name.name).ok());
    const Result<ModelInstallation> refused = installSmall(nolimits, objectDirectoryPath(name));
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().code, ErrorCode::ObjectDirectoryTooLong);
    std::string utf8;
    for (int i = 0; i < 200; ++i)
        utf8 += "\u00e9";
    EXPECT_EQ(errorText(refused.error()),
              "Cannot use the object directory name \"" + utf8 + "\": it is longer than the " +
                  std::to_string(longestNameIn(nolimits)) +
                  " bytes this file system takes in a name");
    EXPECT_FALSE(fs::exists(nolimits / "objects"));
}

#endif  // _WIN32

}  // namespace
}  // namespace pw
