#include "ModelInstallation.h"

#include "InstallTarget.h"
#include "InstallationChange.h"
#include "ModelDirectory.h"
#include "ObjectDirectory.h"
#include "tracklib/AtomicFile.h"
#include "tracklib/FileSync.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>
#include <span>
#include <system_error>
#include <utility>

namespace pw {

namespace fs = std::filesystem;

namespace {

fs::path destinationIn(const fs::path& directory, const std::string& modelFile)
{
    return modelFilePath(directory, footerModelPrefix + modelFile);
}

// The system's reason, or ours where it gave none.
CoreError cannotCopy(const ModelToInstall& model, const fs::path& destination,
                     std::error_code error, std::string detail)
{
    return CoreError{FooterError::CannotCopy,
                     model.source,
                     error,
                     destination,
                     0,
                     error ? std::string() : std::move(detail)};
}

// What a copy cannot replace is refused before anything is made: a directory, a FIFO or a device
// at the destination, or a read-only file, which stays as it would if written in place.
Result<void> checkDestination(const ModelToInstall& model, const fs::path& destination)
{
    if (!entryExists(destination) || isLink(destination))
        return {};
    if (Result<void> kind = checkFileKind(destination); !kind)
        return cannotCopy(model, destination, {}, errorReason(kind.error()));
    if (Result<void> writable = checkExistingFileWritable(destination); !writable)
        return cannotCopy(model, destination,
                          writable.error().system
                              ? writable.error().system
                              : std::make_error_code(std::errc::permission_denied),
                          {});
    return {};
}

// A directory of our own inside objects, under a name no one else uses.
Result<fs::path> makeTemporaryDirectory(const fs::path& objects)
{
    thread_local std::mt19937_64 generator{std::random_device{}()};
    static constexpr char hex[] = "0123456789abcdef";
    std::error_code ec;
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string name = ".plinthwright-tmp-";
        auto value = generator();
        for (int i = 0; i < 12; ++i, value >>= 4)
            name += hex[value & 0xF];
        fs::path temporary = objects;
        temporary /= name;
        if (fs::create_directory(temporary, ec))
            return temporary;
        if (ec)
            break;
    }
    return CoreError{FooterError::CannotCreateDirectory, objects,
                     ec ? ec : std::make_error_code(std::errc::file_exists)};
}

// What was checked, then what is left of a larger model; false with the reason in errno. The
// digest, where one is asked for, takes in every byte written.
bool writeModel(ModelToInstall& model, std::FILE* out, FileDigest* digest)
{
    bool written =
        std::fwrite(model.bytes.data(), 1, model.bytes.size(), out) == model.bytes.size();
    if (digest != nullptr)
        digest->add(model.bytes);
    if (written && model.rest) {
        std::FILE* in = model.rest->stream.get();
        std::vector<char> buffer(64 * 1024);
        std::uintmax_t total = model.bytes.size();
        for (std::size_t got = 1; written && got > 0;) {
            got = std::fread(buffer.data(), 1, buffer.size(), in);
            // A model that grows while it is copied stops at the cap all the same.
            total += got;
            if (total > largestModelCopyBytes) {
                errno = EFBIG;
                written = false;
            } else {
                written = std::fwrite(buffer.data(), 1, got, out) == got;
                if (digest != nullptr)
                    digest->add(std::span<const std::uint8_t>(
                        reinterpret_cast<const std::uint8_t*>(buffer.data()), got));
            }
        }
        if (written && std::ferror(in) != 0) {
            errno = EIO;
            written = false;
        }
    }
    return written;
}

// Writes the model whole to the disk at `to`.
Result<void> writeCopy(ModelToInstall& model, const fs::path& to, const fs::path& destination,
                       FileDigest* digest)
{
    Result<FileHandle> out = openNewFile(to);
    if (!out)
        return cannotCopy(model, destination, out.error().system, "the copy cannot be created");
    const Result<void> written =
        writeToDisk(out->get(), [&](std::FILE* file) { return writeModel(model, file, digest); });
    errno = 0;
    const bool closed = std::fclose(out->release()) == 0;
    if (!written)
        return cannotCopy(model, destination, written.error().system, "writing failed");
    if (!closed)
        return cannotCopy(model, destination, errnoCode(), "closing failed");
    return {};
}

// Whether two files hold the same bytes; false when either cannot be read as a regular file.
bool sameContents(const fs::path& a, const fs::path& b)
{
    Result<RegularFile> first = openRegularFile(a);
    Result<RegularFile> second = openRegularFile(b);
    if (!first || !second || first->size != second->size)
        return false;
    std::vector<char> bufferA(64 * 1024);
    std::vector<char> bufferB(bufferA.size());
    for (;;) {
        const std::size_t got = std::fread(bufferA.data(), 1, bufferA.size(), first->stream.get());
        if (std::fread(bufferB.data(), 1, bufferB.size(), second->stream.get()) != got ||
            !std::equal(bufferA.begin(), bufferA.begin() + static_cast<std::ptrdiff_t>(got),
                        bufferB.begin()))
            return false;
        if (got < bufferA.size())
            return std::ferror(first->stream.get()) == 0 && std::ferror(second->stream.get()) == 0;
    }
}

// Moves the copies from `temporary` into the target's directory. A directory that is not there
// yet is the temporary one renamed, with every model in it at once.
Result<void> moveIntoPlace(const fs::path& temporary, const InstallTarget& target,
                           const std::vector<ModelToInstall>& models,
                           const std::vector<CopiedModel>& copies)
{
    std::error_code ec;
    if (!entryExists(target.directory)) {
        fs::rename(temporary, target.directory, ec);
        if (!ec)
            return {};
        // Unless another generation made it meanwhile: then the files go in one by one.
        if (!entryExists(target.directory))
            return CoreError{FooterError::CannotCreateDirectory, target.directory, ec};
    }
    if (Result<void> inside =
            checkDirectoryInside(target.directory, target.objects, target.nolimits);
        !inside)
        return inside;
    std::vector<fs::path> added;
    for (std::size_t i = 0; i < copies.size(); ++i) {
        const fs::path& destination = copies[i].destination;
        const bool isNew = !entryExists(destination);
        if (const Result<void> moved = replaceFile(temporary / destination.filename(), destination);
            !moved) {
            // Those new here go again; one that replaced an earlier file keeps the new copy, whole.
            for (const fs::path& path : added)
                fs::remove(path, ec);
            return CoreError{FooterError::CannotCopy, models[i].source, moved.error().system,
                             destination};
        }
        if (isNew)
            added.push_back(destination);
    }
    fs::remove(temporary, ec);
    return {};
}

}  // namespace

