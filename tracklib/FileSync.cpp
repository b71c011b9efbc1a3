#include "FileSync.h"

#include "FileError.h"

#ifdef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#endif

namespace pw {

namespace {

// The reason is errno's, read right after the call that failed.
CoreError cannotSave(const std::filesystem::path& path, std::error_code system = errnoCode())
{
    return CoreError(FileError::CannotSave, path, system);
}

}  // namespace

Result<FileHandle> openFileForReading(const std::filesystem::path& path)
{
    errno = 0;
#ifdef _WIN32
    FileHandle file(_wfopen(path.c_str(), L"rb"));
#else
    FileHandle file(std::fopen(path.c_str(), "rb"));
#endif
    if (!file) {
        return CoreError(FileError::CannotOpen, path, errnoCode());
    }
    return file;
}

Result<FileHandle> openNewFile(const std::filesystem::path& path)
{
    errno = 0;
#ifdef _WIN32
    // msvcrt ignores fopen's "x" and would truncate an existing file; _O_EXCL it honours.
    const int fd =
        _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd == -1) {
        return cannotSave(path);
    }
    FileHandle file(_fdopen(fd, "wb"));
    if (!file) {
        CoreError failed = cannotSave(path);
        _close(fd);
        return failed;
    }
    return file;
#else
    FileHandle file(std::fopen(path.c_str(), "wbx"));
    if (!file) {
        return cannotSave(path);
    }
    return file;
#endif
}

FileHandle openUnnamedFile(const std::filesystem::path& directory)
{
#if defined(__linux__) && defined(O_TMPFILE)
    const std::filesystem::path target = directory.empty() ? std::filesystem::path(".") : directory;
    const int fd = ::open(target.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) {
        return nullptr;
    }
    FileHandle file(::fdopen(fd, "wb"));
    if (!file) {
        ::close(fd);
    }
    return file;
#else
    (void)directory;
    return nullptr;
#endif
}

Result<void> nameUnnamedFile(std::FILE* file, const std::filesystem::path& path)
{
#if defined(__linux__) && defined(O_TMPFILE)
    const int fd = ::fileno(file);
    // AT_EMPTY_PATH needs a privilege most users lack; the descriptor's /proc entry does not.
    if (::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) {
        return {};
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return {};
    }
    return cannotSave(path, std::error_code(errno, std::generic_category()));
#else
    (void)file;
    return cannotSave(path, std::make_error_code(std::errc::operation_not_supported));
#endif
}

Result<void> checkExistingFileWritable(const std::filesystem::path& path)
{
    errno = 0;
#ifdef _WIN32
    // Asked for by itself: under wine run as root, opening such a file for writing succeeds.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return cannotSave(path, std::make_error_code(std::errc::permission_denied));
    }
    const bool opened = FileHandle(_wfopen(path.c_str(), L"ab")) != nullptr;
#else
    const bool opened = FileHandle(std::fopen(path.c_str(), "ab")) != nullptr;
#endif
    if (!opened) {
        return cannotSave(path);
    }
    return {};
}

Result<void> flushToDisk(std::FILE* file)
{
#ifdef _WIN32
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    const bool flushed = handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
#else
    const bool flushed = ::fsync(::fileno(file)) == 0;
#endif
    if (!flushed) {
        return cannotSave({});
    }
    return {};
}

Result<void> replaceFile(const std::filesystem::path& from, const std::filesystem::path& to)
{
#ifdef _WIN32
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return {};
    }
    return cannotSave(to,
                      std::error_code(static_cast<int>(GetLastError()), std::system_category()));
#else
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    if (ec) {
        return cannotSave(to, ec);
    }
    return {};
#endif
}

void setStandardInputBinary()
{
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
#endif
}

void syncDirectory(const std::filesystem::path& directory)
{
#ifdef _WIN32
    (void)directory;  // NTFS journals the rename itself
#else
    const std::filesystem::path target = directory.empty() ? std::filesystem::path(".") : directory;
    const int fd = ::open(target.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

bool isLink(const std::filesystem::path& path)
{
#ifdef _WIN32
    // Only links and junctions: other reparse points (cloud placeholders, deduplicated files)
    // stay where they are.
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (found.dwReserved0 == IO_REPARSE_TAG_SYMLINK ||
            found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
#else
    std::error_code ec;
    return std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec));
#endif
}

std::size_t longestNameIn(const std::filesystem::path& directory)
{
    constexpr std::size_t common = 255;
#ifdef _WIN32
    (void)directory;  // NTFS, FAT32 with long names and exFAT all take 255 UTF-16 units
    return common;
#else
    const long most = ::pathconf(directory.c_str(), _PC_NAME_MAX);
    return most > 0 ? static_cast<std::size_t>(most) : common;
#endif
}

}  // namespace pw
