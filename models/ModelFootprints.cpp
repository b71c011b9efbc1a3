#include "ModelFootprints.h"

#include "tracklib/PathText.h"

#include <utility>

namespace pw {

namespace {

// Names below the directory: parts separated by '/', none empty, "." or "..", and nothing a
// file system would take as a root, a drive or another separator.
bool isPlainRelativePath(const std::string& path)
{
    if (path.empty() || path.find_first_of("\\:") != std::string::npos)
        return false;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = path.find('/', start);
        const std::string part = path.substr(start, end == std::string::npos ? end : end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

}  // namespace

ModelFootprints::ModelFootprints(std::filesystem::path modelDirectory, ModelFileReader reader)
    : directory_(std::move(modelDirectory)), reader_(std::move(reader))
{
}

const ModelFootprint& ModelFootprints::of(const std::string& modelFile)
{
    const auto found = read_.find(modelFile);
    if (found != read_.end())
        return found->second;
    if (!reader_) {
        static const ModelFootprint notRead =
            unitSquareFootprint(CoreError(ModelError::NotReadYet));
        return notRead;
    }
    // A stored name is never allowed to leave the directory.
    ModelFootprint footprint = isPlainRelativePath(modelFile)
                                   ? reader_(directory_ / pathFromLatin1(modelFile))
                                   : unitSquareFootprint(CoreError(ModelError::NotAModelFileName));
    return read_.emplace(modelFile, std::move(footprint)).first->second;
}

std::vector<std::pair<std::string, std::string>> ModelFootprints::unreadable() const
{
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& [file, footprint] : read_)
        if (!footprint.readable)
            files.emplace_back(file, footprint.problem);
    return files;
}

std::vector<std::pair<std::string, std::string>> ModelFootprints::warnings() const
{
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& [file, footprint] : read_)
        for (const std::string& warning : footprint.warnings)
            files.emplace_back(file, warning);
    return files;
}

}  // namespace pw
