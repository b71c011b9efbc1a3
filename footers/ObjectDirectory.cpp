#include "ObjectDirectory.h"

#include "tracklib/PathText.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace pw {

namespace {

// Whether Windows can name a directory so. Elsewhere such a directory is made without complaint,
// and the track then names models that the simulator, a Windows program, cannot open.
bool holdsOnWindows(const std::string& name)
{
    // Each Latin-1 character is one UTF-16 unit, of which a Windows name holds 255.
    if (name.size() > 255)
        return false;
    if (std::any_of(name.begin(), name.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || std::strchr("<>:\"|?*", c) != nullptr;
        }))
        return false;
    if (name.back() == '.' || name.back() == ' ')
        return false;
    // Device names stay devices with any extension: "nul.x" is NUL.
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    std::transform(stem.begin(), stem.end(), stem.begin(), [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    });
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL")
        return false;
    // COM1 to COM9, COM0, and with the Latin-1 superscripts ¹ ² ³ too.
    return !(stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
             std::strchr("0123456789\xB9\xB2\xB3", stem[3]) != nullptr && stem[3] != '\0');
}

}  // namespace

Result<void> checkObjectDirectoryName(const std::string& latin1Name)
{
    // The models would land in objects itself, and every footer would name "/fundament-...".
    if (latin1Name.empty())
        return CoreError{FooterError::ObjectDirectoryEmpty};
    if (latin1Name == "." || latin1Name == ".." ||
        latin1Name.find_first_of("/\\") != std::string::npos) {
        return CoreError{FooterError::ObjectDirectoryNotInside,
                         objectDirectoryPath(ObjectDirectory{latin1Name})};
    }
    if (!holdsOnWindows(latin1Name)) {
        return CoreError{FooterError::ObjectDirectoryNotForWindows,
                         objectDirectoryPath(ObjectDirectory{latin1Name})};
    }
    return {};
}

std::filesystem::path objectsDirectory(const std::filesystem::path& nolimitsDirectory)
{
    std::filesystem::path objects = nolimitsDirectory;
    objects += "/objects";
    return objects;
}

std::filesystem::path modelDirectoryIn(const std::filesystem::path& nolimitsDirectory,
                                       const std::filesystem::path& objectDirectoryName)
{
    std::filesystem::path directory = objectsDirectory(nolimitsDirectory);
    directory += "/";
    directory += objectDirectoryName;
    return directory;
}

std::filesystem::path objectDirectoryPath(const ObjectDirectory& directory)
{
    return pathFromLatin1(directory.name);
}

std::string storedModelPath(const ObjectDirectory& directory, const std::string& modelFile)
{
    return directory.name + "/" + footerModelPrefix + modelFile;
}

std::optional<std::string> footerModelFileOf(const std::string& storedPath)
{
    const std::string marker = std::string("/") + footerModelPrefix;
    const std::size_t at = storedPath.rfind(marker);
    if (at == std::string::npos)
        return std::nullopt;
    return storedPath.substr(at + marker.size());
}

std::string proposedObjectDirectoryName(const std::filesystem::path& trackFile)
{
    const std::string name = pathText(trackFile.filename());
    return name.substr(0, name.find('.'));
}

}  // namespace pw
