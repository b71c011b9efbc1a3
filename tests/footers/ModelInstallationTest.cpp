#include "footers/ModelInstallation.h"

#include "ScratchDirectory.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

using testing::readFile;
using testing::ScratchDirectory;
using testing::writeFile;
namespace fs = std::filesystem;

class ModelInstallation : public ::testing::Test {
protected:
    void SetUp() override
    {
        models = scratch.path() / "models";
        simulator = scratch.path() / "Sim";
        fs::create_directory(models);
        fs::create_directory(simulator);
        for (const char* file :
             {"small.3ds", "medium.3ds", "large.3ds", "xlarge.3ds", "xxlarge.3ds", "default.3ds"})
            writeFile(models / file, std::string("model ") + file);
    }

    InstallResult install(const fs::path& objectDirectoryName = "mytrack") const
    {
        return installFooterModels(choices, simulator, objectDirectoryName, models);
    }

    std::vector<std::string> filesIn(const fs::path& directory) const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(directory))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    ScratchDirectory scratch;
    fs::path models;
    fs::path simulator;
    FooterModelChoices choices{};
};

TEST_F(ModelInstallation, CreatesBothDirectoriesAndCopiesTheEnabledModels)
{
    choices[0] = makeFooterModelChoice(TubeSizeClass::Small, true, false, 80);
    choices[1] = makeFooterModelChoice(TubeSizeClass::Medium, false, true, 110);

    const InstallResult result = install();

    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.filesCopied, 2);
    const fs::path modelDirectory = simulator / "objects" / "mytrack";
    EXPECT_EQ(filesIn(modelDirectory),
              (std::vector<std::string>{"fundament-default.3ds", "fundament-small.3ds"}));
    EXPECT_EQ(readFile(modelDirectory / "fundament-small.3ds"), "model small.3ds");
    EXPECT_EQ(readFile(modelDirectory / "fundament-default.3ds"), "model default.3ds");
}

TEST_F(ModelInstallation, ClassesOnTheDefaultModelShareOneCopy)
{
    for (const TubeSizeClass c : allSizeClasses)
        choices[static_cast<std::size_t>(c)] =
            makeFooterModelChoice(c, false, true, defaultScalePercent(c));

    const InstallResult result = install();

    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.filesCopied, 1);
    EXPECT_EQ(filesIn(simulator / "objects" / "mytrack"),
              std::vector<std::string>{"fundament-default.3ds"});
}

TEST_F(ModelInstallation, NothingEnabledStillMakesTheDirectories)
{
    const InstallResult result = install();

    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.filesCopied, 0);
    EXPECT_TRUE(filesIn(simulator / "objects" / "mytrack").empty());
}

TEST_F(ModelInstallation, OverwritesEarlierCopiesAndKeepsOtherFiles)
{
    const fs::path modelDirectory = simulator / "objects" / "mytrack";
    fs::create_directories(modelDirectory);
    writeFile(modelDirectory / "fundament-large.3ds", "stale");
    writeFile(modelDirectory / "other.3ds", "other");
    choices[2] = makeFooterModelChoice(TubeSizeClass::Large, true, false, 200);

    ASSERT_TRUE(install().ok);
    EXPECT_EQ(readFile(modelDirectory / "fundament-large.3ds"), "model large.3ds");
    EXPECT_EQ(readFile(modelDirectory / "other.3ds"), "other");
}

TEST_F(ModelInstallation, CreatesOneLevelOnly)
{
    const InstallResult result = install(fs::path("deep") / "name");

    EXPECT_FALSE(result.ok);
    const std::string expected = "Cannot create directory \""
                                 + (simulator.string() + "/objects/" + (fs::path("deep") / "name").string())
                                 + "\": ";
    EXPECT_EQ(result.error.substr(0, expected.size()), expected);
    EXPECT_GT(result.error.size(), expected.size());
    EXPECT_TRUE(fs::is_directory(simulator / "objects"));
    EXPECT_FALSE(fs::exists(simulator / "objects" / "deep"));
}

TEST_F(ModelInstallation, MissingSimulatorDirectoryIsNamedAsGiven)
{
    // Plain concatenation: a trailing separator doubles the slash, as the stored setting "/" would.
    const fs::path given = (scratch.path() / "missing").string() + "/";
    const InstallResult result = installFooterModels(choices, given, "mytrack", models);

    EXPECT_FALSE(result.ok);
    const std::string expected = "Cannot create directory \"" + given.string() + "/objects\": ";
    EXPECT_EQ(result.error.substr(0, expected.size()), expected);
    EXPECT_FALSE(fs::exists(scratch.path() / "missing"));
}

TEST_F(ModelInstallation, FileInPlaceOfTheModelDirectoryFails)
{
    fs::create_directory(simulator / "objects");
    writeFile(simulator / "objects" / "mytrack", "not a directory");
    choices[0] = makeFooterModelChoice(TubeSizeClass::Small, true, false, 80);

    const InstallResult result = install();

    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.filesCopied, 0);
    EXPECT_EQ(result.error.rfind("Cannot create directory \"", 0), 0u) << result.error;
    EXPECT_EQ(readFile(simulator / "objects" / "mytrack"), "not a directory");
}

TEST_F(ModelInstallation, StopsAtTheFirstModelThatCannotBeCopied)
{
    choices[0] = makeFooterModelChoice(TubeSizeClass::Small, true, false, 80);
    choices[1] = makeFooterModelChoice(TubeSizeClass::Medium, true, false, 110);
    choices[2] = makeFooterModelChoice(TubeSizeClass::Large, true, false, 200);
    fs::remove(models / "medium.3ds");

    const InstallResult result = install();

    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.filesCopied, 1);
    const fs::path modelDirectory = simulator / "objects" / "mytrack";
    const std::string source = models.string() + "/medium.3ds";
    const std::string destination = modelDirectory.string() + "/fundament-medium.3ds";
    const std::string expected = "Cannot copy \"" + source + "\" to \"" + destination + "\": ";
    EXPECT_EQ(result.error.substr(0, expected.size()), expected);
    EXPECT_EQ(filesIn(modelDirectory), std::vector<std::string>{"fundament-small.3ds"});
}

TEST(CopyModelFile, ReportsWhyWithoutRequiringAnErrorText)
{
    ScratchDirectory scratch;
    writeFile(scratch.path() / "a", "content");
    EXPECT_TRUE(copyModelFile(scratch.path() / "a", scratch.path() / "b", nullptr));
    EXPECT_EQ(readFile(scratch.path() / "b"), "content");
    EXPECT_FALSE(copyModelFile(scratch.path() / "none", scratch.path() / "c", nullptr));
    std::string error;
    EXPECT_FALSE(copyModelFile(scratch.path() / "a", scratch.path() / "no" / "c", &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace pw
