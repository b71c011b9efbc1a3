#pragma once
// Looking at encoded bytes, and a temporary directory per test, for the track library's tests.

#include "testsupport/TrackFixtures.h"
#include "tracklib/TrackFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string_view>
#include <vector>

namespace pw {

using Bytes = std::vector<std::uint8_t>;

// Where `tag` first occurs in `file`; file.size() when it does not.
inline std::size_t find(const Bytes& file, std::string_view tag)
{
    return static_cast<std::size_t>(std::search(file.begin(), file.end(), tag.begin(), tag.end()) -
                                    file.begin());
}

// The big-endian int32 at `at`.
inline std::int32_t int32At(const Bytes& file, std::size_t at)
{
    return static_cast<std::int32_t>((std::uint32_t{file[at]} << 24) |
                                     (std::uint32_t{file[at + 1]} << 16) |
                                     (std::uint32_t{file[at + 2]} << 8) | file[at + 3]);
}

inline Bytes slice(const Bytes& file, std::size_t from, std::size_t size)
{
    return Bytes(file.begin() + static_cast<std::ptrdiff_t>(from),
                 file.begin() + static_cast<std::ptrdiff_t>(from + size));
}

inline Track decode(const Bytes& bytes, ReadDiagnostics* diagnostics = nullptr)
{
    Track track;
    readTrackBytes(bytes, track, diagnostics);
    return track;
}

class TrackFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Unique per run, so that two builds' suites running at once keep apart.
        directory_ =
            std::filesystem::temp_directory_path() /
            ("pw-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
             "-" + std::to_string(std::random_device{}()));
        std::filesystem::remove_all(directory_);
        std::filesystem::create_directories(directory_);
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    std::filesystem::path write(const std::string& name, const Bytes& bytes) const
    {
        const auto path = directory_ / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    static Bytes readAll(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::vector<std::filesystem::path> entries() const
    {
        std::vector<std::filesystem::path> names;
        for (const auto& entry : std::filesystem::directory_iterator(directory_))
            names.push_back(entry.path().filename());
        return names;
    }

    std::filesystem::path directory_;
};

}  // namespace pw
