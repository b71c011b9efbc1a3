#include "FootprintFiles.h"

#include "footers/SizeClasses.h"
#include "footers/ObjectDirectory.h"

#include <optional>
#include <set>

namespace pw {

FootprintFiles footprintFilesOf(const Track& track)
{
    FootprintFiles files;
    for (const TubeSizeClass sizeClass : allSizeClasses)
        files.modelDirectory.emplace_back(ownModelFile(sizeClass));
    files.modelDirectory.emplace_back(defaultModelFile);
    const std::set<std::string> generated(files.modelDirectory.begin(), files.modelDirectory.end());

    std::set<std::string> named;
    std::set<std::string> installed;
    for (const SceneryObject& object : track.sceneryObjects) {
        std::optional<std::string> modelFile = footerModelFileOf(object.textB);
        if (!modelFile)
            continue;
        installed.insert(object.textB);
        if (!generated.contains(*modelFile))
            named.insert(std::move(*modelFile));
    }
    files.modelDirectory.insert(files.modelDirectory.end(), named.begin(), named.end());
    files.installed.assign(installed.begin(), installed.end());
    return files;
}

}  // namespace pw
