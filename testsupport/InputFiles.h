#pragma once
// Whole files as bytes, for tests that write inputs, look at what a run left behind, or run a
// check over every input kept in a directory (seeds, former crashes).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace pw {

// Both throw std::runtime_error when the file cannot be written or read.
void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> readBytes(const std::filesystem::path& path);

// The names of everything in `directory`, sorted; none when it does not exist.
std::vector<std::string> namesIn(const std::filesystem::path& directory);

// A check returns "" for bytes that keep its promises, otherwise what went wrong.
using BytesCheck = std::function<std::string(std::span<const std::uint8_t>)>;

// Runs `check` on every file in `directory`. Returns "" when it holds `atLeast` files or more
// and each passes; otherwise a line for too few files and one "NAME: what went wrong" for each
// file that fails, in the order of the names.
std::string checkEveryFile(const std::filesystem::path& directory, std::size_t atLeast,
                           const BytesCheck& check);

}  // namespace pw
