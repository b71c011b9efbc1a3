#include "qtbridge/ObjectDirectoryText.h"

#include "footers/FooterGeneration.h"
#include "qtbridge/QtPaths.h"

#include "tests/footers/FooterTestSupport.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

namespace fs = std::filesystem;

class ObjectDirectoryText : public ::testing::Test {
protected:
    ObjectDirectoryText()
    {
        options.choices[static_cast<std::size_t>(TubeSizeClass::Medium)] =
            footerModelChoice(TubeSizeClass::Medium, {FooterChoice::Model::Own});
        options.modelSourceDirectory = scratch.models();
        options.nolimitsDirectory = scratch.simulator();
        build.tube(testing::onFundament(build.fundament(0, 0, 0)),
                   testing::onFreeNode(build.freeNode(0, 5, 0)), testing::mediumCode);
    }

    testing::ScratchDirectory scratch;
    testing::SupportTrackBuilder build;
    Track& track = build.track();
    GenerationOptions options;
};

TEST_F(ObjectDirectoryText, NameMustFitTheTracksLatin1Text)
{
    const Result<ObjectDirectory> refused =
        objectDirectoryFromText(QString::fromUtf8("\u0422\u0440\u0435\u043a"));
    ASSERT_FALSE(refused);
    EXPECT_EQ(errorText(refused.error()),
              "Cannot store the object directory name \"\u0422\u0440\u0435\u043a\" in the track: a "
              "track holds Latin-1 characters only (letters of Western European languages, digits "
              "and punctuation)");

    // Latin-1 beyond ASCII fits: stored as one byte, the directory under its real name. Given
    // decomposed (e and a combining accent), the name is composed first.
    for (const char* cafe : {"Caf\u00e9", "Cafe\u0301"}) {
        SCOPED_TRACE(cafe);
        const Result<ObjectDirectory> named = objectDirectoryFromText(QString::fromUtf8(cafe));
        ASSERT_TRUE(named);
        options.objectDirectory = *named;
        Track generated = track;
        ASSERT_TRUE(generateFooters(generated, options).ok());
        EXPECT_EQ(generated.sceneryObjects.back().textB, "Caf\xe9/fundament-medium.3ds");
        EXPECT_EQ(objectDirectoryPath(options.objectDirectory),
                  toFileSystemPath(QString::fromUtf8("Caf\u00e9")));
    }
    EXPECT_TRUE(fs::is_regular_file(scratch.simulator() / "objects" /
                                    toFileSystemPath(QString::fromUtf8("Caf\u00e9")) /
                                    "fundament-medium.3ds"));
}

// A name must not lead the copies out of objects: "../../x" would put them beside the simulator.
// Nor may it be one that Linux makes without complaint but the simulator on Windows cannot open.
TEST_F(ObjectDirectoryText, NameOtherThanOneDirectoryInsideObjectsIsRefused)
{
    const auto expectRefused = [](std::initializer_list<const char*> names, const char* reason) {
        for (const char* name : names) {
            SCOPED_TRACE(name);
            const Result<ObjectDirectory> refused =
                objectDirectoryFromText(QString::fromUtf8(name));
            ASSERT_FALSE(refused);
            EXPECT_EQ(
                errorText(refused.error()),
                std::string("Cannot use the object directory name \"") + name + "\": " + reason);
        }
    };
    expectRefused({"../../x", "..", ".", "a/b", "a\\b", "/abs", "x/"},
                  "it must name one directory inside the simulator's objects directory (no / or "
                  "\\, and not . or ..)");
    const std::string longest(255, 'n');
    const std::string tooLong(256, 'n');
    expectRefused({"a:b", "why?", "tab\there", "pipe|", "demo.", "demo ", "CON", "nul.txt", "Com1",
                   "lpt9 .x", "COM\u00b9", tooLong.c_str()},
                  "Windows cannot hold it, so the simulator would not find the models there (no "
                  "< > : \" | ? * or control characters, no dot or space at the end, at most 255 "
                  "characters, and not a device name such as CON, NUL, COM1 or LPT1)");
    for (const char* name :
         {"my.track", "..x", "a b", "CONSOLE", "com10", " lead", longest.c_str()}) {
        const Result<ObjectDirectory> named = objectDirectoryFromText(QString::fromUtf8(name));
        ASSERT_TRUE(named) << name;
        EXPECT_EQ(named->name, name);
    }
}

}  // namespace
}  // namespace pw
