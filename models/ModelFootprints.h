#pragma once
// The footprints of the models in one model directory, each file read once.

#include "ModelFootprint.h"

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace pw {

// How a model file is read: readModelFootprint, or a test's stand-in.
using ModelFileReader = std::function<ModelFootprint(const std::filesystem::path& file)>;

class ModelFootprints {
public:
    // Reads each file on first use with `reader`. Without a reader nothing is read: a file not
    // read before is the unit square, "not read yet". The window holds only sets that read
    // nothing, so that no model can keep it waiting.
    explicit ModelFootprints(std::filesystem::path modelDirectory,
                             ModelFileReader reader = readModelFootprint);

    const std::filesystem::path& directory() const { return directory_; }
    // The footprint of `modelFile` in the directory (a name, or a relative path with '/'), read
    // on first use.
    const ModelFootprint& of(const std::string& modelFile);
    // Reads nothing more from now on; what was read stays.
    void stopReading() { reader_ = nullptr; }
    // The files read so far that could not be read, in name order, with the reason.
    std::vector<std::pair<std::string, std::string>> unreadable() const;

private:
    std::filesystem::path directory_;
    ModelFileReader reader_;
    std::map<std::string, ModelFootprint> read_;
};

}  // namespace pw
