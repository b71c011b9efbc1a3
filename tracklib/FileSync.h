#pragma once
// The few file operations that saving safely needs and that standard C++ does not offer
// portably: exclusive creation, files without a name until complete, flushing to the disk,
// replacing an existing file, binary standard input, links, and how long a name may be.

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

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

// Opens an existing file for binary reading; null with errno set when it cannot.
FileHandle openFileForReading(const std::filesystem::path& path);

// Creates `path` for binary writing; fails (errno EEXIST) when it already exists.
FileHandle openNewFile(const std::filesystem::path& path);

// Opens a file without a name in `directory` for binary writing, where the system has such
// files (Linux, O_TMPFILE): a process killed before it names the file leaves nothing behind.
// Null where the system or the file system has none; the caller then uses a named file.
FileHandle openUnnamedFile(const std::filesystem::path& directory);

// Gives a file from openUnnamedFile the name `path`, which must not exist yet.
std::error_code nameUnnamedFile(std::FILE* file, const std::filesystem::path& path);

// Whether an existing file may be written: opened for appending and closed at once, which
// changes nothing in it.
bool canWriteExistingFile(const std::filesystem::path& path);

// Makes what was written (and flushed from the stream) reach the disk.
bool flushToDisk(std::FILE* file);

// Renames `from` over `to`, replacing an existing `to` in one step.
std::error_code replaceFile(const std::filesystem::path& from, const std::filesystem::path& to);

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
