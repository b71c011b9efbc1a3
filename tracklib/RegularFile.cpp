#include "RegularFile.h"

#include "FileError.h"

#include <cerrno>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pw {

namespace {

CoreError cannotOpen(const std::filesystem::path& path, std::error_code system, std::string detail)
{
    return CoreError(FileError::CannotOpen, path, system, {}, 0, std::move(detail));
}

const char* const notRegular = "it is not a regular file";

#ifndef _WIN32
// Named as the check by name (checkFileKind) names it, so that the words do not depend on
// which of the two found it.
const char* kindOf(mode_t mode)
{
    if (S_ISFIFO(mode))
        return "it is a named pipe, not a regular file";
    if (S_ISCHR(mode))
        return "it is a character device, not a regular file";
    if (S_ISBLK(mode))
        return "it is a block device, not a regular file";
    if (S_ISSOCK(mode))
        return "it is a socket, not a regular file";
    return notRegular;
}
#endif

}  // namespace

Result<RegularFile> openRegularFile(const std::filesystem::path& path)
{
#ifdef _WIN32
    // Named pipes and devices live in namespaces of their own on Windows, but a handle is checked
    // all the same. Others may go on reading, writing or renaming the file meanwhile.
    const HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED) {
            std::error_code ignored;
            if (std::filesystem::is_directory(path, ignored))
                return CoreError(FileError::OpenedADirectory, path);
        }
        return cannotOpen(path, std::error_code(static_cast<int>(error), std::system_category()), {});
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const DWORD type = GetFileType(handle);
    if (type != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseHandle(handle);
        return cannotOpen(path, {},
                          type == FILE_TYPE_PIPE   ? "it is a named pipe, not a regular file"
                          : type == FILE_TYPE_CHAR ? "it is a character device, not a regular file"
                                                   : notRegular);
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd == -1) {
        CloseHandle(handle);
        return cannotOpen(path, std::error_code(EMFILE, std::generic_category()), {});
    }
    FileHandle stream(_fdopen(fd, "rb"));
    if (!stream) {
        _close(fd);
        return cannotOpen(path, std::error_code(ENOMEM, std::generic_category()), {});
    }
    const std::uintmax_t size =
        (static_cast<std::uintmax_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
    return RegularFile{std::move(stream), size};
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return cannotOpen(path, std::error_code(errno, std::generic_category()), {});
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        return cannotOpen(path, std::error_code(error, std::generic_category()), {});
    }
    if (S_ISDIR(status.st_mode)) {
        ::close(fd);
        return CoreError(FileError::OpenedADirectory, path);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        return cannotOpen(path, {}, kindOf(status.st_mode));
    }
    // Reads of a regular file never wait anyway; blocking mode keeps stdio's reads plain.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FileHandle stream(::fdopen(fd, "rb"));
    if (!stream) {
        const int error = errno;
        ::close(fd);
        return cannotOpen(path, std::error_code(error, std::generic_category()), {});
    }
    return RegularFile{std::move(stream), static_cast<std::uintmax_t>(status.st_size)};
#endif
}

Result<std::vector<std::uint8_t>> readRegularFile(const std::filesystem::path& path,
                                                  std::uintmax_t mostBytes)
{
    Result<RegularFile> opened = openRegularFile(path);
    if (!opened)
        return opened.error();
    const auto tooLarge = [&](std::uintmax_t size) {
        return CoreError(FileError::FileTooLarge, path, {}, {}, size);
    };
    if (opened->size > mostBytes)
        return tooLarge(opened->size);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(opened->size));
    // Read to the end, not to the size seen: the file may have grown or shrunk since.
    std::vector<std::uint8_t> buffer(64 * 1024);
    for (;;) {
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), opened->stream.get());
        if (bytes.size() + got > mostBytes)
            return tooLarge(bytes.size() + got);
        bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got));
        if (got < buffer.size())
            break;
    }
    if (std::ferror(opened->stream.get()))
        return cannotOpen(path, std::error_code(EIO, std::generic_category()), {});
    return bytes;
}

}  // namespace pw
