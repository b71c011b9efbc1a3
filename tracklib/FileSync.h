#pragma once
// The few file operations that saving safely needs and that standard C++ does not offer
// portably: exclusive creation, files without a name until complete, flushing to the disk,
// replacing an existing file, binary standard input, links, and how long a name may be.

#include "Result.h"

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace pw {

struct FileCloser {
    void operator()(std::FILE* file) const
    {
        if (file != nullptr) {
            std::fclose(file);
        }
    }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// A failure below is CannotOpen or CannotSave on the path named, with the system's reason (none
// where it gave none).

// Opens an existing file for binary reading.
Result<FileHandle> openFileForReading(const std::filesystem::path& path);

// Creates `path` for binary writing; fails (std::errc::file_exists) when it already exists.
Result<FileHandle> openNewFile(const std::filesystem::path& path);

// Opens a file without a name in `directory` for binary writing, where the system has such
// files (Linux, O_TMPFILE): a process killed before it names the file leaves nothing behind.
// Null where the system or the file system has none; the caller then uses a named file.
FileHandle openUnnamedFile(const std::filesystem::path& directory);

// Gives a file from openUnnamedFile the name `path`, which must not exist yet.
Result<void> nameUnnamedFile(std::FILE* file, const std::filesystem::path& path);

// Fails where an existing file may not be written: it is opened for appending and closed at
// once, which changes nothing in it.
Result<void> checkExistingFileWritable(const std::filesystem::path& path);

// Makes what was written (and flushed from the stream) reach the disk. The error names no path.
Result<void> flushToDisk(std::FILE* file);

// Renames `from` over `to`, replacing an existing `to` in one step; the error names `to`.
Result<void> replaceFile(const std::filesystem::path& from, const std::filesystem::path& to);

// Switches standard input to binary reading where text mode would translate line ends.
void setStandardInputBinary();

// Makes a rename inside `directory` durable where the system needs that; best effort.
void syncDirectory(const std::filesystem::path& directory);

// Whether `path` is a symbolic link, or on Windows a junction, which leads elsewhere as a link
// does and which the standard library does not report.
bool isLink(const std::filesystem::path& path);

// The longest name an entry of `directory` may have, in units of a path's native form (bytes;
// UTF-16 units on Windows). 255, what common file systems take, where the system cannot say.
std::size_t longestNameIn(const std::filesystem::path& directory);

}  // namespace pw
