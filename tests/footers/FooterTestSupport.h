#pragma once
// Set-up shared by the footer tests: a scratch directory holding a model source and a simulator
// directory, and a track's supports built through the track library's own operations.

#include "testsupport/TestModels.h"
#include "tracklib/Track.h"
#include "tracklib/TrackOperations.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace pw::testing {

inline void writeFile(const std::filesystem::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The names in a directory, sorted; none when it is missing.
inline std::vector<std::string> filesIn(const std::filesystem::path& directory)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(directory, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The model a ScratchDirectory holds as `file` ("small.3ds"): a 3ds model of its own.
inline std::string scratchModel(const std::string& file)
{
    return testModelText(file.substr(0, file.find('.')));
}

// A fresh directory below the system's temporary one, removed with all in it. It holds "models",
// with every model file a scratchModel, and an empty "NoLimits".
class ScratchDirectory {
public:
    ScratchDirectory()
        : path_(std::filesystem::temp_directory_path() /
                ("plinthwright-test-" + std::to_string(std::random_device{}())))
    {
        std::filesystem::create_directories(models());
        std::filesystem::create_directory(simulator());
        for (const char* file :
             {"small.3ds", "medium.3ds", "large.3ds", "xlarge.3ds", "xxlarge.3ds", "default.3ds"})
            writeFile(models() / file, scratchModel(file));
    }
    ~ScratchDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path models() const { return path_ / "models"; }
    std::filesystem::path simulator() const { return path_ / "NoLimits"; }

private:
    std::filesystem::path path_;
};

inline TubeEnd onFundament(std::int32_t index) { return {TubeEndFundament, 0, index}; }
inline TubeEnd onFreeNode(std::int32_t index) { return {TubeEndFreeNode, 0, index}; }
inline TubeEnd onConnector(std::int32_t group, std::int32_t index)
{
    return {TubeEndRailConnector, group, index};
}

// Tube size codes; 3 has no class.
inline constexpr std::int32_t mediumCode = 0, largeCode = 1, smallCode = 2, noFooterCode = 3,
                              xLargeCode = 5, xxLargeCode = 6;

class SupportTrackBuilder {
public:
    SupportTrackBuilder() { newTrack(track_); }

    int fundament(float x, float y, float z, float angle = 0.0f)
    {
        return addFundament(1, 0.0f, 0, angle, 0, 0, x, y, z, track_);
    }
    int freeNode(float x, float y, float z) { return addFreeNode(x, y, z, track_); }

    // Control points at the thirds, so that arc length runs evenly with the curve parameter.
    // Returns the segment, which is also the connector group.
    int straightSegment(Float3 from, Float3 to)
    {
        const Float3 third{(to.x - from.x) / 3, (to.y - from.y) / 3, (to.z - from.z) / 3};
        const Float3 out{from.x + third.x, from.y + third.y, from.z + third.z};
        const Float3 in{to.x - third.x, to.y - third.y, to.z - third.z};
        const int first = segmentCount(track_);
        const Float3 in0 = first == 0 ? from : track_.vertices[first].controlIn;
        setVertex(first, from, in0, out, 0.0f, 0, 0, 0, track_);
        addVertex(to, in, to, 0.0f, 0, 0, 0, track_);
        addSegment(1, first + 1, 0, {}, {}, {}, 0, 0, track_);
        return first;
    }
    int connector(int group, float position)
    {
        return addRailConnector(group, 0, position, track_);
    }

    int tube(TubeEnd a, TubeEnd b, std::int32_t sizeCode)
    {
        return addTube(a.kind, a.index, a.group, b.kind, b.index, b.group, sizeCode, 0, 0, track_);
    }

    Track& track() { return track_; }

private:
    Track track_;
};

}  // namespace pw::testing
