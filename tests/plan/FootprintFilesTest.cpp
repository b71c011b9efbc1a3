#include "plan/FootprintFiles.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

using Files = std::vector<std::string>;

const Files generated{"small.3ds",  "medium.3ds",  "large.3ds",
                      "xlarge.3ds", "xxlarge.3ds", "default.3ds"};

Files plus(Files files, const Files& more)
{
    files.insert(files.end(), more.begin(), more.end());
    return files;
}

// Every file a plan of the track may ask for is read ahead, each once: one left out would be a
// square for good, since the window reads nothing itself.
TEST(FootprintFiles, ListsEveryModelThePlanCanAskFor)
{
    struct Case {
        const char* name;
        std::vector<std::string> storedPaths;
        Files modelDirectory;
        Files installed;
    };
    const std::vector<Case> cases{
        {"no objects", {}, generated, {}},
        {"footers of generated models, twice",
         {"park/fundament-small.3ds", "park/fundament-default.3ds", "park/fundament-small.3ds"},
         generated,
         {"park/fundament-default.3ds", "park/fundament-small.3ds"}},
        {"other models and other objects",
         {"tree.3ds", "b/fundament-plinth.3ds", "a/fundament-plinth.3ds", "x/fundament-"},
         plus(generated, {"", "plinth.3ds"}),
         {"a/fundament-plinth.3ds", "b/fundament-plinth.3ds", "x/fundament-"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Track track;
        for (const std::string& path : c.storedPaths)
            track.sceneryObjects.push_back({"", path, {}});
        const FootprintFiles files = footprintFilesOf(track);
        EXPECT_EQ(files.modelDirectory, c.modelDirectory);
        EXPECT_EQ(files.installed, c.installed);
    }
}

}  // namespace
}  // namespace pw
