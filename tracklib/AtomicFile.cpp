#include "AtomicFile.h"

#include "FileSync.h"

#include <cerrno>
#include <random>

namespace pw {

namespace fs = std::filesystem;

namespace {

std::string kindProblem(const fs::file_status& status)
{
    switch (status.type()) {
    case fs::file_type::none:
    case fs::file_type::not_found:
    case fs::file_type::regular: return {};
    case fs::file_type::directory: return "it is a directory";
    case fs::file_type::fifo: return "it is a named pipe, not a regular file";
    case fs::file_type::character: return "it is a character device, not a regular file";
    case fs::file_type::block: return "it is a block device, not a regular file";
    case fs::file_type::socket: return "it is a socket, not a regular file";
    default: return "it is not a regular file";
    }
}

// The file being written could not be: the system's reason, or ours where it gave none.
CoreError failed(const fs::path& destination, const std::error_code& code, std::string fallback)
{
    return CoreError{ErrorCode::CannotSave,
                     destination,
                     code,
                     {},
                     0,
                     code ? std::string() : std::move(fallback)};
}

CoreError failed(const fs::path& destination, int error, const char* fallback)
{
    return failed(destination,
                  error != 0 ? std::error_code(error, std::generic_category()) : std::error_code(),
                  fallback);
}

// Where a chain of symbolic links ends, whether that file exists yet or not; `path` itself when
// it is no link. A loop ends the chain after a bounded number of steps.
fs::path endOfSymlinks(fs::path path)
{
    std::error_code ec;
    for (int step = 0; step < 40 && fs::is_symlink(path, ec); ++step) {
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) {
            break;
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

fs::path temporaryPathBeside(const fs::path& target)
{
    thread_local std::mt19937_64 generator{std::random_device{}()};
    static constexpr char hex[] = "0123456789abcdef";
    std::string suffix = ".plinthwright-tmp-";
    auto value = generator();
    for (int i = 0; i < 12; ++i) {
        suffix += hex[value & 0xF];
        value >>= 4;
    }
    fs::path temporary = target;
    temporary += suffix;
    return temporary;
}

// Writes the content, flushes it to the disk and closes the file.
Result<void> writeAndClose(const fs::path& destination, FileHandle file,
                           const std::function<bool(std::FILE*)>& writeContent)
{
    errno = 0;
    const bool written =
        writeContent(file.get()) && std::fflush(file.get()) == 0 && flushToDisk(file.get());
    const int writeError = errno;
    errno = 0;
    const bool closed = std::fclose(file.release()) == 0;
    if (!written) {
        return failed(destination, writeError, "writing failed");
    }
    if (!closed) {
        return failed(destination, errno, "closing failed");
    }
    return {};
}

// The complete content under a temporary name beside `target`, in `temporary`.
Result<void> writeTemporaryFile(const fs::path& destination, const fs::path& target,
                                const std::function<bool(std::FILE*)>& writeContent,
                                fs::path& temporary)
{
    // Unnamed first: nothing can be left behind while the content is written.
    if (FileHandle unnamed = openUnnamedFile(target.parent_path())) {
        errno = 0;
        const bool written = writeContent(unnamed.get()) && std::fflush(unnamed.get()) == 0 &&
                             flushToDisk(unnamed.get());
        if (!written) {
            return failed(destination, errno, "writing failed");  // vanishes as it is closed
        }
        for (int attempt = 0; attempt < 8; ++attempt) {
            temporary = temporaryPathBeside(target);
            const std::error_code ec = nameUnnamedFile(unnamed.get(), temporary);
            if (!ec) {
                errno = 0;
                if (std::fclose(unnamed.release()) != 0) {
                    CoreError outcome = failed(destination, errno, "closing failed");
                    std::error_code ignored;
                    fs::remove(temporary, ignored);
                    return outcome;
                }
                return {};
            }
            if (ec != std::errc::file_exists) {
                break;  // no way to name it here: write a named file instead
            }
        }
    }

    FileHandle file;
    for (int attempt = 0; attempt < 8 && !file; ++attempt) {
        temporary = temporaryPathBeside(target);
        errno = 0;
        file = openNewFile(temporary);
        if (!file && errno != EEXIST) {
            break;
        }
    }
    if (!file) {
        return failed(destination, errno, "the file cannot be created");
    }
    Result<void> outcome = writeAndClose(destination, std::move(file), writeContent);
    if (!outcome.ok()) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    }
    return outcome;
}

}  // namespace

std::string fileKindProblem(const fs::path& path)
{
    std::error_code ec;
    return kindProblem(fs::status(path, ec));
}

Result<void> replaceFileAtomically(const fs::path& destination, LinkAtDestination links,
                                   const std::function<bool(std::FILE*)>& writeContent)
{
    const fs::path target =
        links == LinkAtDestination::Follow ? endOfSymlinks(destination) : destination;
    std::error_code ec;
    const fs::file_status previous = fs::symlink_status(target, ec);
    if (!fs::is_symlink(previous)) {
        // Opening a FIFO or a device to test it could block or act on it; refuse it unopened.
        if (std::string problem = kindProblem(previous); !problem.empty()) {
            return failed(destination, std::error_code(), std::move(problem));
        }
    }
    // A file made read-only stays as it is, just as it would if it were written in place.
    const bool replacesFile = fs::is_regular_file(previous);
    if (replacesFile) {
        errno = 0;
        if (!canWriteExistingFile(target)) {
            return failed(destination, errno, "the file is read-only");
        }
    }

    fs::path temporary;
    if (Result<void> written = writeTemporaryFile(destination, target, writeContent, temporary);
        !written.ok()) {
        return written;
    }
    if (replacesFile) {
        fs::permissions(temporary, previous.permissions(), fs::perm_options::replace, ec);
    }
    ec = replaceFile(temporary, target);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return failed(destination, ec, {});
    }
    syncDirectory(target.parent_path());
    return {};
}

}  // namespace pw