Result<ModelInstallation> installFooterModels(std::vector<ModelToInstall> models,
                                              const fs::path& nolimitsDirectory,
                                              const fs::path& objectDirectoryName,
                                              InstallationChange* change)
{
    const InstallTarget target = installTargetIn(nolimitsDirectory, objectDirectoryName);
    if (Result<void> fits = checkInstallTarget(target); !fits)
        return fits.error();
    for (const ModelToInstall& model : models)
        if (Result<void> replaceable =
                checkDestination(model, destinationIn(target.directory, model.modelFile));
            !replaceable)
            return replaceable.error();

    // Made here, so removed again if the installation fails (only while it is empty).
    std::error_code ec;
    bool madeObjects = false;
    if (!entryExists(target.objects)) {
        // Only the last level: the NoLimits directory itself must be there.
        madeObjects = fs::create_directory(target.objects, ec);
        if (ec)
            return CoreError{FooterError::CannotCreateDirectory, target.objects, ec};
    }
    const auto abandon = [&](const fs::path& temporary, CoreError error) {
        std::error_code ignored;
        if (!temporary.empty())
            fs::remove_all(temporary, ignored);
        if (madeObjects)
            fs::remove(target.objects, ignored);
        return error;
    };
    // The directory checked is the directory then used.
    if (Result<void> inside = checkDirectoryInside(target.objects, target.nolimits, target.nolimits);
        !inside)
        return abandon({}, inside.error());
    const Result<fs::path> temporary = makeTemporaryDirectory(target.objects);
    if (!temporary)
        return abandon({}, temporary.error());

    ModelInstallation installation;
    installation.directory = target.directory;
    for (ModelToInstall& model : models) {
        CopiedModel copy{model.modelFile, destinationIn(target.directory, model.modelFile), false};
        const fs::path written = *temporary / copy.destination.filename();
        FileDigest digest;
        if (Result<void> copied =
                writeCopy(model, written, copy.destination, change != nullptr ? &digest : nullptr);
            !copied)
            return abandon(*temporary, copied.error());
        // Looked at before it is replaced: another track may name the file standing there.
        if (entryExists(copy.destination)) {
            copy.replacedDifferent = !sameContents(written, copy.destination);
            const fs::file_status previous = fs::symlink_status(copy.destination, ec);
            if (fs::is_regular_file(previous))
                fs::permissions(written, previous.permissions(), fs::perm_options::replace, ec);
        }
        if (change != nullptr)
            change->noteCopy(copy.destination, digest, copy.replacedDifferent);
        installation.copied.push_back(std::move(copy));
        if (model.warning)
            installation.warnings.push_back(*model.warning);
    }
    const bool directoryWasThere = entryExists(target.directory);
    if (Result<void> moved = moveIntoPlace(*temporary, target, models, installation.copied); !moved)
        return abandon(*temporary, moved.error());
    if (change != nullptr)
        change->noteTarget(target, madeObjects, !directoryWasThere);
    syncDirectory(target.directory);
    syncDirectory(target.objects);
    return installation;
}

}  // namespace pw
