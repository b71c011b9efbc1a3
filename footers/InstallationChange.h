#pragma once
// What a generation did to the simulator's objects directory, kept so that it can be undone and
// done again: undone, a model copy that replaced a file of other content puts that file back, and a
// copy where there was none is removed (with the directories the generation made, once empty);
// redone, the copies are made again. Like TrackChange, the change holds the side the disk does not:
// while applied, the files the copies replaced; while undone, the copies.
//
// A step keeps at most stepFileBytesLimit of files in memory on either side. A file that does not
// fit, or that a symbolic link stood for, is left as it stands by undo and redo (notKept() says so
// from the start). Before it touches a file, undo and redo check that it still holds what the step
// left there (its length and hash); a file changed since by anyone else is left as it is. Neither
// ever writes outside the NoLimits directory: objects and its model directory are checked again.

#include "FileDigest.h"
#include "InstallTarget.h"
#include "tracklib/CoreError.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace pw {

// Real footer models take a few hundred kilobytes; a step keeps no more than this of files on
// either side, so that an undo history of many steps stays small.
inline constexpr std::uintmax_t stepFileBytesLimit = std::uintmax_t{16} << 20;

class InstallationChange {
public:
    // A change of nothing.
    InstallationChange() = default;

    // Each gives the files it left as they stood, and why (FooterError warnings, or the error of
    // a directory no longer inside the NoLimits directory). Undo only while applied, redo only
    // while undone; otherwise nothing happens.
    std::vector<CoreError> undo();
    std::vector<CoreError> redo();
    bool isApplied() const { return applied_; }

    // The files undo and redo leave as they are from the start, with the reason.
    const std::vector<CoreError>& notKept() const { return notKept_; }
    // Whether undo has any file to put back or remove.
    bool changesFiles() const { return !files_.empty(); }
    // The memory the change holds: the files it keeps and its own arrays.
    std::size_t heldBytes() const;

    // Noted by installFooterModels, in this order, while it installs.
    // The directories the models go to, and whether the installation made them.
    void noteTarget(const InstallTarget& target, bool madeObjects, bool madeDirectory);
    // A copy about to replace what stands at `destination` (nothing, or a file it differs from:
    // `replacesDifferent`), read now while it is still there.
    void noteCopy(const std::filesystem::path& destination, const FileDigest& copy,
                  bool replacesDifferent);

private:
    struct ChangedFile {
        std::filesystem::path path;
        FileDigest applied;                // the copy
        std::optional<FileDigest> undone;  // none: no file there before
        std::vector<std::uint8_t> held;    // the side not on the disk, when it is a file
        bool leftAlone = false;            // changed by someone else, or could not be written
    };
    // Moves one file from the side it is on to the other; a warning when it is left instead.
    std::optional<CoreError> move(ChangedFile& file, bool toUndone);
    std::vector<CoreError> checkDirectories() const;
    void dropEmptyDirectories() const;
    std::optional<CoreError> remakeDirectories() const;

    InstallTarget target_;
    bool madeObjects_ = false;
    bool madeDirectory_ = false;
    std::vector<ChangedFile> files_;
    std::vector<CoreError> notKept_;
    std::uintmax_t keptBefore_ = 0;  // the earlier files held while applied
    std::uintmax_t keptCopies_ = 0;  // the copies held while undone
    bool applied_ = true;
};

}  // namespace pw
