#include "InputFiles.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace pw {

void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> namesIn(const std::filesystem::path& directory)
{
    std::vector<std::string> names;
    if (std::filesystem::is_directory(directory)) {
        for (const auto& entry : std::filesystem::directory_iterator(directory)) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string checkEveryFile(const std::filesystem::path& directory, std::size_t atLeast,
                           const BytesCheck& check)
{
    const std::vector<std::string> names = namesIn(directory);
    std::string failures;
    if (names.size() < atLeast) {
        failures += directory.string() + " holds " + std::to_string(names.size()) +
                    " files, fewer than " + std::to_string(atLeast) + "\n";
    }
    for (const std::string& name : names) {
        if (const std::string failure = check(readBytes(directory / name)); !failure.empty())
            failures += name + ": " + failure + "\n";
    }
    return failures;
}

}  // namespace pw
