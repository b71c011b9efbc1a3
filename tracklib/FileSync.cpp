#include "FileSync.h"

#ifdef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace pw {

FileHandle openNewFile(const std::filesystem::path& path)
{
#ifdef _WIN32
    // msvcrt ignores fopen's "x" and would truncate an existing file; _O_EXCL it honours.
    const int fd = _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                          _S_IREAD | _S_IWRITE);
    if (fd == -1) {
        return FileHandle();
    }
    FileHandle file(_fdopen(fd, "wb"));
    if (!file) {
        _close(fd);
    }
    return file;
#else
    return FileHandle(std::fopen(path.c_str(), "wbx"));
#endif
}

bool canWriteExistingFile(const std::filesystem::path& path)
{
#ifdef _WIN32
    // Asked for by itself: under wine run as root, opening such a file for writing succeeds.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        errno = EACCES;
        return false;
    }
    return FileHandle(_wfopen(path.c_str(), L"ab")) != nullptr;
#else
    return FileHandle(std::fopen(path.c_str(), "ab")) != nullptr;
#endif
}

bool flushToDisk(std::FILE* file)
{
#ifdef _WIN32
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
#else
    return ::fsync(::fileno(file)) == 0;
#endif
}

std::error_code replaceFile(const std::filesystem::path& from, const std::filesystem::path& to)
{
#ifdef _WIN32
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return {};
    }
    return std::error_code(static_cast<int>(GetLastError()), std::system_category());
#else
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    return ec;
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

}  // namespace pw
