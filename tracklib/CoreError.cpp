#include "CoreError.h"

#include "PathText.h"

#include <cerrno>
#include <ostream>

namespace pw {

namespace {

// Built by appending: GCC 12 warns falsely (-Wrestrict) about a literal added to a temporary.
std::string quoted(const std::filesystem::path& path)
{
    if (path.empty())
        return "standard input";
    std::string text = "\"";
    text += pathText(path);
    text += '"';
    return text;
}

// Our own words for a failure the system gave no reason for.
std::string ownReason(const CoreError& error)
{
    switch (error.code) {
    case ErrorCode::CannotOpen: return "it cannot be opened for reading";
    case ErrorCode::OpenedADirectory: return "it is a directory";
    case ErrorCode::FileTooLarge:
        return "at " + std::to_string(error.size) + " bytes it is too large for a track file";
    case ErrorCode::StreamTooLarge:
        return "it holds more than " + std::to_string(error.size) +
               " bytes, too large for a track file";
    case ErrorCode::NoMemoryToRead: return "not enough memory to read it";
    case ErrorCode::NoTrackData: return "it holds no track data";
    case ErrorCode::PlanFormatUnknown: return "a plan is written as .svg or .png";
    case ErrorCode::PlanSvgUnavailable:
        return "SVG output is not available in this build; write a .png";
    case ErrorCode::NotADirectory: return "it is not a directory";
    case ErrorCode::ModelNotThreeDs: return "it is not a 3ds model";
    default: return "failed";
    }
}

}  // namespace

std::string errorReason(const CoreError& error)
{
    if (error.system)
        return error.system.message();
    return error.detail.empty() ? ownReason(error) : error.detail;
}

std::error_code errnoCode()
{
    return errno != 0 ? std::error_code(errno, std::generic_category()) : std::error_code();
}

std::string errorText(const CoreError& error)
{
    switch (error.code) {
    case ErrorCode::CannotOpen:
    case ErrorCode::OpenedADirectory:
    case ErrorCode::FileTooLarge:
    case ErrorCode::StreamTooLarge:
    case ErrorCode::NoMemoryToRead:
    case ErrorCode::NoTrackData:
        return "Cannot open " + quoted(error.path) + ": " + errorReason(error);
    case ErrorCode::CannotSave:
    case ErrorCode::PlanFormatUnknown:
    case ErrorCode::PlanSvgUnavailable:
        return "Cannot save " + quoted(error.path) + ": " + errorReason(error);
    case ErrorCode::CannotCreateDirectory:
        return "Cannot create directory " + quoted(error.path) + ": " + errorReason(error);
    case ErrorCode::CannotCopy:
        return "Cannot copy " + quoted(error.path) + " to " + quoted(error.otherPath) + ": " +
               errorReason(error);
    case ErrorCode::ModelTooLargeToCopy:
        return "Cannot copy " + quoted(error.path) + ": " + errorReason(error);
    case ErrorCode::NoMemoryToGenerate:
        return "there is not enough memory to generate the footers of this track";
    case ErrorCode::NotADirectory:
        return "Cannot use " + quoted(error.path) + ": " + errorReason(error);
    case ErrorCode::DirectoryIsALink:
        return "Cannot install the footer models into " + quoted(error.path) +
               ": it is a symbolic link, and the models stay inside the NoLimits directory " +
               quoted(error.otherPath);
    case ErrorCode::DirectoryOutsideNolimits:
        return "Cannot install the footer models into " + quoted(error.path) +
               ": it lies outside the NoLimits directory " + quoted(error.otherPath);
    case ErrorCode::ModelNotThreeDs:
        return "Cannot use the footer model " + quoted(error.path) + ": " + errorReason(error);
    case ErrorCode::ModelBeyondReadingBounds:
        return "the footer model " + quoted(error.path) + " goes beyond what Plinthwright reads (" +
               errorReason(error) +
               "): it is installed all the same, and the plans draw its footers as 1 m squares";
    case ErrorCode::NothingToPlace:
        return "nothing to place: no support tube of a size class with a footer model stands on "
               "a fundament";
    case ErrorCode::NoModelDirectory: return "no footer model directory is chosen";
    case ErrorCode::NoModelChosen:
        return "nothing to place: no size class has a footer model from " + quoted(error.path) +
               " chosen";
    case ErrorCode::ModelMissing:
        return "the chosen footer model " + quoted(error.path) + " is not there";
    case ErrorCode::ObjectDirectoryNotLatin1:
        return "Cannot store the object directory name " + quoted(error.path) +
               " in the track: a track holds Latin-1 characters only (letters of Western European "
               "languages, digits and punctuation)";
    case ErrorCode::ObjectDirectoryNotInside:
        return "Cannot use the object directory name " + quoted(error.path) +
               ": it must name one directory inside the simulator's objects directory (no / or \\, "
               "and not . or ..)";
    case ErrorCode::ObjectDirectoryNotForWindows:
        return "Cannot use the object directory name " + quoted(error.path) +
               ": Windows cannot hold it, so the simulator would not find the models there (no < "
               "> : \" | ? * or control characters, no dot or space at the end, at most 255 "
               "characters, and not a device name such as CON, NUL, COM1 or LPT1)";
    case ErrorCode::ObjectDirectoryEmpty:
        return "no object directory name is given: the footer models go into a directory of "
               "their own inside the simulator's objects directory";
    case ErrorCode::ObjectDirectoryTooLong:
        return "Cannot use the object directory name " + quoted(error.path) +
               ": it is longer than the " + std::to_string(error.size) +
               " bytes this file system takes in a name";
    }
    return quoted(error.path) + ": " + errorReason(error);
}

std::ostream& operator<<(std::ostream& out, const CoreError& error)
{
    return out << errorText(error);
}

}  // namespace pw
