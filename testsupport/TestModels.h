#pragma once
// Real 3ds footer models for tests that install them: generate refuses any other bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pw {

// A small plinth, told apart from the others by `name` (its mesh's name, at most 10 characters).
std::vector<std::uint8_t> testModel(const std::string& name);
std::string testModelText(const std::string& name);

// A plinth padded to exactly `size` bytes (at least 512) by a chunk our reading skips, whose
// bytes are `fill`: for models of a given size, and for telling two large models apart.
std::vector<std::uint8_t> paddedTestModel(std::size_t size, std::uint8_t fill);

}  // namespace pw
