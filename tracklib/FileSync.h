#pragma once
// The few file operations that saving safely needs and that standard C++ does not offer
// portably: exclusive creation, flushing to the disk, and replacing an existing file.

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

// Creates `path` for binary writing; fails (errno EEXIST) when it already exists.
FileHandle openNewFile(const std::filesystem::path& path);

// Whether an existing file may be written: opened for appending and closed at once, which
// changes nothing in it.
bool canWriteExistingFile(const std::filesystem::path& path);

// Makes what was written (and flushed from the stream) reach the disk.
bool flushToDisk(std::FILE* file);

// Renames `from` over `to`, replacing an existing `to` in one step.
std::error_code replaceFile(const std::filesystem::path& from, const std::filesystem::path& to);

// Makes a rename inside `directory` durable where the system needs that; best effort.
void syncDirectory(const std::filesystem::path& directory);

}  // namespace pw
