#include "FooterError.h"

#include "InstallationChange.h"

namespace pw {

namespace {

std::string reason(const CoreError& error)
{
    switch (error.code.as<FooterError>()) {
    case FooterError::NotADirectory: return detailOr(error, "it is not a directory");
    case FooterError::ModelNotThreeDs: return detailOr(error, "it is not a 3ds model");
    case FooterError::SupportNotInTrack: return "the track has no such fundament";
    case FooterError::SupportModelNotChosen: return "its size class has no footer model chosen";
    case FooterError::ModelNotKeptForUndo:
        return detailOr(error, "its " + std::to_string(error.size) + " bytes are more than the " +
                                   std::to_string(stepFileBytesLimit) +
                                   " bytes one step keeps in memory");
    default: return detailOr(error, "failed");
    }
}

std::string text(const CoreError& error)
{
    const std::string path = quotedPath(error.path);
    switch (error.code.as<FooterError>()) {
    case FooterError::CannotCreateDirectory:
        return "Cannot create directory " + path + ": " + errorReason(error);
    case FooterError::CannotCopy:
        return "Cannot copy " + path + " to " + quotedPath(error.otherPath) + ": " +
               errorReason(error);
    case FooterError::ModelTooLargeToCopy: return "Cannot copy " + path + ": " + errorReason(error);
    case FooterError::NoMemoryToGenerate:
        return "there is not enough memory to generate the footers of this track";
    case FooterError::NotADirectory: return "Cannot use " + path + ": " + errorReason(error);
    case FooterError::DirectoryIsALink:
        return "Cannot install the footer models into " + path +
               ": it is a symbolic link, and the models stay inside the NoLimits directory " +
               quotedPath(error.otherPath);
    case FooterError::DirectoryOutsideNolimits:
        return "Cannot install the footer models into " + path +
               ": it lies outside the NoLimits directory " + quotedPath(error.otherPath);
    case FooterError::ModelNotThreeDs:
        return "Cannot use the footer model " + path + ": " + errorReason(error);
    case FooterError::ModelBeyondReadingBounds:
        return "the footer model " + path + " goes beyond what Plinthwright reads (" +
               errorReason(error) +
               "): it is installed all the same, and the plans draw its footers as 1 m squares";
    case FooterError::NothingToPlace:
        return "nothing to place: no support tube of a size class with a footer model stands on "
               "a fundament";
    case FooterError::EarlierFootersNotOnFundaments: {
        const bool one = error.size == 1;
        return "nothing to place: " +
               (one ? std::string("the footer placed before stands where its fundament was "
                                  "replaced by a free node")
                    : "the " + std::to_string(error.size) +
                          " footers placed before stand where their fundaments were replaced by "
                          "free nodes") +
               ", so no footer can be placed there again, and no other support tube of a size "
               "class with a footer model stands on a fundament; " +
               (one ? "it stays as it is (to place it anew"
                    : "they stay as they are (to place them anew") +
               ", generate from the track as it was before)";
    }
    case FooterError::SupportNotInTrack:
        return "there is no support " + std::to_string(static_cast<std::int64_t>(error.size)) +
               ": " + error.detail;
    case FooterError::SupportModelNotChosen:
        return "support " + std::to_string(error.size) + " is to get the " + error.detail +
               " footer model, and no " + error.detail + " footer model is chosen";
    case FooterError::NoModelDirectory: return "no footer model directory is chosen";
    case FooterError::NoModelChosen:
        return "nothing to place: no size class has a footer model from " + path + " chosen";
    case FooterError::ModelMissing: return "the chosen footer model " + path + " is not there";
    case FooterError::ObjectDirectoryNotLatin1:
        return "Cannot store the object directory name " + path +
               " in the track: a track holds Latin-1 characters only (letters of Western European "
               "languages, digits and punctuation)";
    case FooterError::ObjectDirectoryNotInside:
        return "Cannot use the object directory name " + path +
               ": it must name one directory inside the simulator's objects directory (no / or \\, "
               "and not . or ..)";
    case FooterError::ObjectDirectoryNotForWindows:
        return "Cannot use the object directory name " + path +
               ": Windows cannot hold it, so the simulator would not find the models there (no < "
               "> : \" | ? * or control characters, no dot or space at the end, at most 255 "
               "characters, and not a device name such as CON, NUL, COM1 or LPT1)";
    case FooterError::ObjectDirectoryEmpty:
        return "no object directory name is given: the footer models go into a directory of "
               "their own inside the simulator's objects directory";
    case FooterError::ObjectDirectoryTooLong:
        return "Cannot use the object directory name " + path + ": it is longer than the " +
               std::to_string(error.size) + " bytes this file system takes in a name";
    case FooterError::ModelChangedSince:
        return "Left " + path + " as it is: it has been changed since the footers were generated";
    case FooterError::ModelNotKeptForUndo:
        return "Undo and redo leave " + path + " as it is: " + errorReason(error);
    case FooterError::CannotRestoreModel:
        return "Cannot restore " + path + ": " + errorReason(error);
    }
    return path + ": " + errorReason(error);
}

constexpr ErrorRoom footers{text, reason};

}  // namespace

const ErrorRoom& errorRoom(FooterError) { return footers; }

CoreError supportNotInTrack(std::int64_t index, std::size_t fundamentCount)
{
    std::string has = fundamentCount == 0 ? std::string("the track has no fundament")
                      : fundamentCount == 1
                          ? std::string("the track has one fundament, numbered 0")
                          : "the track has " + std::to_string(fundamentCount) +
                                " fundaments, numbered 0 to " + std::to_string(fundamentCount - 1);
    // The size holds the index's bits, a negative one included.
    return CoreError{FooterError::SupportNotInTrack,
                     {},
                     {},
                     {},
                     static_cast<std::uint64_t>(index),
                     std::move(has)};
}

}  // namespace pw
