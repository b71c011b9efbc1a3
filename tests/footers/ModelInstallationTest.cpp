#include "footers/ModelInstallation.h"

#include "FooterTestSupport.h"
#include "testsupport/InputFiles.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// One letter per class, smallest first: 'o' its own model, 'd' the default model, '-' none.
FooterModelChoices choicesOf(const char* classes)
{
    FooterModelChoices choices{};
    for (const TubeSizeClass c : allSizeClasses) {
        const char letter = classes[static_cast<std::size_t>(c)];
        choices[static_cast<std::size_t>(c)] =
            footerModelChoice(c, {letter == 'o'   ? FooterChoice::Model::Own
                                  : letter == 'd' ? FooterChoice::Model::Default
                                                  : FooterChoice::Model::None});
    }
    return choices;
}

// Fails naming what failed, with the system's reason after it.
void expectFailure(const Result<ModelInstallation>& result, const std::string& start)
{
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(errorText(result.error()).substr(0, start.size()), start);
    EXPECT_GT(errorText(result.error()).size(), start.size());
}

class InstallFooterModels : public ::testing::Test {
protected:
    Result<ModelInstallation> install(const char* classes,
                                      const fs::path& objectDirectoryName = "mytrack") const
    {
        Result<std::vector<ModelToInstall>> models =
            openModelsToInstall(choicesOf(classes), scratch.models());
        if (!models)
            return models.error();
        return installFooterModels(std::move(*models), scratch.simulator(), objectDirectoryName);
    }

    ScratchDirectory scratch;
    const fs::path objects = scratch.simulator() / "objects";
    const fs::path modelDirectory = objects / "mytrack";
    std::string composedModelDirectory() const
    {
        return scratch.simulator().string() + "/objects/mytrack";
    }
};

TEST_F(InstallFooterModels, CreatesBothDirectoriesAndCopiesEachChosenModelOnce)
{
    const struct {
        const char* classes;  // also the object directory's name
        std::vector<std::string> files;
    } rows[] = {
        {"od---", {"fundament-default.3ds", "fundament-small.3ds"}},
        {"ooooo",
         {"fundament-large.3ds", "fundament-medium.3ds", "fundament-small.3ds",
          "fundament-xlarge.3ds", "fundament-xxlarge.3ds"}},
        {"ddddd", {"fundament-default.3ds"}},  // one copy shared by every class
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.classes);
        const Result<ModelInstallation> result = install(row.classes, row.classes);
        ASSERT_TRUE(result.ok()) << result.error();
        EXPECT_EQ(result->copied.size(), row.files.size());
        EXPECT_TRUE(result->warnings.empty());
        EXPECT_EQ(namesIn(objects / row.classes), row.files);
        for (const std::string& file : row.files)
            EXPECT_EQ(readFile(objects / row.classes / file), scratchModel(file.substr(10)));
    }
    // The copies went through a directory of their own, which is gone.
    EXPECT_EQ(namesIn(objects), (std::vector<std::string>{"ddddd", "od---", "ooooo"}));
}

TEST_F(InstallFooterModels, OverwritesEarlierCopiesAndKeepsOtherFiles)
{
    fs::create_directories(modelDirectory);
    writeFile(modelDirectory / "fundament-large.3ds", "stale");
    writeFile(modelDirectory / "other.3ds", "other");

    // Each copy says whether it replaced other content: another track's model of that name.
    const struct {
        const char* classes;
        std::vector<bool> replacedDifferent;  // per copy, in class order
    } rounds[] = {{"o-o--", {false, true}}, {"o-o--", {false, false}}};
    for (const auto& round : rounds) {
        const Result<ModelInstallation> result = install(round.classes);
        ASSERT_TRUE(result.ok()) << result.error();
        EXPECT_EQ(result->directory.string(), composedModelDirectory());
        std::vector<bool> replaced;
        for (const CopiedModel& copy : result->copied)
            replaced.push_back(copy.replacedDifferent);
        EXPECT_EQ(replaced, round.replacedDifferent);
    }
    EXPECT_EQ(readFile(modelDirectory / "fundament-large.3ds"), scratchModel("large.3ds"));
    EXPECT_EQ(readFile(modelDirectory / "other.3ds"), "other");
    EXPECT_EQ(namesIn(objects), std::vector<std::string>{"mytrack"});
}

// What cannot be made is found out before anything is made, or undone when found out later.
TEST_F(InstallFooterModels, DirectoryThatCannotBeMadeLeavesNothing)
{
    const fs::path deep = fs::path("deep") / "name";
    expectFailure(install("o----", deep), "Cannot create directory \"" +
                                              scratch.simulator().string() + "/objects/" +
                                              deep.string() + "\": ");
    EXPECT_FALSE(fs::exists(objects));

    // Plain concatenation: a trailing separator doubles the slash, as the stored setting "/" would.
    const fs::path given = (scratch.path() / "missing").string() + "/";
    Result<std::vector<ModelToInstall>> models =
        openModelsToInstall(choicesOf("o----"), scratch.models());
    ASSERT_TRUE(models.ok());
    expectFailure(installFooterModels(std::move(*models), given, "mytrack"),
                  "Cannot create directory \"" + given.string() + "/objects\": ");
    EXPECT_FALSE(fs::exists(scratch.path() / "missing"));

    // Messages name the directory as composed, with forward slashes on every system.
    fs::create_directory(objects);
    writeFile(modelDirectory, "not a directory");
    expectFailure(install("o----"),
                  "Cannot create directory \"" + composedModelDirectory() + "\": ");
    EXPECT_EQ(readFile(modelDirectory), "not a directory");
    EXPECT_EQ(namesIn(objects), std::vector<std::string>{"mytrack"});
}

// A copy that fails after others were made leaves none of them, nor its working directory.
TEST_F(InstallFooterModels, LaterCopyThatFailsLeavesNoEarlierCopy)
{
    for (const bool directoryThere : {false, true}) {
        SCOPED_TRACE(directoryThere);
        if (directoryThere)
            fs::create_directories(modelDirectory);
        Result<std::vector<ModelToInstall>> models =
            openModelsToInstall(choicesOf("oo---"), scratch.models());
        ASSERT_TRUE(models.ok());
        // The second copy cannot be created: the first took its name.
        (*models)[1].modelFile = (*models)[0].modelFile;

        expectFailure(installFooterModels(std::move(*models), scratch.simulator(), "mytrack"),
                      "Cannot copy \"" + scratch.models().string() + "/medium.3ds\" to \"" +
                          composedModelDirectory() + "/fundament-small.3ds\": ");
        EXPECT_EQ(fs::exists(objects), directoryThere);
        EXPECT_EQ(namesIn(objects), directoryThere ? std::vector<std::string>{"mytrack"}
                                                   : std::vector<std::string>{});
        EXPECT_EQ(namesIn(modelDirectory), std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace pw
