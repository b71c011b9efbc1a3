#include "cli/ClassChoice.h"

#include <QTemporaryDir>
#include <QFile>

#include <gtest/gtest.h>

namespace pw {
namespace {

using Model = ClassChoice::Model;

TEST(ClassChoice, ParsesEveryForm)
{
    EXPECT_EQ(parseClassChoice("own", TubeSizeClass::Small), (ClassChoice{Model::Own, 0}));
    EXPECT_EQ(parseClassChoice("none", TubeSizeClass::Small), (ClassChoice{Model::None, 0}));
    EXPECT_EQ(parseClassChoice("default", TubeSizeClass::Small),
              (ClassChoice{Model::Default, 80}));
    EXPECT_EQ(parseClassChoice("default", TubeSizeClass::XXLarge),
              (ClassChoice{Model::Default, 330}));
    EXPECT_EQ(parseClassChoice("default:10", TubeSizeClass::Medium),
              (ClassChoice{Model::Default, 10}));
    EXPECT_EQ(parseClassChoice("default:1000", TubeSizeClass::Medium),
              (ClassChoice{Model::Default, 1000}));
}

TEST(ClassChoice, RefusesAnythingElse)
{
    for (const char* text : {"", "Own", "default:", "default:9", "default:1001", "default:-50",
                             "default:+50", "default: 50", "default:50x",
                             "default:1e2", "default:99999999999", "small"}) {
        EXPECT_FALSE(parseClassChoice(QString::fromLatin1(text), TubeSizeClass::Large)) << text;
    }
}

TEST(ClassChoice, LeftOutClassFollowsTheModelDirectory)
{
    QTemporaryDir dir;
    QFile model(dir.filePath(QStringLiteral("large.3ds")));
    ASSERT_TRUE(model.open(QIODevice::WriteOnly));
    model.close();
    const std::filesystem::path path = dir.path().toStdString();
    EXPECT_EQ(choiceFromModelDirectory(path, TubeSizeClass::Large), (ClassChoice{Model::Own, 0}));
    EXPECT_EQ(choiceFromModelDirectory(path, TubeSizeClass::Small), (ClassChoice{Model::None, 0}));
    EXPECT_EQ(choiceFromModelDirectory(path / "missing", TubeSizeClass::Large),
              (ClassChoice{Model::None, 0}));
}

}  // namespace
}  // namespace pw
