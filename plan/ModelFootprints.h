#pragma once
// The footprints of the models in one model directory, each file read once.

#include "ModelFootprint.h"

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace pw {

class ModelFootprints {
public:
    explicit ModelFootprints(std::filesystem::path modelDirectory);

    const std::filesystem::path& directory() const { return directory_; }
    // The footprint of `modelFile` in the directory (a name, or a relative path with '/'), read
    // on first use.
    const ModelFootprint& of(const std::string& modelFile);
    // The files read so far that could not be read, in name order, with the reason.
    std::vector<std::pair<std::string, std::string>> unreadable() const;

private:
    std::filesystem::path directory_;
    std::map<std::string, ModelFootprint> read_;
};

}  // namespace pw
