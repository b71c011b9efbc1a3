#include "footers/ModelInstallation.h"

#include "FooterTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pw {
namespace {

using testing::readFile;
using testing::ScratchDirectory;
using testing::writeFile;
namespace fs = std::filesystem;

// One letter per class, smallest first: 'o' its own model, 'd' the default model, '-' none.
FooterModelChoices choicesOf(const char* classes)
{
    FooterModelChoices choices{};
    for (const TubeSizeClass c : allSizeClasses) {
        const char letter = classes[static_cast<std::size_t>(c)];
        choices[static_cast<std::size_t>(c)] =
            makeFooterModelChoice(c, letter == 'o', letter == 'd', 100);
    }
    return choices;
}

std::vector<std::string> filesIn(const fs::path& directory)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Fails naming what failed, with the system's reason after it.
void expectFailure(const Result<ModelInstallation>& result, const std::string& start)
{
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(errorText(result.error()).substr(0, start.size()), start);
    EXPECT_GT(errorText(result.error()).size(), start.size());
}

class InstallFooterModels : public ::testing::Test {
protected:
    Result<ModelInstallation> install(const char* classes,
                                      const fs::path& objectDirectoryName = "mytrack") const
    {
        return installFooterModels(choicesOf(classes), scratch.simulator(), objectDirectoryName,
                                   scratch.models());
    }

    ScratchDirectory scratch;
    const fs::path modelDirectory = scratch.simulator() / "objects" / "mytrack";
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
        {"-----", {}},                         // the directory all the same
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.classes);
        const Result<ModelInstallation> result = install(row.classes, row.classes);
        ASSERT_TRUE(result.ok()) << result.error();
        EXPECT_EQ(result->copied.size(), row.files.size());
        const fs::path directory = scratch.simulator() / "objects" / row.classes;
        EXPECT_EQ(filesIn(directory), row.files);
        for (const std::string& file : row.files)
            EXPECT_EQ(readFile(directory / file), "model " + file.substr(10));
    }
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
    EXPECT_EQ(readFile(modelDirectory / "fundament-large.3ds"), "model large.3ds");
    EXPECT_EQ(readFile(modelDirectory / "other.3ds"), "other");
}

TEST_F(InstallFooterModels, CreatesOneLevelOnly)
{
    const fs::path deep = fs::path("deep") / "name";
    expectFailure(install("-----", deep), "Cannot create directory \"" +
                                              scratch.simulator().string() + "/objects/" +
                                              deep.string() + "\": ");
    EXPECT_TRUE(fs::is_directory(scratch.simulator() / "objects"));
    EXPECT_FALSE(fs::exists(scratch.simulator() / "objects" / "deep"));
}

TEST_F(InstallFooterModels, MissingSimulatorDirectoryIsNamedAsGiven)
{
    // Plain concatenation: a trailing separator doubles the slash, as the stored setting "/" would.
    const fs::path given = (scratch.path() / "missing").string() + "/";
    expectFailure(installFooterModels(choicesOf("o----"), given, "mytrack", scratch.models()),
                  "Cannot create directory \"" + given.string() + "/objects\": ");
    EXPECT_FALSE(fs::exists(scratch.path() / "missing"));
}

TEST_F(InstallFooterModels, FileInPlaceOfTheModelDirectoryFails)
{
    fs::create_directory(scratch.simulator() / "objects");
    writeFile(modelDirectory, "not a directory");

    // Messages name the directory as composed, with forward slashes on every system.
    expectFailure(install("o----"),
                  "Cannot create directory \"" + composedModelDirectory() + "\": ");
    EXPECT_EQ(readFile(modelDirectory), "not a directory");
}

TEST_F(InstallFooterModels, StopsAtTheFirstModelThatCannotBeCopied)
{
    fs::remove(scratch.models() / "medium.3ds");

    expectFailure(install("ooo--"), "Cannot copy \"" + scratch.models().string() +
                                        "/medium.3ds\" to \"" + composedModelDirectory() +
                                        "/fundament-medium.3ds\": ");
    EXPECT_EQ(filesIn(modelDirectory), std::vector<std::string>{"fundament-small.3ds"});
}

// A sparse file stands for a huge model: refused by its size before any directory is made or any
// model copied, the small one before it included.
TEST_F(InstallFooterModels, ModelOverTheCopyCapIsRefusedBeforeAnythingIsWritten)
{
    fs::resize_file(scratch.models() / "medium.3ds", largestModelCopyBytes + 1);

    const Result<ModelInstallation> result = install("ooo--");
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().code, ErrorCode::ModelTooLargeToCopy);
    EXPECT_EQ(errorText(result.error()),
              "Cannot copy \"" + scratch.models().string() +
                  "/medium.3ds\": at 268435457 bytes it is larger than 256 MiB, too large for a "
                  "footer model; nothing was copied");
    EXPECT_FALSE(fs::exists(scratch.simulator() / "objects"));
    const Result<void> copy =
        copyModelFile(scratch.models() / "medium.3ds", scratch.path() / "copy");
    ASSERT_FALSE(copy.ok());
    EXPECT_EQ(copy.error().code, ErrorCode::ModelTooLargeToCopy);
    EXPECT_FALSE(fs::exists(scratch.path() / "copy"));
}

TEST(CopyModelFile, ReportsWhy)
{
    const ScratchDirectory scratch;
    writeFile(scratch.path() / "a", "content");
    EXPECT_TRUE(copyModelFile(scratch.path() / "a", scratch.path() / "b"));
    EXPECT_EQ(readFile(scratch.path() / "b"), "content");
    EXPECT_FALSE(copyModelFile(scratch.path() / "none", scratch.path() / "c"));
    const Result<void> failed = copyModelFile(scratch.path() / "a", scratch.path() / "no" / "c");
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().code, ErrorCode::CannotCopy);
    EXPECT_EQ(failed.error().otherPath, scratch.path() / "no" / "c");
    EXPECT_TRUE(failed.error().system);
}

}  // namespace
}  // namespace pw
