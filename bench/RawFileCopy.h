#pragma once
// The plain buffered copy that every track read and write is measured against: stdio, 64 KiB
// blocks, nothing decoded. It is the most any reader or writer of the same bytes could reach.

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace pw::bench {

std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path);
bool writeWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
bool copyWholeFile(const std::filesystem::path& from, const std::filesystem::path& to);
// The same copy, flushed through to the disk before it closes: what a durable save adds.
bool copyWholeFileSynced(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace pw::bench
