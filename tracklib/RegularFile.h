#pragma once
// Opening a file once and checking what was opened, not the name: a name checked first and
// opened afterwards may have become a FIFO in between, whose open waits for a writer forever.

#include "FileSync.h"
#include "Result.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace pw {

struct RegularFile {
    FileHandle stream;       // binary reading, at the start
    std::uintmax_t size = 0;  // when opened
};

// Opens `path` for reading without waiting on a FIFO or a device, then refuses anything the
// opened handle shows not to be a regular file (CannotOpen, saying so in its detail; a directory
// gives OpenedADirectory).
Result<RegularFile> openRegularFile(const std::filesystem::path& path);

// The whole of a regular file opened as above. One over `mostBytes` when opened, or grown past it
// while read, gives FileTooLarge with the size seen.
Result<std::vector<std::uint8_t>> readRegularFile(const std::filesystem::path& path,
                                                  std::uintmax_t mostBytes);

}  // namespace pw
