#include "ModelDirectory.h"

#include <algorithm>
#include <system_error>

namespace pw {

namespace fs = std::filesystem;

fs::path modelFilePath(const fs::path& modelSourceDirectory, const std::string& modelFile)
{
    fs::path file = modelSourceDirectory;
    file += "/";
    file += modelFile;
    return file;
}

Result<void> checkModelDirectory(const fs::path& modelSourceDirectory)
{
    std::error_code ec;
    if (!fs::is_directory(modelSourceDirectory, ec))
        return CoreError{FooterError::NotADirectory, modelSourceDirectory};
    return {};
}

Result<void> checkModelsChosen(const FooterModelChoices& choices,
                               const fs::path& modelSourceDirectory)
{
    if (modelSourceDirectory.empty())
        return CoreError{FooterError::NoModelDirectory};
    if (Result<void> directory = checkModelDirectory(modelSourceDirectory); !directory)
        return directory;
    if (std::none_of(choices.begin(), choices.end(),
                     [](const FooterModelChoice& choice) { return choice.enabled; }))
        return CoreError{FooterError::NoModelChosen, modelSourceDirectory};
    return {};
}

Result<void> checkModelsToInstall(const FooterModelChoices& choices,
                                  const fs::path& modelSourceDirectory)
{
    if (Result<void> chosen = checkModelsChosen(choices, modelSourceDirectory); !chosen)
        return chosen;
    for (const FooterModelChoice& choice : choices)
        if (choice.enabled && !hasModelFile(modelSourceDirectory, choice.modelFile))
            return CoreError{FooterError::ModelMissing,
                             modelFilePath(modelSourceDirectory, choice.modelFile)};
    return {};
}

bool hasModelFile(const fs::path& modelSourceDirectory, const std::string& modelFile)
{
    std::error_code ec;
    return fs::is_regular_file(modelFilePath(modelSourceDirectory, modelFile), ec);
}

ModelDirectoryContents inspectModelDirectory(const fs::path& modelSourceDirectory)
{
    ModelDirectoryContents contents;
    for (const TubeSizeClass sizeClass : allSizeClasses)
        contents.ownModel[static_cast<std::size_t>(sizeClass)] =
            hasModelFile(modelSourceDirectory, ownModelFile(sizeClass));
    contents.defaultModel = hasModelFile(modelSourceDirectory, defaultModelFile);
    return contents;
}

}  // namespace pw
