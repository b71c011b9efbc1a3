#include "ModelInstallation.h"

#include "ObjectDirectory.h"
#include "tracklib/CoreError.h"

#include <algorithm>
#include <system_error>
#include <utility>
#include <vector>

namespace pw {

namespace fs = std::filesystem;

namespace {

// Creates only the last level: a name with several missing levels is refused, as is a file that
// stands where the directory should be.
bool ensureDirectory(const fs::path& directory, CoreError& error)
{
    std::error_code ec;
    if (fs::is_directory(directory, ec))
        return true;
    fs::create_directory(directory, ec);
    if (!ec && !fs::is_directory(directory, ec))
        ec = std::make_error_code(std::errc::file_exists);
    if (ec) {
        error = CoreError{ErrorCode::CannotCreateDirectory, directory, ec, {}, 0};
        return false;
    }
    return true;
}

}  // namespace

InstallResult installFooterModels(const FooterModelChoices& choices,
                                  const fs::path& nolimitsDirectory,
                                  const fs::path& objectDirectoryName,
                                  const fs::path& modelSourceDirectory)
{
    InstallResult result;

    // Plain concatenation, not operator/: the stored names are relative to objectsRoot with
    // forward slashes, and the directory is taken exactly as the user gave it.
    fs::path objectsRoot = nolimitsDirectory;
    objectsRoot += "/objects";
    fs::path modelDirectory = objectsRoot;
    modelDirectory += "/";
    modelDirectory += objectDirectoryName;

    if (!ensureDirectory(objectsRoot, result.error) || !ensureDirectory(modelDirectory, result.error))
        return result;

    // Classes sharing the default model share its one copy.
    std::vector<std::string> copied;
    for (const FooterModelChoice& choice : choices) {
        if (!choice.enabled
            || std::find(copied.begin(), copied.end(), choice.modelFile) != copied.end())
            continue;
        fs::path source = modelSourceDirectory;
        source += "/";
        source += choice.modelFile;
        fs::path destination = modelDirectory;
        destination += "/";
        destination += footerModelPrefix;
        destination += choice.modelFile;
        if (std::optional<CoreError> failed = copyModelFile(source, destination)) {
            result.error = std::move(*failed);
            return result;
        }
        copied.push_back(choice.modelFile);
        ++result.filesCopied;
    }
    result.ok = true;
    return result;
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

bool hasModelFile(const fs::path& modelSourceDirectory, const std::string& modelFile)
{
    // The same concatenation as the copy's source, so what is found is what gets copied.
    fs::path file = modelSourceDirectory;
    file += "/";
    file += modelFile;
    std::error_code ec;
    return fs::is_regular_file(file, ec);
}

std::optional<CoreError> copyModelFile(const fs::path& source, const fs::path& destination)
{
    std::error_code ec;
    // A signal arriving mid-copy interrupts it without any fault of the files; try again.
    for (int attempt = 0; attempt < 10; ++attempt) {
        fs::copy_file(source, destination, fs::copy_options::overwrite_existing, ec);
        if (ec != std::errc::interrupted)
            break;
    }
    if (ec)
        return CoreError{ErrorCode::CannotCopy, source, ec, destination, 0};
    return std::nullopt;
}

}  // namespace pw
