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
Result<void> ensureDirectory(const fs::path& directory)
{
    std::error_code ec;
    if (fs::is_directory(directory, ec))
        return {};
    fs::create_directory(directory, ec);
    if (!ec && !fs::is_directory(directory, ec))
        ec = std::make_error_code(std::errc::file_exists);
    if (ec)
        return CoreError{ErrorCode::CannotCreateDirectory, directory, ec, {}, 0, {}};
    return {};
}

// The same concatenation everywhere, so what is found is what gets copied.
fs::path modelFilePath(const fs::path& modelSourceDirectory, const std::string& modelFile)
{
    fs::path file = modelSourceDirectory;
    file += "/";
    file += modelFile;
    return file;
}

std::string tooLargeReason(std::uintmax_t size)
{
    return "at " + std::to_string(size) + " bytes it is larger than " +
           std::to_string(largestModelCopyBytes >> 20) +
           " MiB, too large for a footer model; nothing was copied";
}

// The first enabled model over the copy cap, checked before anything is made or copied.
Result<void> refuseModelsTooLarge(const FooterModelChoices& choices,
                                  const fs::path& modelSourceDirectory)
{
    for (const FooterModelChoice& choice : choices) {
        if (!choice.enabled)
            continue;
        const fs::path source = modelFilePath(modelSourceDirectory, choice.modelFile);
        std::error_code ec;
        const std::uintmax_t size = fs::is_regular_file(source, ec) ? fs::file_size(source, ec) : 0;
        if (!ec && size > largestModelCopyBytes)
            return CoreError{
                ErrorCode::ModelTooLargeToCopy, source, {}, {}, size, tooLargeReason(size)};
    }
    return {};
}

// Whether two files hold the same bytes; false when either cannot be read.
bool sameFileContents(const fs::path& a, const fs::path& b)
{
    std::ifstream first(a, std::ios::binary);
    std::ifstream second(b, std::ios::binary);
    if (!first || !second)
        return false;
    std::vector<char> bufferA(64 * 1024);
    std::vector<char> bufferB(bufferA.size());
    for (;;) {
        first.read(bufferA.data(), static_cast<std::streamsize>(bufferA.size()));
        second.read(bufferB.data(), static_cast<std::streamsize>(bufferB.size()));
        const std::streamsize got = first.gcount();
        if (got != second.gcount() || first.bad() || second.bad() ||
            !std::equal(bufferA.begin(), bufferA.begin() + got, bufferB.begin()))
            return false;
        if (got == 0 || (!first && !second))
            return !first.bad() && !second.bad();
    }
}

}  // namespace

Result<ModelInstallation> installFooterModels(const FooterModelChoices& choices,
                                              const fs::path& nolimitsDirectory,
                                              const fs::path& objectDirectoryName,
                                              const fs::path& modelSourceDirectory)
{
    ModelInstallation installation;
    const fs::path objectsRoot = objectsDirectory(nolimitsDirectory);
    installation.directory = modelDirectoryIn(nolimitsDirectory, objectDirectoryName);

    if (Result<void> fits = refuseModelsTooLarge(choices, modelSourceDirectory); !fits)
        return fits.error();
    for (const fs::path& directory : {objectsRoot, installation.directory})
        if (Result<void> made = ensureDirectory(directory); !made)
            return made.error();

    for (const FooterModelChoice& choice : choices) {
        // Classes sharing the default model share its one copy.
        if (!choice.enabled ||
            std::any_of(installation.copied.begin(), installation.copied.end(),
                        [&](const CopiedModel& c) { return c.modelFile == choice.modelFile; }))
            continue;
        const fs::path source = modelFilePath(modelSourceDirectory, choice.modelFile);
        CopiedModel copy{
            choice.modelFile,
            modelFilePath(installation.directory, footerModelPrefix + choice.modelFile), false};
        // Looked at before it is replaced: another track may name the file standing there.
        std::error_code ec;
        copy.replacedDifferent = fs::exists(fs::symlink_status(copy.destination, ec)) &&
                                 !sameFileContents(source, copy.destination);
        if (Result<void> copied = copyModelFile(source, copy.destination); !copied)
            return copied.error();
        installation.copied.push_back(std::move(copy));
    }
    return installation;
}

Result<void> checkModelDirectory(const fs::path& modelSourceDirectory)
{
    std::error_code ec;
    if (!fs::is_directory(modelSourceDirectory, ec))
        return CoreError{ErrorCode::NotADirectory, modelSourceDirectory, {}, {}, 0, {}};
    return {};
}

Result<void> checkModelsToInstall(const FooterModelChoices& choices,
                                  const fs::path& modelSourceDirectory)
{
    if (modelSourceDirectory.empty())
        return CoreError{ErrorCode::NoModelDirectory, {}, {}, {}, 0, {}};
    if (Result<void> directory = checkModelDirectory(modelSourceDirectory); !directory)
        return directory;
    bool anyTicked = false;
    for (const FooterModelChoice& choice : choices) {
        if (!choice.enabled)
            continue;
        anyTicked = true;
        if (!hasModelFile(modelSourceDirectory, choice.modelFile))
            return CoreError{ErrorCode::ModelMissing,
                             modelFilePath(modelSourceDirectory, choice.modelFile),
                             {},
                             {},
                             0,
                             {}};
    }
    if (!anyTicked)
        return CoreError{ErrorCode::NoModelChosen, modelSourceDirectory, {}, {}, 0, {}};
    return {};
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
    std::error_code ec;
    return fs::is_regular_file(modelFilePath(modelSourceDirectory, modelFile), ec);
}

Result<void> copyModelFile(const fs::path& source, const fs::path& destination)
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
    Result<void> outcome;
    // A signal arriving mid-copy interrupts it without any fault of the files; try again.
    for (int attempt = 0; attempt < 10; ++attempt) {
        outcome = replaceFileAtomically(destination, LinkAtDestination::Replace, copyContent);
        if (outcome || outcome.error().system != std::errc::interrupted)
            break;
    }
    if (!outcome)
        return fail(outcome.error().system, outcome.error().detail);
    return {};
}

}  // namespace pw
