#include "footers/FootprintFiles.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

// A file left out of the list would stay a square: the window reads nothing itself.
TEST(FootprintFiles, ListsEveryModelThePlanCanAskForOnce)
{
    Track track;
    for (const char* path : {"park/fundament-small.3ds", "tree.3ds", "b/fundament-plinth.3ds",
                             "a/fundament-plinth.3ds", "park/fundament-small.3ds"})
        track.sceneryObjects.push_back({"", path, {}});
    const FootprintFiles files = footprintFilesOf(track);
    EXPECT_EQ(files.modelDirectory,
              (std::vector<std::string>{"small.3ds", "medium.3ds", "large.3ds", "xlarge.3ds",
                                        "xxlarge.3ds", "default.3ds", "plinth.3ds"}));
    EXPECT_EQ(files.installed,
              (std::vector<std::string>{"a/fundament-plinth.3ds", "b/fundament-plinth.3ds",
                                        "park/fundament-small.3ds"}));
}

}  // namespace
}  // namespace pw
