#include "footers/QtPaths.h"

#include "ScratchDirectory.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

TEST(QtPaths, TrackTextsAreLatin1WithQuestionMarksBeyondIt)
{
    EXPECT_EQ(toAsciiPath(QStringLiteral(u"mytrack")), "mytrack");
    EXPECT_EQ(toAsciiPath(QStringLiteral(u"Gr\u00FC\u00DFe/\u20AC\u96EA")), "Gr\xFC\xDF" "e/??");
    EXPECT_EQ(toAsciiPath(QString()), "");
}

TEST(QtPaths, FileSystemPathsKeepEveryCharacter)
{
    const QString name = QStringLiteral(u"Gr\u00FC\u00DFe \u96EA");
    testing::ScratchDirectory scratch;
    const std::filesystem::path path =
        scratch.path() / toFileSystemPath(name);
    testing::writeFile(path, "x");

    EXPECT_EQ(fromFileSystemPath(toFileSystemPath(name)), name);
    EXPECT_EQ(fromFileSystemPath(std::filesystem::directory_iterator(scratch.path())->path().filename()),
              name);
}

}  // namespace
}  // namespace pw
