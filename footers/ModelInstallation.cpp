#include "ModelInstallation.h"

#include "ObjectDirectory.h"
#include "tracklib/AtomicFile.h"
#include "tracklib/CoreError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
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
        error = CoreError{ErrorCode::CannotCreateDirectory, directory, ec, {}, 0, {}};
        return false;
    }
    return true;
}

std::string tooLargeReason(std::uintmax_t size)
{
    return "at " + std::to_string(size) + " bytes it is larger than " +
           std::to_string(largestModelCopyBytes >> 20) +
           " MiB, too large for a footer model; nothing was copied";
}

fs::path modelSource(const fs::path& modelSourceDirectory, const std::string& modelFile)
{
    fs::path source = modelSourceDirectory;
    source += "/";
    source += modelFile;
    return source;
}

// The first enabled model over the copy cap, checked before anything is made or copied.
std::optional<CoreError> modelTooLarge(const FooterModelChoices& choices,
                                       const fs::path& modelSourceDirectory)
{
    for (const FooterModelChoice& choice : choices) {
        if (!choice.enabled)
            continue;
        const fs::path source = modelSource(modelSourceDirectory, choice.modelFile);
        std::error_code ec;
        const std::uintmax_t size = fs::is_regular_file(source, ec) ? fs::file_size(source, ec) : 0;
        if (!ec && size > largestModelCopyBytes)
            return CoreError{
                ErrorCode::ModelTooLargeToCopy, source, {}, {}, size, tooLargeReason(size)};
    }
    return std::nullopt;
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

    if (std::optional<CoreError> refused = modelTooLarge(choices, modelSourceDirectory)) {
        result.error = std::move(*refused);
        return result;
    }
    if (!ensureDirectory(objectsRoot, result.error) ||
        !ensureDirectory(modelDirectory, result.error))
        return result;

    // Classes sharing the default model share its one copy.
    std::vector<std::string> copied;
    for (const FooterModelChoice& choice : choices) {
        if (!choice.enabled ||
            std::find(copied.begin(), copied.end(), choice.modelFile) != copied.end())
            continue;
        const fs::path source = modelSource(modelSourceDirectory, choice.modelFile);
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
    // The same path as the copy's source, so what is found is what gets copied.
    const fs::path file = modelSource(modelSourceDirectory, modelFile);
    std::error_code ec;
    return fs::is_regular_file(file, ec);
}

std::optional<CoreError> copyModelFile(const fs::path& source, const fs::path& destination)
{
    const auto fail = [&](std::error_code system, std::string detail) {
        return CoreError{ErrorCode::CannotCopy, source, system, destination, 0, std::move(detail)};
    };
    std::error_code ec;
    const fs::file_status sourceStatus = fs::status(source, ec);
    if (!fs::exists(sourceStatus))
        return fail(ec ? ec : std::make_error_code(std::errc::no_such_file_or_directory), {});
    if (!fs::is_regular_file(sourceStatus))
        return fail({}, "the model is not a regular file");
    if (const std::uintmax_t size = fs::file_size(source, ec); !ec && size > largestModelCopyBytes)
        return CoreError{
            ErrorCode::ModelTooLargeToCopy, source, {}, destination, size, tooLargeReason(size)};

    // The copy is made whole beside the destination and renamed over it: a full disk, a kill or a
    // second generation at the same moment never leaves a piece of a model where a track
    // expects one. A link at the destination is replaced, not written through.
    const auto copyContent = [&](std::FILE* out) {
        errno = 0;
        std::ifstream in(source, std::ios::binary);
        if (!in) {
            if (errno == 0)
                errno = EIO;
            return false;
        }
        std::vector<char> buffer(64 * 1024);
        std::uintmax_t total = 0;
        while (in) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            const auto got = static_cast<std::size_t>(in.gcount());
            // A file that grows while it is copied stops at the cap all the same.
            total += got;
            if (total > largestModelCopyBytes) {
                errno = EFBIG;
                return false;
            }
            if (got > 0 && std::fwrite(buffer.data(), 1, got, out) != got)
                return false;
        }
        if (in.bad()) {
            if (errno == 0)
                errno = EIO;
            return false;
        }
        return true;
    };
    FileWriteOutcome outcome;
    // A signal arriving mid-copy interrupts it without any fault of the files; try again.
    for (int attempt = 0; attempt < 10; ++attempt) {
        outcome = replaceFileAtomically(destination, LinkAtDestination::Replace, copyContent);
        if (outcome.code != std::errc::interrupted)
            break;
    }
    if (!outcome.ok())
        return fail(outcome.code, outcome.reason);
    return std::nullopt;
}

}  // namespace pw
