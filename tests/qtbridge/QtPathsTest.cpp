#include "qtbridge/QtPaths.h"

#include "tests/footers/FooterTestSupport.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

TEST(QtPaths, TrackTextsAreLatin1WithQuestionMarksBeyondIt)
{
    EXPECT_EQ(toAsciiPath(QStringLiteral(u"Gr\u00FC\u00DFe/\u20AC\u96EA")),
              "Gr\xFC\xDF"
              "e/??");
    EXPECT_EQ(toAsciiPath(QString()), "");
}

TEST(QtPaths, FileSystemPathsKeepEveryCharacter)
{
    const QString name = QStringLiteral(u"Gr\u00FC\u00DFe \u96EA");
    const testing::ScratchDirectory scratch;
    const std::filesystem::path directory = scratch.path() / "names";
    std::filesystem::create_directory(directory);
    testing::writeFile(directory / toFileSystemPath(name), "x");

    EXPECT_EQ(fromFileSystemPath(toFileSystemPath(name)), name);
    EXPECT_EQ(fromFileSystemPath(std::filesystem::directory_iterator(directory)->path().filename()),
              name);
}

}  // namespace
}  // namespace pw
