#include "RawFileCopy.h"

#include "OsSeam.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

namespace pw::bench {

namespace {

constexpr std::size_t blockSize = 64 * 1024;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openFile(const std::filesystem::path& path, const char* mode)
{
    return File(std::fopen(path.string().c_str(), mode));
}

bool copyBlocks(std::FILE* in, std::FILE* out)
{
    std::array<std::uint8_t, blockSize> block;
    std::size_t got = 0;
    while ((got = std::fread(block.data(), 1, block.size(), in)) > 0)
        if (std::fwrite(block.data(), 1, got, out) != got)
            return false;
    return true;
}

}  // namespace

std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path)
{
    std::vector<std::uint8_t> bytes;
    const File file = openFile(path, "rb");
    if (!file)
        return bytes;
    std::array<std::uint8_t, blockSize> block;
    std::size_t got = 0;
    while ((got = std::fread(block.data(), 1, block.size(), file.get())) > 0)
        bytes.insert(bytes.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(got));
    return bytes;
}

bool writeWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    const File file = openFile(path, "wb");
    if (!file)
        return false;
    for (std::size_t at = 0; at < bytes.size(); at += blockSize) {
        const std::size_t n = std::min(blockSize, bytes.size() - at);
        if (std::fwrite(bytes.data() + at, 1, n, file.get()) != n)
            return false;
    }
    return std::fflush(file.get()) == 0;
}

bool copyWholeFile(const std::filesystem::path& from, const std::filesystem::path& to)
{
    const File in = openFile(from, "rb");
    const File out = openFile(to, "wb");
    return in && out && copyBlocks(in.get(), out.get()) && std::fflush(out.get()) == 0;
}

bool copyWholeFileSynced(const std::filesystem::path& from, const std::filesystem::path& to)
{
    const File in = openFile(from, "rb");
    const File out = openFile(to, "wb");
    return in && out && copyBlocks(in.get(), out.get()) && syncToDisk(out.get());
}

}  // namespace pw::bench
