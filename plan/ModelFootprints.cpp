#include "ModelFootprints.h"

#include "footers/QtPaths.h"

#include <QString>

#include <utility>

namespace pw {

ModelFootprints::ModelFootprints(std::filesystem::path modelDirectory)
    : directory_(std::move(modelDirectory))
{
}

const ModelFootprint& ModelFootprints::of(const std::string& modelFile)
{
    const auto found = read_.find(modelFile);
    if (found != read_.end())
        return found->second;
    // A stored name is never allowed to leave the directory.
    const bool plainName = !modelFile.empty() && modelFile.find('/') == std::string::npos &&
                           modelFile.find('\\') == std::string::npos && modelFile != "." &&
                           modelFile != "..";
    ModelFootprint footprint = plainName ? readModelFootprint(
                                             directory_ / toFileSystemPath(QString::fromLatin1(modelFile)))
                                         : unitSquareFootprint("not a model file name");
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

}  // namespace pw
