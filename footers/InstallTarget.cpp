#include "InstallTarget.h"

#include "ObjectDirectory.h"
#include "tracklib/FileSync.h"

#include <system_error>

namespace pw {

namespace fs = std::filesystem;

bool entryExists(const fs::path& path)
{
    std::error_code ec;
    return isLink(path) || fs::exists(fs::symlink_status(path, ec));
}

InstallTarget installTargetIn(const fs::path& nolimitsDirectory,
                              const fs::path& objectDirectoryName)
{
    return {nolimitsDirectory, objectsDirectory(nolimitsDirectory),
            modelDirectoryIn(nolimitsDirectory, objectDirectoryName)};
}

Result<void> checkDirectoryInside(const fs::path& directory, const fs::path& parent,
                                  const fs::path& nolimitsDirectory)
{
    if (isLink(directory))
        return CoreError{FooterError::DirectoryIsALink, directory, {}, nolimitsDirectory};
    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(directory, ec)))
        return CoreError{FooterError::CannotCreateDirectory, directory,
                         ec ? ec : std::make_error_code(std::errc::file_exists)};
    // A mount or a link further up inside can still lead elsewhere: where the directory really
    // is must be the parent itself.
    const fs::path resolved = fs::canonical(directory, ec);
    if (ec || !fs::equivalent(resolved.parent_path(), parent, ec) || ec)
        return CoreError{FooterError::DirectoryOutsideNolimits, directory, {}, nolimitsDirectory};
    return {};
}

Result<void> checkInstallTarget(const InstallTarget& target)
{
    const bool objectsExist = entryExists(target.objects);
    if (objectsExist)
        if (Result<void> inside = checkDirectoryInside(target.objects, target.nolimits,
                                                       target.nolimits);
            !inside)
            return inside;
    // Asked of the directory the name goes into, or of the NoLimits directory before that exists.
    const fs::path name = target.directory.filename();
    const std::size_t most = longestNameIn(objectsExist ? target.objects : target.nolimits);
    if (name.native().size() > most)
        return CoreError{FooterError::ObjectDirectoryTooLong, name, {}, {}, most};
    if (objectsExist && entryExists(target.directory))
        return checkDirectoryInside(target.directory, target.objects, target.nolimits);
    return {};
}

}  // namespace pw
