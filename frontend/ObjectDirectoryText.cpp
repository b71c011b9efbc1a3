#include "ObjectDirectoryText.h"

#include "QtPaths.h"

#include <algorithm>

namespace pw {

std::optional<CoreError> objectDirectoryFromText(const QString& text, ObjectDirectory& directory)
{
    const QString composed = text.normalized(QString::NormalizationForm_C);
    if (std::any_of(composed.begin(), composed.end(), [](QChar c) { return c.unicode() > 0xFF; }))
        return CoreError{
            ErrorCode::ObjectDirectoryNotLatin1, toFileSystemPath(composed), {}, {}, 0, {}};
    std::string latin1 = toAsciiPath(composed);
    if (std::optional<CoreError> refused = objectDirectoryNameError(latin1))
        return refused;
    directory.name = std::move(latin1);
    return std::nullopt;
}

}  // namespace pw
