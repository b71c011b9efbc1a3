#include "footers/ModelInstallation.h"
#include "footers/ModelsToInstall.h"
#include "models/ThreeDsScreening.h"
#include "tracklib/FileError.h"

#include "FooterTestSupport.h"
#include "testsupport/HostileModels.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace pw {
namespace {

using namespace testing;
namespace fs = std::filesystem;

FooterModelChoices smallAndMedium()
{
    FooterModelChoices choices{};
    choices[0] = footerModelChoice(TubeSizeClass::Small, {FooterChoice::Model::Own});
    choices[1] = footerModelChoice(TubeSizeClass::Medium, {FooterChoice::Model::Own});
    return choices;
}

std::string bytesText(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

class ModelsToInstall : public ::testing::Test {
protected:
    Result<std::vector<ModelToInstall>> open(const FooterModelChoices& choices) const
    {
        return openModelsToInstall(choices, scratch.models());
    }
    // As errors name it: joined with a forward slash on every system.
    std::string modelPath(const char* file) const { return scratch.models().string() + "/" + file; }

    ScratchDirectory scratch;
};

// Every refusal names the file and why, and opens nothing it would wait on. A missing model and
// a text file named like one are refused through generate (tests/cli).
TEST_F(ModelsToInstall, RefusesWhatIsNoModelToInstall)
{
    fs::remove(scratch.models() / "xlarge.3ds");
    fs::create_directory(scratch.models() / "xlarge.3ds");
    // Large enough that only its first bytes are read, and those are no 3ds main chunk.
    writeFile(scratch.models() / "default.3ds", "MM and then text");
    fs::resize_file(scratch.models() / "default.3ds", largestModelFileBytes + 1);
    fs::resize_file(scratch.models() / "xxlarge.3ds", largestModelCopyBytes + 1);

    const auto only = [](TubeSizeClass sizeClass, bool own) {
        FooterModelChoices choices{};
        choices[static_cast<std::size_t>(sizeClass)] = footerModelChoice(
            sizeClass, {own ? FooterChoice::Model::Own : FooterChoice::Model::Default});
        return choices;
    };
    const struct {
        FooterModelChoices choices;
        ErrorCode code;
        std::string text;
    } rows[] = {
        {only(TubeSizeClass::Small, false), FooterError::ModelNotThreeDs,
         "Cannot use the footer model \"" + modelPath("default.3ds") + "\": it is not a 3ds model"},
        {only(TubeSizeClass::XLarge, true), FileError::OpenedADirectory,
         "Cannot open \"" + modelPath("xlarge.3ds") + "\": it is a directory"},
        {only(TubeSizeClass::XXLarge, true), FooterError::ModelTooLargeToCopy,
         "Cannot copy \"" + modelPath("xxlarge.3ds") +
             "\": at 268435457 bytes it is larger than 256 MiB, too large for a footer model; "
             "nothing was copied"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const Result<std::vector<ModelToInstall>> refused = open(row.choices);
        ASSERT_FALSE(refused.ok());
        EXPECT_EQ(refused.error().code, row.code);
        EXPECT_EQ(errorText(refused.error()), row.text);
    }
#ifndef _WIN32
    // Opening a FIFO to read it would wait for a writer forever.
    fs::remove(scratch.models() / "small.3ds");
    ASSERT_EQ(::mkfifo((scratch.models() / "small.3ds").c_str(), 0600), 0);
    EXPECT_EQ(errorText(open(only(TubeSizeClass::Small, true)).error()),
              "Cannot open \"" + modelPath("small.3ds") +
                  "\": it is a named pipe, not a regular file");
#endif
}

// The simulator may well read a real model that our own reading does not take: it is installed,
// and said to be beyond our reading.
TEST_F(ModelsToInstall, RealModelBeyondOurReadingIsTakenWithAWarning)
{
    testing::writeFile(scratch.models() / "small.3ds",
                       bytesText(encodeThreeDs({circleMesh(65535), circleMesh(65535),
                                                circleMesh(65535)},
                                               {})));
    const std::vector<std::uint8_t> large = paddedTestModel(largestModelFileBytes + 100, 0x5A);
    testing::writeFile(scratch.models() / "medium.3ds", bytesText(large));

    Result<std::vector<ModelToInstall>> models = open(smallAndMedium());
    ASSERT_TRUE(models.ok()) << models.error();
    ASSERT_EQ(models->size(), 2u);
    ASSERT_TRUE((*models)[0].warning && (*models)[1].warning);
    EXPECT_EQ(errorText(*(*models)[0].warning),
              "the footer model \"" + modelPath("small.3ds") +
                  "\" goes beyond what Plinthwright reads (more than 131072 vertices): it is "
                  "installed all the same, and the plans draw its footers as 1 m squares");
    EXPECT_EQ((*models)[1].warning->detail, "larger than 16 MiB");

    const Result<ModelInstallation> installed =
        installFooterModels(std::move(*models), scratch.simulator(), "mytrack");
    ASSERT_TRUE(installed.ok()) << installed.error();
    EXPECT_EQ(installed->warnings.size(), 2u);
    // The larger model is copied whole: the part read for its check, then the rest.
    const fs::path copies = scratch.simulator() / "objects" / "mytrack";
    EXPECT_EQ(readFile(copies / "fundament-medium.3ds"), bytesText(large));
    EXPECT_EQ(readFile(copies / "fundament-small.3ds"), readFile(scratch.models() / "small.3ds"));
}

// Between the check and the copy the name may come to mean something else; what is installed
// is what was checked.
TEST_F(ModelsToInstall, CopyIsOfWhatWasCheckedWhateverTheNameBecame)
{
    const fs::path small = scratch.models() / "small.3ds";
    const fs::path medium = scratch.models() / "medium.3ds";
    const std::string checkedMedium = readFile(medium);
    Result<std::vector<ModelToInstall>> models = open(smallAndMedium());
    ASSERT_TRUE(models.ok()) << models.error();

    writeFile(scratch.path() / "other", "not a model at all");
    fs::rename(scratch.path() / "other", medium);
#ifndef _WIN32
    // A FIFO nobody writes to: opening the name now would block for good.
    fs::remove(small);
    ASSERT_EQ(::mkfifo(small.c_str(), 0600), 0);
#endif

    const Result<ModelInstallation> installed =
        installFooterModels(std::move(*models), scratch.simulator(), "mytrack");
    ASSERT_TRUE(installed.ok()) << installed.error();
    const fs::path copies = scratch.simulator() / "objects" / "mytrack";
    EXPECT_EQ(readFile(copies / "fundament-small.3ds"), scratchModel("small.3ds"));
    EXPECT_EQ(readFile(copies / "fundament-medium.3ds"), checkedMedium);
}

}  // namespace
}  // namespace pw
