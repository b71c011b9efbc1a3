#include "InstallationChange.h"

#include "FooterError.h"
#include "tracklib/AtomicFile.h"
#include "tracklib/FileError.h"
#include "tracklib/FileSync.h"
#include "tracklib/RegularFile.h"

#include <system_error>
#include <utility>

namespace pw {

namespace fs = std::filesystem;

namespace {

CoreError notKeptFor(const fs::path& path, std::uintmax_t size, std::string why = {})
{
    return CoreError{FooterError::ModelNotKeptForUndo, path, {}, {}, size, std::move(why)};
}

CoreError changedSince(const fs::path& path)
{
    return CoreError{FooterError::ModelChangedSince, path};
}

}  // namespace

void InstallationChange::noteTarget(const InstallTarget& target, bool madeObjects,
                                    bool madeDirectory)
{
    target_ = target;
    madeObjects_ = madeObjects;
    madeDirectory_ = madeDirectory;
}

void InstallationChange::noteCopy(const fs::path& destination, const FileDigest& copy,
                                  bool replacesDifferent)
{
    const bool existed = entryExists(destination);
    // The same bytes stand there already: neither undo nor redo changes anything.
    if (existed && !replacesDifferent)
        return;
    if (keptCopies_ + copy.size > stepFileBytesLimit) {
        notKept_.push_back(notKeptFor(destination, copy.size));
        return;
    }
    ChangedFile file{destination, copy, std::nullopt, {}, false};
    if (existed) {
        // Undo could only put back a regular file of the link's content, not the link.
        if (isLink(destination)) {
            notKept_.push_back(notKeptFor(destination, 0, "a symbolic link stands there"));
            return;
        }
        Result<std::vector<std::uint8_t>> earlier =
            readRegularFile(destination, stepFileBytesLimit - keptBefore_);
        if (!earlier) {
            const CoreError& why = earlier.error();
            notKept_.push_back(
                why.code == ErrorCode(FileError::FileTooLarge)
                    ? notKeptFor(destination, why.size)
                    : notKeptFor(destination, 0,
                                 "what stands there cannot be read: " + errorReason(why)));
            return;
        }
        file.undone = digestOf(*earlier);
        file.held = std::move(*earlier);
        keptBefore_ += file.held.size();
    }
    keptCopies_ += copy.size;
    files_.push_back(std::move(file));
}

std::optional<CoreError> InstallationChange::move(ChangedFile& file, bool toUndone)
{
    if (file.leftAlone)
        return std::nullopt;
    const std::optional<FileDigest> from =
        toUndone ? std::optional<FileDigest>(file.applied) : file.undone;
    const std::optional<FileDigest> to =
        toUndone ? file.undone : std::optional<FileDigest>(file.applied);

    // What stands there must be what this step left.
    std::vector<std::uint8_t> current;
    if (from) {
        Result<std::vector<std::uint8_t>> read = readRegularFile(file.path, from->size);
        if (!read || digestOf(*read) != *from) {
            file.leftAlone = true;
            return changedSince(file.path);
        }
        current = std::move(*read);
    } else if (entryExists(file.path)) {
        file.leftAlone = true;
        return changedSince(file.path);
    }

    if (to) {
        const std::vector<std::uint8_t>& bytes = file.held;
        const Result<void> written =
            replaceFileAtomically(file.path, LinkAtDestination::Replace, [&](std::FILE* out) {
                return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
            });
        if (!written) {
            file.leftAlone = true;
            return CoreError{
                FooterError::CannotRestoreModel, file.path, written.error().system, {}, 0,
                errorReason(written.error())};
        }
    } else {
        std::error_code ec;
        if (!fs::remove(file.path, ec) && ec) {
            file.leftAlone = true;
            return CoreError{FooterError::CannotRestoreModel, file.path, ec};
        }
    }
    file.held = std::move(current);
    return std::nullopt;
}

std::vector<CoreError> InstallationChange::checkDirectories() const
{
    std::vector<CoreError> problems;
    if (entryExists(target_.objects))
        if (Result<void> inside =
                checkDirectoryInside(target_.objects, target_.nolimits, target_.nolimits);
            !inside)
            problems.push_back(inside.error());
    if (problems.empty() && entryExists(target_.directory))
        if (Result<void> inside =
                checkDirectoryInside(target_.directory, target_.objects, target_.nolimits);
            !inside)
            problems.push_back(inside.error());
    return problems;
}

void InstallationChange::dropEmptyDirectories() const
{
    // remove() takes a directory only while it is empty: one holding anything else stays.
    std::error_code ignored;
    if (madeDirectory_)
        fs::remove(target_.directory, ignored);
    if (madeObjects_)
        fs::remove(target_.objects, ignored);
}

std::optional<CoreError> InstallationChange::remakeDirectories() const
{
    std::error_code ec;
    for (const fs::path* directory : {&target_.objects, &target_.directory}) {
        if (entryExists(*directory))
            continue;
        fs::create_directory(*directory, ec);
        if (ec)
            return CoreError{FooterError::CannotCreateDirectory, *directory, ec};
    }
    return std::nullopt;
}

std::vector<CoreError> InstallationChange::undo()
{
    if (!applied_)
        return {};
    applied_ = false;
    if (files_.empty())
        return {};
    std::vector<CoreError> warnings = checkDirectories();
    if (!warnings.empty()) {
        for (ChangedFile& file : files_)
            file.leftAlone = true;
        return warnings;
    }
    for (auto file = files_.rbegin(); file != files_.rend(); ++file)
        if (std::optional<CoreError> left = move(*file, true))
            warnings.push_back(std::move(*left));
    dropEmptyDirectories();
    syncDirectory(target_.directory);
    return warnings;
}

std::vector<CoreError> InstallationChange::redo()
{
    if (applied_)
        return {};
    applied_ = true;
    if (files_.empty())
        return {};
    std::vector<CoreError> warnings;
    if (std::optional<CoreError> made = remakeDirectories())
        warnings.push_back(std::move(*made));
    else
        warnings = checkDirectories();
    if (!warnings.empty()) {
        for (ChangedFile& file : files_)
            file.leftAlone = true;
        return warnings;
    }
    for (ChangedFile& file : files_)
        if (std::optional<CoreError> left = move(file, false))
            warnings.push_back(std::move(*left));
    syncDirectory(target_.directory);
    return warnings;
}

std::size_t InstallationChange::heldBytes() const
{
    std::size_t bytes =
        files_.capacity() * sizeof(ChangedFile) + notKept_.capacity() * sizeof(CoreError);
    for (const ChangedFile& file : files_)
        bytes += file.held.capacity();
    return bytes;
}

}  // namespace pw
