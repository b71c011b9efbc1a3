#include "TracklibTestSupport.h"

#include "tracklib/RegularFile.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace pw {
namespace {

using RegularFileTest = TrackFileTest;

TEST_F(RegularFileTest, ReadsAFileWithinItsCapAndRefusesOneBeyond)
{
    const Bytes bytes{1, 2, 3, 4, 5};
    const auto path = write("model.3ds", bytes);
    const Result<std::vector<std::uint8_t>> whole = readRegularFile(path, 5);
    ASSERT_TRUE(whole.ok());
    EXPECT_EQ(*whole, bytes);

    const Result<std::vector<std::uint8_t>> over = readRegularFile(path, 4);
    ASSERT_FALSE(over.ok());
    EXPECT_EQ(over.error().code, FileError::FileTooLarge);
    EXPECT_EQ(over.error().size, 5u);
}

TEST_F(RegularFileTest, RefusesWhatIsNoRegularFileWithoutWaiting)
{
    const Result<RegularFile> missing = openRegularFile(directory_ / "missing.3ds");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().code, FileError::CannotOpen);
    EXPECT_EQ(missing.error().system, std::errc::no_such_file_or_directory);

    const Result<RegularFile> directory = openRegularFile(directory_);
    ASSERT_FALSE(directory.ok());
    EXPECT_EQ(directory.error().code, FileError::OpenedADirectory);
#ifndef _WIN32
    // Opening a FIFO for reading waits for a writer unless it is opened without blocking.
    const auto pipe = directory_ / "pipe.3ds";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const Result<RegularFile> fifo = openRegularFile(pipe);
    ASSERT_FALSE(fifo.ok());
    EXPECT_EQ(fifo.error().code, FileError::CannotOpen);
    EXPECT_EQ(fifo.error().detail, "it is a named pipe, not a regular file");
#endif
}

}  // namespace
}  // namespace pw
