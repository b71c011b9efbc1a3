#pragma once
// The footprints of the models in one model directory, each file read once.

#include "ModelFootprint.h"
#include "ModelReaderClient.h"

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace pw {

class ModelFootprints {
public:
    // Reads each file on first use with `reader`. Without a reader nothing is read: a file not
    // read before is the unit square, "not read yet". The window holds only sets that read
    // nothing, so that no model can keep it waiting.
    ModelFootprints(std::filesystem::path modelDirectory, ModelFileReader reader);

    const std::filesystem::path& directory() const { return directory_; }
    // The footprint of `modelFile` in the directory (a name, or a relative path with '/'), read
    // on first use.
    const ModelFootprint& of(const std::string& modelFile);
    // Reads nothing more from now on; what was read stays.
    void stopReading() { reader_ = nullptr; }
    // The files read so far that could not be read, in name order, with the reason.
    std::vector<std::pair<std::string, std::string>> unreadable() const;
    // What was left out of the files read, in name order: a file with each of its warnings.
    std::vector<std::pair<std::string, std::string>> warnings() const;

private:
    std::filesystem::path directory_;
    ModelFileReader reader_;
    std::map<std::string, ModelFootprint> read_;
};

}  // namespace pw
