#include "AtomicFile.h"

#include "FileError.h"
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
    return CoreError(FileError::CannotSave, destination, code, {}, 0,
                     code ? std::string() : std::move(fallback));
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
    const Result<void> written = writeToDisk(file.get(), writeContent);
    errno = 0;
    const bool closed = std::fclose(file.release()) == 0;
    if (!written) {
        return failed(destination, written.error().system, "writing failed");
    }
    if (!closed) {
        return failed(destination, errnoCode(), "closing failed");
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
        if (const Result<void> written = writeToDisk(unnamed.get(), writeContent); !written) {
            // vanishes as it is closed
            return failed(destination, written.error().system, "writing failed");
        }
        for (int attempt = 0; attempt < 8; ++attempt) {
            temporary = temporaryPathBeside(target);
            const Result<void> named = nameUnnamedFile(unnamed.get(), temporary);
            if (named) {
                errno = 0;
                if (std::fclose(unnamed.release()) != 0) {
                    CoreError outcome = failed(destination, errnoCode(), "closing failed");
                    std::error_code ignored;
                    fs::remove(temporary, ignored);
                    return outcome;
                }
                return {};
            }
            if (named.error().system != std::errc::file_exists) {
                break;  // no way to name it here: write a named file instead
            }
        }
    }

    temporary = temporaryPathBeside(target);
    Result<FileHandle> file = openNewFile(temporary);
    for (int attempt = 1; attempt < 8 && !file && file.error().system == std::errc::file_exists;
         ++attempt) {
        temporary = temporaryPathBeside(target);
        file = openNewFile(temporary);
    }
    if (!file) {
        return failed(destination, file.error().system, "the file cannot be created");
    }
    Result<void> outcome = writeAndClose(destination, std::move(*file), writeContent);
    if (!outcome.ok()) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    }
    return outcome;
}

}  // namespace

Result<void> checkFileKind(const fs::path& path)
{
    std::error_code ec;
    if (std::string problem = kindProblem(fs::status(path, ec)); !problem.empty()) {
        return CoreError(FileError::NotARegularFile, path, {}, {}, 0, std::move(problem));
    }
    return {};
}

Result<void> writeToDisk(std::FILE* file, const std::function<bool(std::FILE*)>& writeContent)
{
    errno = 0;
    if (!writeContent(file) || std::fflush(file) != 0) {
        return CoreError(FileError::CannotSave, {}, errnoCode());
    }
    return flushToDisk(file);
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
        if (const Result<void> writable = checkExistingFileWritable(target); !writable) {
            return failed(destination, writable.error().system, "the file is read-only");
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
    if (const Result<void> replaced = replaceFile(temporary, target); !replaced) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return failed(destination, replaced.error().system, {});
    }
    syncDirectory(target.parent_path());
    return {};
}

}  // namespace pw
