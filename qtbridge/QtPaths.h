#pragma once
// The two ways a text of the user interface reaches the core: as a file-system path in the
// operating system's own encoding, and as the 8-bit Latin-1 text a track stores.

#include <QString>

#include <filesystem>
#include <string>

namespace pw {

// Latin-1; a character outside it becomes '?'. For texts stored inside a track.
std::string toAsciiPath(const QString& text);

// For names handed to the file system: any name the OS accepts survives.
std::filesystem::path toFileSystemPath(const QString& text);
QString fromFileSystemPath(const std::filesystem::path& path);

}  // namespace pw
