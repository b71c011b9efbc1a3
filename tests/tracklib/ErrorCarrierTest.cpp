// The one carrier of every room's failures, and the helpers that catch what libraries throw.

#include "tracklib/Catching.h"
#include "tracklib/FileError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <system_error>

namespace pw {
namespace {

// Two rooms' codes of the same number are different codes, and each error is worded by its room.
TEST(ErrorCarrier, ACodeIsItsRoomsAndWordedThere)
{
    static_assert(static_cast<int>(FileError::CannotOpen) ==
                  static_cast<int>(CaughtError::OutOfMemory));
    EXPECT_FALSE(ErrorCode(FileError::CannotOpen) == ErrorCode(CaughtError::OutOfMemory));
    EXPECT_TRUE(ErrorCode(FileError::CannotOpen) == FileError::CannotOpen);
    EXPECT_FALSE(ErrorCode(FileError::CannotOpen) == FileError::CannotSave);

    const CoreError outOfMemory(CaughtError::OutOfMemory);
    EXPECT_EQ(errorText(outOfMemory), "not enough memory");
    const CoreError missing(FileError::CannotOpen, "/t/a.nltrack",
                            std::make_error_code(std::errc::no_such_file_or_directory));
    EXPECT_EQ(errorText(missing), "Cannot open \"/t/a.nltrack\": " + missing.system.message());
    // The system's reason comes before a detail, a detail before the room's own words.
    const CoreError detailed(FileError::CannotSave, "/t/a.nltrack", {}, {}, 0, "writing failed");
    EXPECT_EQ(errorReason(detailed), "writing failed");
    EXPECT_EQ(errorReason(CoreError(FileError::OpenedADirectory)), "it is a directory");
}

TEST(ErrorCarrier, CatchingGivesTheWorksResultOrTheError)
{
    const Result<int> value = catchingAllocation([] { return 7; });
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, 7);
    // A Result the work gives is passed on as it is, not wrapped.
    const Result<int> refused =
        catchingAllocation([]() -> Result<int> { return CoreError(FileError::NoTrackData); });
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().code, FileError::NoTrackData);

    const Result<void> exhausted = catchingAllocation([] { throw std::bad_alloc(); });
    ASSERT_FALSE(exhausted);
    EXPECT_EQ(exhausted.error().code, CaughtError::OutOfMemory);
    const Result<int> ownWords = catchingAllocation(
        []() -> int { throw std::bad_alloc(); }, CoreError(FileError::NoMemoryToRead, "t"));
    ASSERT_FALSE(ownWords);
    EXPECT_EQ(errorText(ownWords.error()), "Cannot open \"t\": not enough memory to read it");

    const Result<void> failed = catchingSystemFailure([] {
        throw std::filesystem::filesystem_error(
            "remove", std::make_error_code(std::errc::permission_denied));
    });
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().code, CaughtError::SystemFailure);
    EXPECT_EQ(failed.error().system, std::errc::permission_denied);
}

}  // namespace
}  // namespace pw
