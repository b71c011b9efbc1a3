#include "footers/FooterStep.h"
#include "tracklib/TrackFile.h"

#include "GenerationFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pw {
namespace {

using testing::filesIn;
using testing::onFreeNode;
using testing::onFundament;
using testing::readFile;
using testing::scratchModel;
using testing::writeFile;
namespace fs = std::filesystem;

// Small and medium on their own models, fundaments replaced, on a track with a footer of each.
class FooterStepTest : public testing::GenerationFixture {
protected:
    FooterStepTest()
    {
        build.tube(onFundament(build.fundament(0, 0, 0)), onFreeNode(build.freeNode(2, 8, 0)),
                   testing::smallCode);
        build.tube(onFundament(build.fundament(9, 0, 0)), onFreeNode(build.freeNode(7, 8, 0)),
                   testing::mediumCode);
        addSceneryObject(SceneryObject{"tree", "park/tree.3ds", {5}}, track);
        options.choices[0] = footerModelChoice(TubeSizeClass::Small, {FooterChoice::Model::Own});
        options.choices[1] =
            footerModelChoice(TubeSizeClass::Medium, {FooterChoice::Model::Default, 150});
        options.objectDirectory = ObjectDirectory{"mytrack"};
        options.modelSourceDirectory = scratch.models();
        options.nolimitsDirectory = scratch.simulator();
    }

    // Spelt as the installation spells it, with '/' on every system.
    fs::path installed(const char* file) const
    {
        return scratch.simulator().string() + "/objects/mytrack/" + file;
    }

    GenerationOptions options;
};

TEST_F(FooterStepTest, UndoGivesBackTheTrackAndTheDirectoryAndRedoTheGeneration)
{
    const std::vector<std::uint8_t> before = encodeTrack(track);
    const Track trackBefore = track;
    // Another track's model of the same name, and a file of the user's own.
    fs::create_directories(installed("").parent_path());
    writeFile(installed("fundament-small.3ds"), "another track's small model");
    writeFile(installed("notes.txt"), "mine");

    Result<FooterStep> step = generateFooterStep(track, options);
    ASSERT_TRUE(step.ok()) << step.error();
    const Track trackAfter = track;
    const std::vector<std::uint8_t> after = encodeTrack(track);
    EXPECT_EQ(step->report.objectsAddedTotal(), 2);
    EXPECT_EQ(step->track.removedFundaments(), (std::vector<std::size_t>{0, 1}));
    EXPECT_TRUE(step->installation.notKept().empty());

    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(undoFooterStep(*step, track).empty());
        EXPECT_EQ(encodeTrack(track), before);
        EXPECT_EQ(track, trackBefore);
        EXPECT_EQ(readFile(installed("fundament-small.3ds")), "another track's small model");
        EXPECT_EQ(filesIn(installed("")),
                  (std::vector<std::string>{"fundament-small.3ds", "notes.txt"}));

        EXPECT_TRUE(redoFooterStep(*step, track).empty());
        EXPECT_EQ(encodeTrack(track), after);
        EXPECT_EQ(track, trackAfter);
        EXPECT_EQ(readFile(installed("fundament-small.3ds")), scratchModel("small.3ds"));
        EXPECT_EQ(readFile(installed("fundament-default.3ds")), scratchModel("default.3ds"));
    }
    EXPECT_EQ(readFile(installed("notes.txt")), "mine");
}

TEST_F(FooterStepTest, UndoRemovesTheDirectoriesTheStepMadeAndRedoMakesThemAgain)
{
    Result<FooterStep> step = generateFooterStep(track, options);
    ASSERT_TRUE(step.ok());
    EXPECT_TRUE(undoFooterStep(*step, track).empty());
    EXPECT_TRUE(filesIn(scratch.simulator()).empty());
    EXPECT_TRUE(redoFooterStep(*step, track).empty());
    EXPECT_EQ(filesIn(installed("")),
              (std::vector<std::string>{"fundament-default.3ds", "fundament-small.3ds"}));
}

// What someone else changed since is theirs: undo and redo leave it, and say so.
TEST_F(FooterStepTest, FilesChangedSinceAreLeftAsTheyAre)
{
    Result<FooterStep> step = generateFooterStep(track, options);
    ASSERT_TRUE(step.ok());
    writeFile(installed("fundament-default.3ds"), "edited since");

    const std::vector<CoreError> undone = undoFooterStep(*step, track);

    ASSERT_EQ(undone.size(), 1u);
    EXPECT_EQ(undone[0].code, ErrorCode(FooterError::ModelChangedSince));
    EXPECT_EQ(errorText(undone[0]), "Left " + quotedPath(installed("fundament-default.3ds")) +
                                        " as it is: it has been changed since the footers were "
                                        "generated");
    EXPECT_EQ(filesIn(installed("")), (std::vector<std::string>{"fundament-default.3ds"}));
    EXPECT_TRUE(redoFooterStep(*step, track).empty());
    EXPECT_EQ(readFile(installed("fundament-default.3ds")), "edited since");
    EXPECT_EQ(readFile(installed("fundament-small.3ds")), scratchModel("small.3ds"));
}

// A step keeps at most stepFileBytesLimit of files; a larger one it replaced stays replaced.
TEST_F(FooterStepTest, EarlierFileTooLargeToKeepIsNamedAtOnceAndLeftByUndo)
{
    fs::create_directories(installed("").parent_path());
    writeFile(installed("fundament-small.3ds"), std::string(stepFileBytesLimit + 1, 'x'));

    Result<FooterStep> step = generateFooterStep(track, options);

    ASSERT_TRUE(step.ok());
    ASSERT_EQ(step->installation.notKept().size(), 1u);
    EXPECT_EQ(errorText(step->installation.notKept()[0]),
              "Undo and redo leave " + quotedPath(installed("fundament-small.3ds")) +
                  " as it is: its 16777217 bytes are more than the 16777216 bytes one step "
                  "keeps in memory");
    EXPECT_LT(step->heldBytes(), 64u * 1024);
    EXPECT_TRUE(undoFooterStep(*step, track).empty());
    EXPECT_EQ(filesIn(installed("")), (std::vector<std::string>{"fundament-small.3ds"}));
    EXPECT_EQ(readFile(installed("fundament-small.3ds")), scratchModel("small.3ds"));
}

TEST_F(FooterStepTest, RefusedStepChangesNothing)
{
    options.supports.set(7, SupportChoice::noFooter());
    const Track before = track;
    const Result<FooterStep> step = generateFooterStep(track, options);
    ASSERT_FALSE(step.ok());
    EXPECT_EQ(step.error().code, ErrorCode(FooterError::SupportNotInTrack));
    EXPECT_EQ(track, before);
    EXPECT_TRUE(filesIn(scratch.simulator()).empty());
}

}  // namespace
}  // namespace pw
