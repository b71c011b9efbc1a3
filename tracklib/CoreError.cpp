#include "CoreError.h"

#include "PathText.h"

namespace pw {

std::string errorText(const CoreError& error)
{
    const std::string path = "\"" + pathText(error.path) + "\"";
    switch (error.code) {
    case ErrorCode::CannotCreateDirectory:
        return "Cannot create directory " + path + ": " + error.system.message();
    case ErrorCode::CannotCopy:
        return "Cannot copy " + path + " to \"" + pathText(error.otherPath) + "\": " +
               error.system.message();
    case ErrorCode::ObjectDirectoryNotLatin1:
        return "Cannot store the object directory name " + path +
               " in the track: a track holds Latin-1 characters only (letters of Western European "
               "languages, digits and punctuation)";
    case ErrorCode::ObjectDirectoryNotInside:
        return "Cannot use the object directory name " + path +
               ": it must name one directory inside the simulator's objects directory (no / or \\, "
               "and not . or ..)";
    }
    return path;
}

}  // namespace pw
